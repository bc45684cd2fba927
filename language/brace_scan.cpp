#include "language/brace_scan.h"

#include "language/script_lexer.h"

#include <QVarLengthArray>

#include <optional>

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

using ScriptLexer::skipBlanks;
using ScriptLexer::wordEnd;

// What a whole line is with respect to comments, looked at from its first character.
enum class LineShape { Code, LineComment, OpensBlockComment, ClosesBlockComment, Empty };

LineShape shapeOf(QStringView line, int &textStart)
{
    textStart = ScriptLexer::linePrefixLength(line);
    const int first = skipBlanks(line, textStart);
    const QStringView rest = line.sliced(first);
    if (rest.isEmpty())
        return LineShape::Empty;
    if (rest.startsWith(u"/*"))
        return LineShape::OpensBlockComment;
    if (rest.startsWith(u"*/"))
        return LineShape::ClosesBlockComment;
    if (rest[0] == u';')
        return LineShape::LineComment;
    return LineShape::Code;
}

using Columns = QVarLengthArray<int, 8>;

// Most lines hold no brace at all: a quick look spares them the word-by-word scan.
bool hasBraceCharacter(QStringView line)
{
    for (QChar c : line) {
        if (c == u'{' || c == u'}')
            return true;
    }
    return false;
}

// The block braces of a code line, left to right.
Columns blockBraces(QStringView line, int textStart)
{
    return ScriptLexer::codeLayout(line, textStart).braces;
}

int indentation(QStringView line, int textStart)
{
    return skipBlanks(line, textStart) - textStart;
}

QChar partnerOf(QChar c)
{
    switch (c.unicode()) {
    case u'{':
        return u'}';
    case u'}':
        return u'{';
    case u'(':
        return u')';
    case u')':
        return u'(';
    case u'[':
        return u']';
    case u']':
        return u'[';
    default:
        return {};
    }
}

bool opens(QChar c)
{
    return c == u'{' || c == u'(' || c == u'[';
}

// ( ) or [ ] within one line's code, outside its comments.
BracketMatch partnerInLine(QStringView line, int lineIndex, int column, const ScriptLexer::CodeLayout &layout,
                           int textStart)
{
    const QChar bracket = line[column];
    const QChar partner = partnerOf(bracket);
    const int step = opens(bracket) ? 1 : -1;
    int depth = 0;
    for (int i = column; i >= textStart && i < line.size(); i += step) {
        if (layout.inComment(i))
            continue;
        if (line[i] == bracket)
            ++depth;
        else if (line[i] == partner && --depth == 0)
            return {BracketMatch::Matched, lineIndex, i};
    }
    return {BracketMatch::Unmatched, -1, -1};
}

// Block braces across lines, forwards or backwards, skipping comment lines and /* */ blocks.
BracketMatch blockPartner(const LineSource &text, int startLine, int column, int reach)
{
    const bool forward = text.line(startLine)[column] == u'{';
    const int step = forward ? 1 : -1;
    int depth = 0;
    bool inBlockComment = false;
    for (int n = startLine, scanned = 0; n >= 0 && n < text.lineCount(); n += step, ++scanned) {
        if (scanned > reach)
            return {BracketMatch::BeyondReach, -1, -1};
        const QString line = text.line(n);
        int textStart = 0;
        const LineShape shape = shapeOf(line, textStart);
        if (n != startLine) {
            if (inBlockComment) {
                if (shape == (forward ? LineShape::ClosesBlockComment : LineShape::OpensBlockComment))
                    inBlockComment = false;
                continue;
            }
            if (shape == (forward ? LineShape::OpensBlockComment : LineShape::ClosesBlockComment)) {
                inBlockComment = true;
                continue;
            }
            if (shape != LineShape::Code || !hasBraceCharacter(line))
                continue;
        }
        const Columns braces = blockBraces(line, textStart);
        for (qsizetype k = forward ? 0 : braces.size() - 1; k >= 0 && k < braces.size(); k += step) {
            const int i = braces[k];
            if (n == startLine && (forward ? i < column : i > column))
                continue;
            if (opens(line[i]) == forward)
                ++depth;
            else if (--depth == 0)
                return {BracketMatch::Matched, n, i};
        }
    }
    return {BracketMatch::Unmatched, -1, -1};
}

