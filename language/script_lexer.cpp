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

// How many fields follow the event name in an "on" header (the target, the match text, ...),
// from mIRC's event formats; -1 where the catalogue lists no format here.
int eventFieldCount(QStringView event)
{
    struct Format {
        const char16_t *name;
        int fields;
    };
    static constexpr Format formats[] = {
        {u"action", 2},    {u"active", 1},     {u"agent", 0},      {u"appactive", 0},  {u"ban", 1},
        {u"chat", 1},      {u"close", 1},      {u"connect", 0},    {u"ctcpreply", 1},  {u"dccserver", 1},
        {u"dehelp", 1},    {u"deop", 1},       {u"devoice", 1},    {u"dialog", 3},     {u"disconnect", 0},
        {u"dns", 0},       {u"error", 1},      {u"exit", 0},       {u"filercvd", 1},   {u"filesent", 1},
        {u"getfail", 1},   {u"help", 1},       {u"hotlink", 2},    {u"input", 1},      {u"invite", 1},
        {u"join", 1},      {u"keydown", 2},    {u"keyup", 2},      {u"kick", 1},       {u"load", 0},
        {u"logon", 1},     {u"midiend", 0},    {u"mode", 1},       {u"mp3end", 0},     {u"nick", 0},
        {u"nosound", 0},   {u"notice", 2},     {u"notify", 0},     {u"op", 1},         {u"open", 2},
        {u"part", 1},      {u"ping", 0},       {u"playend", 0},    {u"pong", 0},       {u"quit", 0},
        {u"rawmode", 1},   {u"sendfail", 1},   {u"serv", 1},       {u"servermode", 1}, {u"serverop", 1},
        {u"signal", 1},    {u"snotice", 1},    {u"sockclose", 1},  {u"socklisten", 1}, {u"sockopen", 1},
        {u"sockread", 1},  {u"sockwrite", 1},  {u"start", 0},      {u"text", 2},       {u"topic", 1},
        {u"udpread", 1},   {u"unban", 1},      {u"unload", 0},     {u"unotify", 0},    {u"usermode", 0},
        {u"vcmd", 1},      {u"voice", 1},      {u"wallops", 1},    {u"waveend", 0},
    };
    for (const Format &format : formats) {
        if (equalsFolded(event, QStringView(format.name)))
            return format.fields;
    }
    return -1;
}

// One line's classification: a cursor over the line that appends tokens.
class LineLexer {
public:
    LineLexer(QStringView line, LexerState state, QList<ScriptToken> *tokens, QList<int> *commandStarts)
        : m_line(line), m_size(int(line.size())), m_state(state), m_tokens(tokens), m_commandStarts(commandStarts)
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
    void topLevelLine(int first);
    void menuItemLine(int first);
    void dialogTableLine(int first);

    // Top-level pieces ---------------------------------------------------------------------------
    void aliasHeader(int afterKeyword);
    void eventHeader(int afterKeyword, int fieldsAfterLevel, bool namedEvent);
    void namedBlock(int afterKeyword, LexerState::Block block);
    void groupLine(int first);
    void headerFields(int from, int to);
    void bodyAfterHeader(int from);

    // Code ---------------------------------------------------------------------------------------
    void code(int from, bool expectCommand);
    int command(int from, bool &expectCommand);
    int condition(int from);
    int expressionWord(int from, int to);
    int expressionChar(int i, int to);
    int identifier(int i);
    int nameEnd(int i) const;

    // Braces, words ------------------------------------------------------------------------------
    bool isWordBoundaryBefore(int i) const { return i <= m_lineStart || isBlank(m_line[i - 1]); }
    bool isWordBoundaryAfter(int i) const { return i + 1 >= m_size || isBlank(m_line[i + 1]); }
    bool isBlockBrace(int i) const;
    void openBlock(LexerState::Block block);
    void closeBlock();
    int skipBlanks(int i) const;
    int wordEnd(int i) const;

