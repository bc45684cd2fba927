#include "language/script_lexer.h"

#include "language/script_vocabulary.h"

#include <algorithm>

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Letters (any script), digits and '_': what names are made of.
bool isNameStart(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'_';
    return c.isLetterOrNumber();
}

// Inside a name also '.' and '-': $use.skill, %attack.target, $skill.konzen-ittai.
bool isNameChar(QChar c)
{
    return isNameStart(c) || c == u'.' || c == u'-';
}

bool isControlCode(QChar c)
{
    switch (c.unicode()) {
    case 0x02:
    case 0x03:
    case 0x0F:
    case 0x16:
    case 0x1D:
    case 0x1F:
        return true;
    default:
        return false;
    }
}

bool equalsFolded(QStringView a, QStringView lowerB)
{
    return a.compare(lowerB, Qt::CaseInsensitive) == 0;
}

// The number of fields an "on" header holds after its event's name, from the event's syntax row;
// -1 for an event mIRC does not document.
int eventFieldCount(QStringView event)
{
    const VocabularyEntry *entry = ScriptVocabulary::instance().find(WordKind::Event, event);
    return entry ? entry->fields : -1;
}

// One line's classification: a cursor over the line that appends tokens. The block braces come
// from ScriptLexer::codeLayout, as the brace check counts them; each stretch between two braces is
// read up to the next brace and no further, so that no header or label swallows one.
class LineLexer {
public:
    LineLexer(QStringView line, LexerState state, QList<ScriptToken> *tokens, QList<int> *commandStarts)
        : m_line(line), m_size(int(line.size())), m_lineEnd(int(line.size())), m_state(state), m_tokens(tokens),
          m_commandStarts(commandStarts)
    {
    }

    LexerState run();

private:
    // Tokens ------------------------------------------------------------------------------------
    void add(int start, int length, TokenKind kind);
    // Plain text of a given kind from..to, control codes kept apart.
    void fill(int from, int to, TokenKind kind);
    int controlCodeEnd(int i) const;

    // Line shapes --------------------------------------------------------------------------------
    bool blockCommentLine(int first);
    void lineShape(int first, bool continued);
    void afterBrace(int from);
    void topLevelLine(int first);
    void sectionLine(int first);
    void menuItemLine(int first);
    void dialogTableLine(int first);

    // Top-level pieces ---------------------------------------------------------------------------
    void aliasHeader(int afterKeyword);
    void aliasSectionLine(int first);
    void eventHeader(int afterKeyword, int fieldsAfterLevel, bool namedEvent);
    int fieldEnd(int from, bool regex) const;
    void namedBlock(int afterKeyword, LexerState::Block block);
    void groupLine(int first);
    void headerFields(int from, int to);

    // Code ---------------------------------------------------------------------------------------
    void code(int from, bool expectCommand);
    void body(int from);
    int comment(int from);
    int command(int from, bool &expectCommand);
    int condition(int from);
    int expressionWord(int from, int to);
    int expressionChar(int i, int to);
    int identifier(int i);
    int knownIdentifierEnd(int nameStart, int nameEnd);
    void notePropertyAfterArguments(const VocabularyEntry &entry, int open);
    int nameEnd(int i) const;

    // Braces, words ------------------------------------------------------------------------------
    bool isWordBoundaryBefore(int i) const { return i <= m_lineStart || isBlank(m_line[i - 1]); }
    bool isWordBoundaryAfter(int i) const { return i + 1 >= m_size || isBlank(m_line[i + 1]); }
    void brace(int column);
    void openBlock(LexerState::Block block);
    void closeBlock();
    int skipBlanks(int i) const;
    int wordEnd(int i) const;
    int colonAt(int from) const;

    QStringView m_line;
    int m_size;    // where the stretch being read ends: the next block brace, or the line's end
    int m_lineEnd; // the line's end
    LexerState m_state;
    QList<ScriptToken> *m_tokens;
    QList<int> *m_commandStarts;
    int m_lineStart = 0; // after an INI "n12=" prefix
    ScriptLexer::CodeLayout m_layout;
    LexerState::Block m_opens = LexerState::Code;       // what a { at the top level opens
    QVarLengthArray<ScriptLexer::LineSpan, 2> m_properties; // ".topic" after "$chan(#)", not yet reached
    ScriptLexer::LineSpan m_regexField{-1, -1};             // "/^!a:b/i" in a "$" event's header
};