// A line at the left margin that starts a new block: while a { is open, it shows that a } is
// missing above it.
bool startsBlockAtMargin(QStringView line, int textStart)
{
    if (textStart >= line.size() || isBlank(line[textStart]))
        return false;
    const int end = wordEnd(line, textStart);
    const QStringView word = line.sliced(textStart, end - textStart);
    const QStringView rest = line.sliced(end).trimmed();
    const auto is = [word](QStringView keyword) { return word.compare(keyword, Qt::CaseInsensitive) == 0; };
    // An event header's level and fields come right after the keyword ("raw 352:*", "on *:TEXT:"),
    // where the command raw has switches or words ("raw -q PRIVMSG #chan :text").
    if (is(u"on") || is(u"ctcp") || is(u"raw"))
        return !rest.startsWith(u'-') && rest.first(wordEnd(rest, 0)).contains(u':');
    if (is(u"alias") || is(u"menu") || is(u"dialog"))
        return rest.endsWith(u'{');
    if (word.size() > 1 && word[0] == u'#') {
        const QStringView state = rest.first(wordEnd(rest, 0));
        return state.compare(u"on", Qt::CaseInsensitive) == 0 || state.compare(u"off", Qt::CaseInsensitive) == 0
            || state.compare(u"end", Qt::CaseInsensitive) == 0;
    }
    return false;
}

// Whether the ( at i opens an identifier's arguments or a condition: "$name(", "$(",
// "if (", "elseif (", "while (".
bool opensStructuralParenthesis(QStringView line, int i, int textStart)
{
    int j = i;
    while (j > textStart && (line[j - 1].isLetterOrNumber() || QStringView(u"._-").contains(line[j - 1])))
        --j;
    if (j > textStart && line[j - 1] == u'$')
        return true;
    if (j < i)
        return false;
    // "( " after a condition keyword and blanks.
    int wordEndAt = i;
    while (wordEndAt > textStart && isBlank(line[wordEndAt - 1]))
        --wordEndAt;
    int wordStart = wordEndAt;
    while (wordStart > textStart && !isBlank(line[wordStart - 1]))
        --wordStart;
    QStringView word = line.sliced(wordStart, wordEndAt - wordStart);
    while (!word.isEmpty() && (word[0] == u'/' || word[0] == u'!' || word[0] == u'.'))
        word = word.sliced(1);
    return word.compare(u"if", Qt::CaseInsensitive) == 0 || word.compare(u"elseif", Qt::CaseInsensitive) == 0
        || word.compare(u"while", Qt::CaseInsensitive) == 0;
}

struct OpenBrace {
    int line;
    int column;
    int indent;
};

} // namespace