    QStringView m_line;
    int m_size;
    LexerState m_state;
    QList<ScriptToken> *m_tokens;
    QList<int> *m_commandStarts;
    int m_lineStart = 0; // after an INI "n12=" prefix
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

bool LineLexer::isBlockBrace(int i) const
{
    return ScriptLexer::isBlockBrace(m_line, i, m_lineStart);
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

    if (m_state.depth == 0)
        topLevelLine(first);
    else if (m_state.block == LexerState::Menu && m_state.depth == 1 && !continued)
        menuItemLine(first);
    else if (m_state.block == LexerState::Dialog && m_state.depth == 1)
        dialogTableLine(first);
    else
        code(first, !continued);

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

void LineLexer::topLevelLine(int first)
{
    const int end = wordEnd(first);
    const QStringView word = m_line.sliced(first, end - first);
    const QChar c = m_line[first];

    if (equalsFolded(word, u"alias")) {
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
    } else if (c == u'[' && m_line.trimmed().endsWith(u']')) {
        int last = m_size;
        while (isBlank(m_line[last - 1]))
            --last;
        add(first, last - first, TokenKind::Keyword); // an INI section: [script], [aliases]
    } else if (isBlockBrace(first)) {
        code(first, true);
    } else if (isNameStart(c) && !isAsciiDigit(c)) {
        // The aliases file form: "name commands".
        add(first, end - first, TokenKind::BlockName);
        bodyAfterHeader(end);
    } else {
        code(first, false);
    }
}

void LineLexer::aliasHeader(int afterKeyword)
{
    int i = skipBlanks(afterKeyword);
    if (i < m_size && m_line[i] == u'-') // alias -l name
        i = skipBlanks(wordEnd(i));
    if (i >= m_size)
        return;
    if (isBlockBrace(i)) {
        bodyAfterHeader(i);
        return;
    }
    const int end = wordEnd(i);
    add(i, end - i, TokenKind::BlockName);
    bodyAfterHeader(end);
}

// The rest of a header line: "{" opens the body, anything else is a one-line body.
void LineLexer::bodyAfterHeader(int from)
{
    const int i = skipBlanks(from);
    if (i >= m_size)
        return;
    if (isBlockBrace(i) && m_line[i] == u'{') {
        openBlock(LexerState::Code);
        code(i + 1, true);
        return;
    }
    code(i, true);
}

// "on <level>:<event>:<fields>:", "ctcp <level>:<match>:<target>:", "raw <numeric>:<match>:".
// fieldsAfterLevel counts the fields after the level for ctcp and raw, and the event name for on.
void LineLexer::eventHeader(int afterKeyword, int fieldsAfterLevel, bool namedEvent)
{
    const int start = skipBlanks(afterKeyword);
    int i = start;
    auto nextColon = [this](int from) { return int(m_line.indexOf(u':', from)); };

    int colon = nextColon(i);
    if (colon < 0) {
        fill(start, m_size, TokenKind::EventHeader);
        return;
    }
    // "me:" before the level belongs to it.
    if (equalsFolded(m_line.sliced(i, colon - i), u"me")) {
        const int levelColon = nextColon(colon + 1);
        if (levelColon > 0)
            colon = levelColon;
    }
    int headerEnd = colon + 1;

    int fields = fieldsAfterLevel;
    if (namedEvent) {
        const int eventStart = headerEnd;
        const int eventEnd = nextColon(eventStart);
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
        int c = nextColon(i);
        int last = -1;
        while (c >= 0) {
            last = c;
            if (c + 1 >= m_size || isBlank(m_line[c + 1]) || m_line[c + 1] == u'{')
                break;
            c = nextColon(c + 1);
        }
        if (last >= 0)
            headerEnd = last + 1;
    } else {
        for (int f = 0; f < fields; ++f) {
            const int c = nextColon(headerEnd);
            if (c < 0) {
                // Fields missing: the header is still being written, so the rest belongs to it.
                headerEnd = m_size;
                break;
            }
            headerEnd = c + 1;
        }
    }

    headerFields(namedEvent ? i : start, headerEnd);
    bodyAfterHeader(headerEnd);
}

// Header text, where a field may hold a $identifier or a %variable.
void LineLexer::headerFields(int from, int to)
{
    for (int j = from; j < to;) {
        const QChar c = m_line[j];
        int next = j;
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
    int i = skipBlanks(afterKeyword);
    if (block == LexerState::Dialog && i < m_size && m_line[i] == u'-') // dialog -l name
        i = skipBlanks(wordEnd(i));
    if (i < m_size && !isBlockBrace(i)) {
        const int end = wordEnd(i);
        add(i, end - i, TokenKind::BlockName);
        i = skipBlanks(end);
    }
    if (i < m_size && isBlockBrace(i) && m_line[i] == u'{') {
        openBlock(block);
        i = skipBlanks(i + 1);
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

// "label:commands" in a menu; the label may hold identifiers such as $iif(...).
void LineLexer::menuItemLine(int first)
{
    if (isBlockBrace(first) && m_line[first] == u'}') {
        code(first, true);
        return;
    }
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
    if (isBlockBrace(first)) {
        code(first, true);
        return;
    }
    const int end = wordEnd(first);
    if (ScriptVocabulary::instance().contains(WordKind::DialogItem, m_line.sliced(first, end - first)))
        add(first, end - first, TokenKind::Keyword);
    for (int i = end; i < m_size;)
        i = std::max(i + 1, expressionChar(i, m_size));
}

// Statements: a command word where one may stand, then its arguments; " | " separates,
// "{" and "}" standing as words open and close blocks.
void LineLexer::code(int from, bool expectCommand)
{
    int i = from;
    while (true) {
        i = skipBlanks(i);
        if (i >= m_size) {
            if (expectCommand && m_commandStarts)
                m_commandStarts->append(i);
            return;
        }
        const QChar c = m_line[i];
        if (isBlockBrace(i)) {
            if (c == u'{')
                openBlock(LexerState::Code);
            else
                closeBlock();
            expectCommand = true;
            ++i;
            continue;
        }
        if (c == u'|' && isWordBoundaryBefore(i) && isWordBoundaryAfter(i)) {
            expectCommand = true;
            ++i;
            continue;
        }
        if (expectCommand) {
            if (m_commandStarts)
                m_commandStarts->append(i);
            if (c == u';' || m_line.sliced(i).startsWith(u"/*")) {
                fill(i, m_size, TokenKind::Comment);
                return;
            }
            i = command(i, expectCommand);
            continue;
        }
        i = expressionWord(i, wordEnd(i));
    }
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
// or -1 when the line ends first.
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
        int end = nameEnd(j);
        const ScriptVocabulary &vocabulary = ScriptVocabulary::instance();
        bool known = vocabulary.contains(WordKind::Identifier, m_line.sliced(j, end - j));
        if (!known && m_line[end - 1] == u'.') {
            // "$nick." at the end of a sentence.
            int trimmed = end;
            while (trimmed > j && m_line[trimmed - 1] == u'.')
                --trimmed;
            if (trimmed > j && vocabulary.contains(WordKind::Identifier, m_line.sliced(j, trimmed - j))) {
                known = true;
                end = trimmed;
            }
        }
        add(i, end - i, known ? TokenKind::Identifier : TokenKind::CustomIdentifier);
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

bool isBlockBrace(QStringView line, int i, int lineStart)
{
    const auto blankAt = [line](int at) { return line[at] == u' ' || line[at] == u'\t'; };
    const bool endsWord = i + 1 >= line.size() || blankAt(i + 1);
    const bool startsWord = i <= lineStart || blankAt(i - 1);
    if (line[i] == u'{')
        return endsWord && (startsWord || line[i - 1] == u':');
    if (line[i] == u'}')
        return endsWord && startsWord;
    return false;
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