void LineLexer::add(int start, int length, TokenKind kind)
{
    if (length <= 0)
        return;
    if (!m_tokens->isEmpty()) {
        ScriptToken &last = m_tokens->last();
        const bool fillKind = kind == TokenKind::Comment || kind == TokenKind::EventHeader;
        if (fillKind && last.kind == kind && last.start + last.length == start) {
            last.length += length;
            return;
        }
    }
    m_tokens->append({start, length, kind});
}

int LineLexer::controlCodeEnd(int i) const
{
    int end = i + 1;
    if (m_line[i] != QChar(0x03))
        return end;
    // Colour: up to two digits of foreground, then ",background" only when a digit follows.
    for (int n = 0; n < 2 && end < m_size && isAsciiDigit(m_line[end]); ++n)
        ++end;
    if (end > i + 1 && end + 1 < m_size && m_line[end] == u',' && isAsciiDigit(m_line[end + 1])) {
        ++end;
        for (int n = 0; n < 2 && end < m_size && isAsciiDigit(m_line[end]); ++n)
            ++end;
    }
    return end;
}

void LineLexer::fill(int from, int to, TokenKind kind)
{
    int start = from;
    for (int i = from; i < to; ++i) {
        if (!isControlCode(m_line[i]))
            continue;
        add(start, i - start, kind);
        const int end = std::min(controlCodeEnd(i), to);
        add(i, end - i, TokenKind::ControlCode);
        start = end;
        i = end - 1;
    }
    add(start, to - start, kind);
}

int LineLexer::skipBlanks(int i) const
{
    while (i < m_size && isBlank(m_line[i]))
        ++i;
    return i;
}

int LineLexer::wordEnd(int i) const
{
    while (i < m_size && !isBlank(m_line[i]))
        ++i;
    return i;
}

int LineLexer::colonAt(int from) const
{
    for (int i = from; i < m_size; ++i) {
        if (m_line[i] == u':')
            return i;
    }
    return -1;
}

void LineLexer::brace(int column)
{
    if (m_line[column] == u'{')
        openBlock(m_state.depth == 0 ? m_opens : LexerState::Code);
    else
        closeBlock();
}

void LineLexer::openBlock(LexerState::Block block)
{
    if (m_state.depth == 0)
        m_state.block = block;
    if (m_state.depth < 0xFFFF)
        ++m_state.depth;
}

void LineLexer::closeBlock()
{
    if (m_state.depth > 0)
        --m_state.depth;
    if (m_state.depth == 0)
        m_state.block = LexerState::TopLevel;
}

LexerState LineLexer::run()
{
    const bool continued = m_state.continued();
    m_state.flags &= ~LexerState::Continued;

    // INI-format scripts: "n12=" before the line itself.
    m_lineStart = ScriptLexer::linePrefixLength(m_line);
    add(0, m_lineStart, TokenKind::LinePrefix);
    const int first = skipBlanks(m_lineStart);

    if (m_state.inBlockComment()) {
        if (m_line.sliced(first).startsWith(u"*/"))
            m_state.flags &= ~LexerState::InBlockComment;
        fill(first, m_size, TokenKind::Comment);
        return m_state;
    }
    if (first >= m_size)
        return m_state;
    if (blockCommentLine(first))
        return m_state;
    if (m_line[first] == u';') {
        fill(first, m_size, TokenKind::Comment);
        return m_state;
    }

    m_layout = ScriptLexer::codeLayout(m_line, m_lineStart);
    m_size = m_layout.braces.isEmpty() ? m_lineEnd : m_layout.braces.first();
    if (first < m_size)
        lineShape(first, continued);
    for (qsizetype k = 0; k < m_layout.braces.size(); ++k) {
        const int column = m_layout.braces[k];
        m_size = k + 1 < m_layout.braces.size() ? m_layout.braces[k + 1] : m_lineEnd;
        brace(column);
        afterBrace(column + 1);
    }
    m_size = m_lineEnd;

    if (m_line.trimmed().endsWith(u"$&"))
        m_state.flags |= LexerState::Continued;
    return m_state;
}

// mIRC opens a block comment with "/*" first on a line and closes it with a line that starts
// with "*/"; "*/" later on a line closes nothing, and the rest of the closing line is comment too.
bool LineLexer::blockCommentLine(int first)
{
    if (!m_line.sliced(first).startsWith(u"/*"))
        return false;
    m_state.flags |= LexerState::InBlockComment;
    fill(first, m_size, TokenKind::Comment);
    return true;
}