namespace BraceScan {

int bracketBesideCaret(QStringView line, int caret)
{
    const auto isBracket = [](QChar c) { return !partnerOf(c).isNull(); };
    if (caret >= 0 && caret < line.size() && isBracket(line[caret]))
        return caret;
    if (caret > 0 && caret <= line.size() && isBracket(line[caret - 1]))
        return caret - 1;
    return -1;
}

BracketMatch findPartner(const LineSource &text, int line, int column, int reach)
{
    if (line < 0 || line >= text.lineCount())
        return {};
    const QString content = text.line(line);
    if (column < 0 || column >= content.size() || partnerOf(content[column]).isNull())
        return {};
    int textStart = 0;
    if (shapeOf(content, textStart) != LineShape::Code || column < textStart)
        return {};
    const ScriptLexer::CodeLayout layout = ScriptLexer::codeLayout(content, textStart);
    if (layout.inComment(column))
        return {};
    const QChar c = content[column];
    if (c == u'{' || c == u'}') {
        if (!layout.braces.contains(column))
            return {};
        return blockPartner(text, line, column, reach);
    }
    return partnerInLine(content, line, column, layout, textStart);
}

BraceCheck checkBraces(const LineSource &text)
{
    QList<OpenBrace> open;
    // A } that does not line up with its { (by indentation) hints that the { lacks its own }
    // and this } belongs to the enclosing block: the suspect. When the enclosing block's own }
    // then lines up, the hint was mere untidiness; when it does not, the hint holds.
    std::optional<OpenBrace> suspect;
    qsizetype suspectParent = -1; // index in open of the block the suspect's } was taken from
    const auto weighAlignment = [&open, &suspect, &suspectParent](const OpenBrace &opener, int indent) {
        const bool aligned = opener.indent == indent;
        if (suspect && open.size() == suspectParent) {
            if (aligned)
                suspect.reset();
            else
                suspectParent = open.size() - 1;
        } else if (!suspect && !aligned && !open.isEmpty()) {
            suspect = opener;
            suspectParent = open.size() - 1;
        }
    };
    // A } that closes a top-level block out of line with its {: where a { went missing inside the
    // block, this } closed the block early, and a later } then closes nothing. That later } is
    // far from the fault; this one is named instead. A new block at the margin forgets it.
    std::optional<OpenBrace> earlyClose;
    QList<OpenBrace> parentheses;     // carried across lines joined by $&
    bool inBlockComment = false;

    const auto unclosed = [&open, &suspect]() {
        const OpenBrace &brace = suspect ? *suspect : open.constLast();
        return BraceCheck{BraceCheck::UnclosedBrace, brace.line, brace.column};
    };

    for (int n = 0; n < text.lineCount(); ++n) {
        const QString line = text.line(n);
        int textStart = 0;
        const LineShape shape = shapeOf(line, textStart);
        if (inBlockComment) {
            inBlockComment = shape != LineShape::ClosesBlockComment;
            continue;
        }
        if (shape == LineShape::OpensBlockComment) {
            inBlockComment = true;
            continue;
        }
        if (shape != LineShape::Code)
            continue;
        if (startsBlockAtMargin(line, textStart)) {
            if (!open.isEmpty())
                return unclosed();
            earlyClose.reset();
        }

        const int indent = indentation(line, textStart);
        const ScriptLexer::CodeLayout layout = ScriptLexer::codeLayout(line, textStart);
        qsizetype nextBrace = 0;
        for (int i = textStart; i < line.size(); ++i) {
            const QChar c = line[i];
            if (nextBrace < layout.braces.size() && layout.braces[nextBrace] == i) {
                ++nextBrace;
                if (c == u'{') {
                    if (open.isEmpty() && indent == 0)
                        earlyClose.reset();
                    open.append({n, i, indent});
                    continue;
                }
                if (open.isEmpty()) {
                    const OpenBrace &named = earlyClose ? *earlyClose : OpenBrace{n, i, indent};
                    return {BraceCheck::UnexpectedClose, named.line, named.column};
                }
                const OpenBrace opener = open.takeLast();
                if (opener.line != n)
                    weighAlignment(opener, indent);
                if (open.isEmpty() && opener.line != n && opener.indent != indent)
                    earlyClose = OpenBrace{n, i, indent};
            } else if (layout.inComment(i)) {
                continue;
            } else if (c == u'(' && (!parentheses.isEmpty() || opensStructuralParenthesis(line, i, textStart))) {
                parentheses.append({n, i, 0});
            } else if (c == u')' && !parentheses.isEmpty()) {
                parentheses.removeLast();
            }
        }
        if (!parentheses.isEmpty() && !line.trimmed().endsWith(u"$&")) {
            const OpenBrace &first = parentheses.constFirst();
            return {BraceCheck::UnclosedParenthesis, first.line, first.column};
        }
        if (open.isEmpty())
            suspect.reset();
    }
    if (!open.isEmpty())
        return unclosed();
    return {};
}

} // namespace BraceScan
