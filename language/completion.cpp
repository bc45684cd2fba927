#include "language/completion.h"

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isCommandPrefix(QChar c)
{
    return c == u'/' || c == u'!' || c == u'.';
}

// The column where the name of a command or identifier token starts, past its sigils.
int nameStart(QStringView line, const ScriptToken &token)
{
    int i = token.start;
    const int end = token.start + token.length;
    if (token.kind == TokenKind::Command || token.kind == TokenKind::UnknownCommand) {
        while (i < end && isCommandPrefix(line[i]))
            ++i;
        return i;
    }
    while (i < end && line[i] == u'$')
        ++i;
    if (i + 1 < end && (line[i] == u'!' || line[i] == u'~'))
        ++i;
    return i;
}

bool isCommandToken(TokenKind kind)
{
    return kind == TokenKind::Command || kind == TokenKind::UnknownCommand;
}

bool isIdentifierToken(TokenKind kind)
{
    return kind == TokenKind::Identifier || kind == TokenKind::CustomIdentifier;
}

// The token that holds column or ends at it; a token starting at column wins over one ending there.
const ScriptToken *tokenAt(const QList<ScriptToken> &tokens, int column)
{
    const ScriptToken *ending = nullptr;
    for (const ScriptToken &token : tokens) {
        if (token.start <= column && column < token.start + token.length)
            return &token;
        if (token.start + token.length == column)
            ending = &token;
    }
    return ending;
}

// The event field of an "on" header at the top level: [start, end) on the line, or start -1.
std::pair<int, int> eventField(QStringView line, LexerState state)
{
    if (state.depth != 0 || state.inBlockComment())
        return {-1, -1};
    int i = ScriptLexer::linePrefixLength(line);
    while (i < line.size() && isBlank(line[i]))
        ++i;
    if (line.sliced(i).left(3).compare(u"on ", Qt::CaseInsensitive) != 0)
        return {-1, -1};
    const int levelStart = i + 3;
    int colon = int(line.indexOf(u':', levelStart));
    if (colon < 0)
        return {-1, -1};
    if (line.sliced(levelStart, colon - levelStart).trimmed().compare(u"me", Qt::CaseInsensitive) == 0) {
        const int levelColon = int(line.indexOf(u':', colon + 1));
        if (levelColon < 0)
            return {-1, -1};
        colon = levelColon;
    }
    const int start = colon + 1;
    int end = start;
    while (end < line.size() && line[end] != u':' && !isBlank(line[end]))
        ++end;
    return {start, end};
}

WordKind wordKindOf(TypedWord::Context context)
{
    switch (context) {
    case TypedWord::Identifier:
        return WordKind::Identifier;
    case TypedWord::Event:
        return WordKind::Event;
    default:
        return WordKind::Command;
    }
}

TypedWord typedWord(TypedWord::Context context, QStringView line, int start, int end, int caret)
{
    TypedWord word;
    word.context = context;
    word.start = start;
    word.length = end - start;
    word.prefix = line.sliced(start, caret - start).toString();
    return word;
}

} // namespace

namespace Completion {

TypedWord wordAtCaret(QStringView line, int caret, LexerState state)
{
    if (caret < 0 || caret > line.size())
        return {};
    // A blank line of a body: a command may be written there, wherever the caret stands in it.
    const int textStart = ScriptLexer::linePrefixLength(line);
    if (caret >= textStart && line.sliced(textStart).trimmed().isEmpty() && state.inBody() && !state.continued()
        && !state.inBlockComment())
        return typedWord(TypedWord::Command, line, caret, caret, caret);
    const auto [eventStart, eventEnd] = eventField(line, state);
    if (eventStart >= 0 && caret >= eventStart && caret <= eventEnd)
        return typedWord(TypedWord::Event, line, eventStart, eventEnd, caret);

    QList<ScriptToken> tokens;
    QList<int> commandStarts;
    ScriptLexer::classifyLine(line, state, &tokens, &commandStarts);

    if (const ScriptToken *token = tokenAt(tokens, caret)) {
        const int start = nameStart(line, *token);
        const int end = token->start + token->length;
        if (caret >= start && isCommandToken(token->kind))
            return typedWord(TypedWord::Command, line, start, end, caret);
        if (caret >= start && isIdentifierToken(token->kind))
            return typedWord(TypedWord::Identifier, line, start, end, caret);
        if (token->kind == TokenKind::Comment)
            return {};
    }

    // Nothing typed yet where a command may stand, perhaps after "/" or "!".
    int commandStart = caret;
    while (commandStart > 0 && isCommandPrefix(line[commandStart - 1]))
        --commandStart;
    const bool free = caret == line.size() || isBlank(line[caret]);
    if (free && commandStarts.contains(commandStart))
        return typedWord(TypedWord::Command, line, caret, caret, caret);
    return {};
}

QList<const VocabularyEntry *> candidates(const TypedWord &word)
{
    if (word.context == TypedWord::None)
        return {};
    return ScriptVocabulary::instance().withPrefix(wordKindOf(word.context), word.prefix);
}

const VocabularyEntry *entryAt(QStringView line, int column, LexerState state)
{
    const ScriptVocabulary &vocabulary = ScriptVocabulary::instance();
    QList<ScriptToken> tokens;
    ScriptLexer::classifyLine(line, state, &tokens);
    const ScriptToken *token = tokenAt(tokens, column);
    if (!token)
        return nullptr;
    const int start = nameStart(line, *token);
    const QStringView name = line.sliced(start, token->start + token->length - start);
    switch (token->kind) {
    case TokenKind::Command:
        if (const VocabularyEntry *entry = vocabulary.find(WordKind::Command, name))
            return entry;
        return vocabulary.find(WordKind::Command, u"timer"); // timer1, timerName
    case TokenKind::Identifier:
        return vocabulary.find(WordKind::Identifier, name);
    case TokenKind::Event:
        return vocabulary.find(WordKind::Event, line.sliced(token->start, token->length));
    case TokenKind::Keyword:
        if (state.block == LexerState::Dialog && state.depth == 1)
            return vocabulary.find(WordKind::DialogItem, line.sliced(token->start, token->length));
        return nullptr;
    default:
        return nullptr;
    }
}

QStringList tipRows(QStringView line, int column, LexerState state)
{
    const VocabularyEntry *entry = entryAt(line, column, state);
    return entry ? entry->tipLines() : QStringList();
}

} // namespace Completion