// The line up to its first block brace, read as what the state says the line is.
void LineLexer::lineShape(int first, bool continued)
{
    const bool commentFirst = !m_layout.comments.isEmpty() && m_layout.comments.first().start == first;
    if (commentFirst)
        code(first, true);
    else if (m_state.depth == 0)
        topLevelLine(first);
    else if (m_state.block == LexerState::Menu && m_state.depth == 1 && !continued)
        menuItemLine(first);
    else if (m_state.block == LexerState::Dialog && m_state.depth == 1)
        dialogTableLine(first);
    else
        code(first, !continued);
}

// What follows a block brace on its line: menu items in a menu, table lines in a dialog, and
// statements in a body.
void LineLexer::afterBrace(int from)
{
    const int i = skipBlanks(from);
    const bool items = (m_state.depth == 1 && m_state.block == LexerState::Menu)
        || (m_state.depth == 0 && (m_state.flags & LexerState::PopupSection));
    if (items && i < m_size)
        menuItemLine(i);
    else if (m_state.depth == 1 && m_state.block == LexerState::Dialog && i < m_size)
        dialogTableLine(i);
    else
        code(from, true);
}

void LineLexer::topLevelLine(int first)
{
    const int end = wordEnd(first);
    const QStringView word = m_line.sliced(first, end - first);
    const QChar c = m_line[first];

    // A section stands alone on its line: a brace before its "]" makes it something else.
    if (c == u'[' && m_line.trimmed().endsWith(u']')
        && m_line.sliced(first, m_size - first).trimmed().endsWith(u']')) {
        sectionLine(first);
    } else if (m_state.flags & LexerState::PopupSection) {
        menuItemLine(first);
    } else if (m_state.flags & LexerState::AliasSection) {
        aliasSectionLine(first);
    } else if (equalsFolded(word, u"alias")) {
        add(first, end - first, TokenKind::Keyword);
        aliasHeader(end);
    } else if (equalsFolded(word, u"on")) {
        add(first, end - first, TokenKind::Keyword);
        eventHeader(end, 1, true);
    } else if (equalsFolded(word, u"ctcp")) {
        add(first, end - first, TokenKind::Keyword);
        eventHeader(end, 3, false);
    } else if (equalsFolded(word, u"raw")) {
        add(first, end - first, TokenKind::Keyword);
        eventHeader(end, 2, false);
    } else if (equalsFolded(word, u"menu")) {
        add(first, end - first, TokenKind::Keyword);
        namedBlock(end, LexerState::Menu);
    } else if (equalsFolded(word, u"dialog")) {
        add(first, end - first, TokenKind::Keyword);
        namedBlock(end, LexerState::Dialog);
    } else if (c == u'#' && end - first > 1) {
        groupLine(first);
    } else if (isNameStart(c) && !isAsciiDigit(c)) {
        // The aliases file form: "name commands".
        add(first, end - first, TokenKind::BlockName);
        body(end);
    } else {
        code(first, false);
    }
}

// An INI section, "[script]", "[aliases]", "[mpopup]": what the lines after it hold.
void LineLexer::sectionLine(int first)
{
    int last = m_size;
    while (isBlank(m_line[last - 1]))
        --last;
    add(first, last - first, TokenKind::Keyword);
    const QStringView name = m_line.sliced(first + 1, last - first - 2).trimmed();
    m_state.flags &= ~(LexerState::PopupSection | LexerState::AliasSection);
    if (name.endsWith(u"popup", Qt::CaseInsensitive) || equalsFolded(name, u"popups"))
        m_state.flags |= LexerState::PopupSection;
    else if (equalsFolded(name, u"aliases"))
        m_state.flags |= LexerState::AliasSection;
}

// "alias -l name commands", "alias name {".
void LineLexer::aliasHeader(int afterKeyword)
{
    int i = skipBlanks(afterKeyword);
    if (i < m_size && m_line[i] == u'-') // alias -l name
        i = skipBlanks(wordEnd(i));
    if (i >= m_size)
        return;
    const int end = wordEnd(i);
    add(i, end - i, TokenKind::BlockName);
    body(end);
}

// A line of an [aliases] section: "/name commands".
void LineLexer::aliasSectionLine(int first)
{
    const int end = wordEnd(first);
    const int nameStart = m_line[first] == u'/' ? first + 1 : first;
    if (nameStart >= end || !isNameStart(m_line[nameStart])) {
        code(first, false);
        return;
    }
    add(first, end - first, TokenKind::BlockName);
    body(end);
}

// Where the header field that starts at from ends: its colon, or -1. A regular expression's
// match text ("$*:TEXT:/^!a:b/i:#:") keeps the colons between its slashes.
int LineLexer::fieldEnd(int from, bool regex) const
{
    int i = from;
    if (regex && i < m_size && m_line[i] == u'/') {
        for (++i; i < m_size && m_line[i] != u'/'; ++i) {
            if (m_line[i] == u'\\')
                ++i;
        }
    }
    return colonAt(std::min(i, m_size));
}

// "on <level>:<event>:<fields>:", "ctcp <level>:<match>:<target>:", "raw <numeric>:<match>:".
// fieldsAfterLevel counts the fields after the level for ctcp and raw, and the event name for on.
// A header whose fields stop at a block brace ("raw 352:* {") ends there.
void LineLexer::eventHeader(int afterKeyword, int fieldsAfterLevel, bool namedEvent)
{
    const int start = skipBlanks(afterKeyword);
    if (start >= m_size)
        return;
    int i = start;
    int colon = colonAt(i);
    if (colon < 0) {
        fill(start, m_size, TokenKind::EventHeader);
        return;
    }
    // "me:" before the level belongs to it.
    if (equalsFolded(m_line.sliced(i, colon - i), u"me")) {
        const int levelColon = colonAt(colon + 1);
        if (levelColon > 0)
            colon = levelColon;
    }
    const bool regex = m_line.sliced(start, colon - start).contains(u'$');
    int headerEnd = colon + 1;

    int fields = fieldsAfterLevel;
    if (namedEvent) {
        const int eventStart = headerEnd;
        const int eventEnd = colonAt(eventStart);
        const int nameEnd = eventEnd < 0 ? wordEnd(eventStart) : eventEnd;
        const QStringView event = m_line.sliced(eventStart, nameEnd - eventStart);
        fill(start, eventStart, TokenKind::EventHeader);
        const bool known = ScriptVocabulary::instance().contains(WordKind::Event, event);
        add(eventStart, nameEnd - eventStart, known ? TokenKind::Event : TokenKind::UnknownEvent);
        if (eventEnd < 0) {
            code(nameEnd, false);
            return;
        }
        add(eventEnd, 1, TokenKind::EventHeader);
        headerEnd = eventEnd + 1;
        fields = eventFieldCount(event);
        i = headerEnd;
        // "on 1:OPEN:=:" for DCC chat windows has no match text.
        if (equalsFolded(event, u"open") && i < m_size && m_line[i] == u'=')
            fields = 1;
    } else {
        i = headerEnd;
        --fields;
    }

    if (fields < 0) {
        // No known format: the fields run to the first colon followed by a blank or a brace.
        int c = colonAt(i);
        int last = -1;
        while (c >= 0) {
            last = c;
            if (c + 1 >= m_size || isBlank(m_line[c + 1]) || m_line[c + 1] == u'{')
                break;
            c = colonAt(c + 1);
        }
        if (last >= 0)
            headerEnd = last + 1;
    } else {
        for (int f = 0; f < fields; ++f) {
            if (regex && headerEnd < m_size && m_line[headerEnd] == u'/')
                m_regexField = {headerEnd, std::max(headerEnd, fieldEnd(headerEnd, regex))};
            const int c = fieldEnd(headerEnd, regex);
            if (c < 0) {
                // Fields missing: the header is still being written, or it stops at its brace.
                int end = m_size;
                while (end > headerEnd && isBlank(m_line[end - 1]))
                    --end;
                headerEnd = end;
                break;
            }
            headerEnd = c + 1;
        }
    }

    headerFields(namedEvent ? i : start, headerEnd);
    body(headerEnd);
}

// Header text, where a field may hold a $identifier or a %variable; a regular expression is
// header text throughout.
void LineLexer::headerFields(int from, int to)
{
    for (int j = from; j < to;) {
        const QChar c = m_line[j];
        int next = j;
        if (j == m_regexField.start && m_regexField.end > j) {
            fill(j, std::min(m_regexField.end, to), TokenKind::EventHeader);
            j = std::min(m_regexField.end, to);
            continue;
        }
        if (c == u'$')
            next = std::min(identifier(j), to);
        else if (c == u'%' || isControlCode(c))
            next = expressionChar(j, to);
        if (next > j) {
            j = next;
            continue;
        }
        add(j, 1, TokenKind::EventHeader);
        ++j;
    }
}

void LineLexer::namedBlock(int afterKeyword, LexerState::Block block)
{
    m_opens = block;
    int i = skipBlanks(afterKeyword);
    if (block == LexerState::Dialog && i < m_size && m_line[i] == u'-') // dialog -l name
        i = skipBlanks(wordEnd(i));
    if (i < m_size) {
        const int end = wordEnd(i);
        add(i, end - i, TokenKind::BlockName);
    }
}

// "#name on", "#name off", "#name end".
void LineLexer::groupLine(int first)
{
    const int end = wordEnd(first);
    add(first, end - first, TokenKind::Keyword);
    const int i = skipBlanks(end);
    const int stateEnd = wordEnd(i);
    const QStringView word = m_line.sliced(i, stateEnd - i);
    if (equalsFolded(word, u"on") || equalsFolded(word, u"off") || equalsFolded(word, u"end"))
        add(i, stateEnd - i, TokenKind::Keyword);
}

// "label:commands" in a menu; the label may hold identifiers such as $iif(...). "label {" opens
// the item's block.
void LineLexer::menuItemLine(int first)
{
    int depth = 0;
    int colon = -1;
    for (int i = first; i < m_size; ++i) {
        const QChar c = m_line[i];
        if (c == u'(')
            ++depth;
        else if (c == u')')
            depth = std::max(0, depth - 1);
        else if (c == u':' && depth == 0) {
            colon = i;
            break;
        }
    }
    const int labelEnd = colon < 0 ? m_size : colon;
    for (int i = first; i < labelEnd;)
        i = std::max(i + 1, expressionChar(i, labelEnd));
    if (colon >= 0)
        code(colon + 1, true);
}

void LineLexer::dialogTableLine(int first)
{
    const int end = wordEnd(first);
    if (ScriptVocabulary::instance().contains(WordKind::DialogItem, m_line.sliced(first, end - first)))
        add(first, end - first, TokenKind::Keyword);
    for (int i = end; i < m_size;)
        i = std::max(i + 1, expressionChar(i, m_size));
}

// Statements: a command word where one may stand, then its arguments; " | " separates.
void LineLexer::code(int from, bool expectCommand)
{
    int i = from;
    while (true) {
        i = skipBlanks(i);
        if (i >= m_size) {
            if (expectCommand && m_commandStarts && i >= m_lineEnd)
                m_commandStarts->append(i);
            return;
        }
        const QChar c = m_line[i];
        if (c == u'|' && isWordBoundaryBefore(i) && isWordBoundaryAfter(i)) {
            expectCommand = true;
            ++i;
            continue;
        }
        if (expectCommand) {
            if (m_commandStarts)
                m_commandStarts->append(i);
            if (ScriptLexer::isCommentWord(m_line, i, wordEnd(i))) {
                i = comment(i);
                continue;
            }
            i = command(i, expectCommand);
            continue;
        }
        i = expressionWord(i, wordEnd(i));
    }
}

// The commands after a header on its line, where there are some.
void LineLexer::body(int from)
{
    if (skipBlanks(from) < m_size)
        code(from, true);
}

// A comment statement at from: ";...", "rem ..." up to " | " or a closing "}", "/*..." to the end.
int LineLexer::comment(int from)
{
    const int end = ScriptLexer::commentEnd(m_line, from, m_size);
    fill(from, end, TokenKind::Comment);
    return end;
}

// The word at a command position. Words starting with $ % & # or a digit are no command names:
// "$alias(...)" and "%x = 1" are statements too.
int LineLexer::command(int from, bool &expectCommand)
{
    expectCommand = false;
    int nameStart = from;
    while (nameStart < m_size && (m_line[nameStart] == u'/' || m_line[nameStart] == u'!' || m_line[nameStart] == u'.'))
        ++nameStart;
    const int end = wordEnd(from);
    if (nameStart >= end || !isNameStart(m_line[nameStart]) || isAsciiDigit(m_line[nameStart]))
        return expressionWord(from, end);

    const QStringView name = m_line.sliced(nameStart, end - nameStart);
    const ScriptVocabulary &vocabulary = ScriptVocabulary::instance();
    const bool known = vocabulary.contains(WordKind::Command, name) || name.startsWith(u"timer", Qt::CaseInsensitive);
    add(from, end - from, known ? TokenKind::Command : TokenKind::UnknownCommand);

    if (equalsFolded(name, u"else")) {
        expectCommand = true;
        return end;
    }
    if (equalsFolded(name, u"if") || equalsFolded(name, u"elseif") || equalsFolded(name, u"while")) {
        const int open = skipBlanks(end);
        if (open < m_size && m_line[open] == u'(') {
            const int after = condition(open);
            expectCommand = after >= 0;
            return after >= 0 ? after : m_size;
        }
    }
    return end;
}

// "(...)" after if/elseif/while: its inside, returning the column after the closing ")",
// or -1 when the stretch ends first.
int LineLexer::condition(int from)
{
    int depth = 0;
    int close = -1;
    for (int i = from; i < m_size; ++i) {
        if (m_line[i] == u'(')
            ++depth;
        else if (m_line[i] == u')' && --depth == 0) {
            close = i;
            break;
        }
    }
    const int end = close < 0 ? m_size : close;
    for (int i = from; i < end;)
        i = std::max(i + 1, expressionChar(i, end));
    return close < 0 ? -1 : close + 1;
}

int LineLexer::expressionWord(int from, int to)
{
    for (int i = from; i < to;)
        i = std::max(i + 1, expressionChar(i, to));
    return to;
}

// One token of an argument at i, if one starts there; returns the column after it, or i.
int LineLexer::expressionChar(int i, int to)
{
    const QChar c = m_line[i];
    const QChar before = i > 0 ? m_line[i - 1] : QChar(u' ');
    const bool wordStart = isBlank(before) || before == u'(' || before == u',' || i == 0;

    if (isControlCode(c)) {
        const int end = std::min(controlCodeEnd(i), to);
        add(i, end - i, TokenKind::ControlCode);
        return end;
    }
    switch (c.unicode()) {
    case u'$':
        return std::min(identifier(i), to);
    case u'%': {
        const int end = std::min(nameEnd(i + 1), to);
        if (end == i + 1)
            return i;
        add(i, end - i, TokenKind::Variable);
        return end;
    }
    case u'&': {
        if (!wordStart || i + 1 >= to || !isNameStart(m_line[i + 1]))
            return i;
        const int end = std::min(nameEnd(i + 1), to);
        add(i, end - i, TokenKind::Variable);
        return end;
    }
    case u'#': {
        if (!wordStart && before != u'=')
            return i;
        int end = i + 1;
        while (end < to && !isBlank(m_line[end]) && !QStringView(u",()$%|{}[]").contains(m_line[end])
               && !isControlCode(m_line[end]))
            ++end;
        add(i, end - i, TokenKind::Channel);
        return end;
    }
    case u'.':
        for (const ScriptLexer::LineSpan &property : m_properties) {
            if (property.start == i && property.end <= to) {
                add(i, property.end - i, TokenKind::Identifier);
                return property.end;
            }
        }
        return i;
    default:
        break;
    }

    const bool minus = c == u'-' && i + 1 < to && isAsciiDigit(m_line[i + 1]);
    if ((isAsciiDigit(c) || minus) && !isNameStart(before) && before != u'.') {
        int end = i + 1;
        while (end < to && isAsciiDigit(m_line[end]))
            ++end;
        if (end + 1 < to && m_line[end] == u'.' && isAsciiDigit(m_line[end + 1])) {
            end += 2;
            while (end < to && isAsciiDigit(m_line[end]))
                ++end;
        }
        if (end < m_size && (isNameStart(m_line[end]) || m_line[end] == u'.'))
            return end; // part of a word such as 3rd or 1.2.3: plain text
        add(i, end - i, TokenKind::Number);
        return end;
    }
    if (isNameStart(c)) {
        // Skip the rest of a plain word (file2.txt, x-1), so that digits inside it are no numbers.
        int end = i + 1;
        while (end < to && isNameChar(m_line[end]))
            ++end;
        return end;
    }
    return i;
}

int LineLexer::nameEnd(int i) const
{
    if (i >= m_size || !isNameStart(m_line[i]))
        return i;
    while (i < m_size && isNameChar(m_line[i]))
        ++i;
    return i;
}

// Where a known identifier written from nameStart ends, or -1: the name itself, the name before
// a sentence's full stop ("$nick."), a name with one of its properties ("$mouse.x"), or the
// folder identifiers written together with a file name ("$scriptdirsettings.ini").
int LineLexer::knownIdentifierEnd(int nameStart, int nameEnd)
{
    const ScriptVocabulary &vocabulary = ScriptVocabulary::instance();
    int end = nameEnd;
    while (end > nameStart + 1 && m_line[end - 1] == u'.')
        --end;
    const QStringView name = m_line.sliced(nameStart, end - nameStart);
    if (const VocabularyEntry *entry = vocabulary.find(WordKind::Identifier, name)) {
        if (end < m_size && m_line[end] == u'(')
            notePropertyAfterArguments(*entry, end);
        return end;
    }
    const qsizetype dot = name.indexOf(u'.');
    if (dot > 0) {
        const VocabularyEntry *entry = vocabulary.find(WordKind::Identifier, name.first(dot));
        QStringView property = name.sliced(dot + 1);
        property = property.first(property.indexOf(u'.') < 0 ? property.size() : property.indexOf(u'.'));
        if (entry && entry->hasProperty(property))
            return nameStart + int(dot + 1 + property.size());
    }
    for (QStringView folder : {QStringView(u"scriptdir"), QStringView(u"mircdir")}) {
        if (name.size() > folder.size() && name.startsWith(folder, Qt::CaseInsensitive))
            return nameStart + int(folder.size());
    }
    return -1;
}

// "$chan(#).topic": the property after the closing parenthesis, coloured when it is reached.
void LineLexer::notePropertyAfterArguments(const VocabularyEntry &entry, int open)
{
    if (entry.properties.isEmpty())
        return;
    int depth = 0;
    for (int i = open; i < m_size; ++i) {
        if (m_line[i] == u'(') {
            ++depth;
        } else if (m_line[i] == u')' && --depth == 0) {
            if (i + 2 >= m_size || m_line[i + 1] != u'.')
                return;
            int end = i + 2;
            while (end < m_size && isNameStart(m_line[end]))
                ++end;
            if (entry.hasProperty(m_line.sliced(i + 2, end - i - 2)))
                m_properties.append({i + 1, end});
            return;
        }
    }
}

// $name, $name(...)'s name, $$1, $1-, $2-5, $!name, $~name, $+, $?="...", $!, $&, $(...).
int LineLexer::identifier(int i)
{
    int j = i + 1;
    if (j < m_size && m_line[j] == u'$')
        ++j;
    if (j + 1 < m_size && (m_line[j] == u'!' || m_line[j] == u'~') && isNameStart(m_line[j + 1]))
        ++j;

    if (j < m_size && isAsciiDigit(m_line[j])) {
        int end = j;
        while (end < m_size && isAsciiDigit(m_line[end]))
            ++end;
        if (end < m_size && m_line[end] == u'-') {
            ++end;
            while (end < m_size && isAsciiDigit(m_line[end]))
                ++end;
        }
        add(i, end - i, TokenKind::Identifier);
        return end;
    }
    if (j < m_size && isNameStart(m_line[j])) {
        const int end = nameEnd(j);
        const int known = knownIdentifierEnd(j, end);
        if (known >= 0) {
            add(i, known - i, TokenKind::Identifier);
            return known;
        }
        add(i, end - i, TokenKind::CustomIdentifier);
        return end;
    }
    if (j < m_size && QStringView(u"+?&!*").contains(m_line[j])) {
        int end = j + 1;
        if (m_line[j] == u'?') {
            while (end < m_size && QStringView(u"*!=").contains(m_line[end]))
                ++end;
        }
        add(i, end - i, TokenKind::Identifier);
        return end;
    }
    if (j < m_size && m_line[j] == u'(') {
        add(i, j - i, TokenKind::Identifier); // $(...) evaluates its argument
        return j;
    }
    add(i, j - i, TokenKind::CustomIdentifier); // a lone "$" being typed
    return j;
}

} // namespace

LexerState LexerState::unpacked(int value)
{
    LexerState state;
    if (value < 0)
        return state;
    state.depth = quint16(value & 0xFFFF);
    state.block = Block((value >> 16) & 0xFF);
    state.flags = quint8((value >> 24) & 0x7F);
    return state;
}

namespace ScriptLexer {

int linePrefixLength(QStringView line)
{
    if (line.size() < 3 || (line[0] != u'n' && line[0] != u'N') || !isAsciiDigit(line[1]))
        return 0;
    int i = 1;
    while (i < line.size() && isAsciiDigit(line[i]))
        ++i;
    return i < line.size() && line[i] == u'=' ? i + 1 : 0;
}

bool CodeLayout::inComment(int column) const
{
    for (const LineSpan &span : comments) {
        if (column >= span.start && column < span.end)
            return true;
    }
    return false;
}

bool isCommentWord(QStringView line, int i, int end)
{
    if (i >= end)
        return false;
    if (line[i] == u';' || (line[i] == u'/' && i + 1 < end && line[i + 1] == u'*'))
        return true;
    int nameStart = i;
    while (nameStart < end && (line[nameStart] == u'/' || line[nameStart] == u'!' || line[nameStart] == u'.'))
        ++nameStart;
    const auto is = [line](int at, char16_t lower) { return (line[at].unicode() | 0x20) == lower; };
    return end - nameStart == 3 && is(nameStart, u'r') && is(nameStart + 1, u'e') && is(nameStart + 2, u'm');
}

int commentEnd(QStringView line, int i, int limit)
{
    if (line.sliced(i).startsWith(u"/*"))
        return limit;
    for (int j = skipBlanks(line, wordEnd(line, i)); j < limit; j = skipBlanks(line, wordEnd(line, j))) {
        const int end = wordEnd(line, j);
        if (end == j + 1 && (line[j] == u'|' || line[j] == u'}'))
            return j;
    }
    return limit;
}

CodeLayout codeLayout(QStringView line, int lineStart)
{
    CodeLayout layout;
    const int size = int(line.size());
    // Most lines hold neither a brace nor a comment: a look at their characters is enough.
    // The characters that may make one: { } ; * (of "/*") and r R (of rem).
    constexpr quint64 kLow = quint64(1) << ';' | quint64(1) << '*';
    constexpr quint64 kHigh = quint64(1) << ('{' - 64) | quint64(1) << ('}' - 64) | quint64(1) << ('r' - 64)
        | quint64(1) << ('R' - 64);
    bool mayHold = false;
    for (int i = lineStart; i < size && !mayHold; ++i) {
        const char16_t c = line[i].unicode();
        if (c >= 128 || !((c < 64 ? kLow >> c : kHigh >> (c - 64)) & 1))
            continue;
        mayHold = (c | 0x20) != u'r'
            || (i + 2 < size && (line[i + 1].unicode() | 0x20) == u'e' && (line[i + 2].unicode() | 0x20) == u'm');
    }
    if (!mayHold)
        return layout;
    bool statementStart = true;
    for (int i = skipBlanks(line, lineStart); i < size;) {
        const int end = wordEnd(line, i);
        const char16_t first = line[i].unicode();
        const bool mayComment =
            first == u';' || first == u'/' || first == u'.' || first == u'!' || (first | 0x20) == u'r';
        if (statementStart && mayComment && isCommentWord(line, i, end)) {
            const int commentStop = commentEnd(line, i, size);
            layout.comments.append({i, commentStop});
            i = commentStop;
            continue;
        }
        // A brace is the word's last character: a "{" standing alone or after a colon, a "}" alone.
        const char16_t last = line[end - 1].unicode();
        const bool alone = end == i + 1;
        if ((last == u'{' && (alone || line[end - 2] == u':')) || (last == u'}' && alone)) {
            layout.braces.append(end - 1);
            statementStart = true;
        } else {
            statementStart = alone && first == u'|';
        }
        i = skipBlanks(line, end);
    }
    return layout;
}

LexerState classifyLine(QStringView line, LexerState state, QList<ScriptToken> *tokens, QList<int> *commandStarts)
{
    QList<ScriptToken> scratch;
    LineLexer lexer(line, state, tokens ? tokens : &scratch, commandStarts);
    return lexer.run();
}

QList<ScriptToken> tokensOf(QStringView line, LexerState state)
{
    QList<ScriptToken> tokens;
    classifyLine(line, state, &tokens);
    return tokens;
}

LexerState stateAfter(const QStringList &lines, LexerState state)
{
    QList<ScriptToken> tokens;
    for (const QString &line : lines) {
        tokens.clear();
        state = classifyLine(line, state, &tokens);
    }
    return state;
}

} // namespace ScriptLexer
