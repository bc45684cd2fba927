#include "editor/find_replace.h"

namespace FindReplace {

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

namespace {

// QChar::toLower for every UTF-16 code unit, looked up rather than computed in the search loops.
const char16_t *lowerCaseTable()
{
    static const auto table = [] {
        auto *lower = new char16_t[0x10000];
        for (char32_t u = 0; u < 0x10000; ++u)
            lower[u] = char16_t(QChar::toLower(u));
        return lower;
    }();
    return table;
}

} // namespace

void lowerInto(QStringView text, QString &out)
{
    const char16_t *lower = lowerCaseTable();
    out.resize(text.size());
    const char16_t *from = text.utf16();
    char16_t *to = reinterpret_cast<char16_t *>(out.data());
    for (qsizetype i = 0, n = text.size(); i < n; ++i)
        to[i] = lower[from[i]];
}

QString lowered(QStringView text)
{
    QString out;
    lowerInto(text, out);
    return out;
}

QString fieldText(const QString &text)
{
    return text.left(kMaxFieldLength);
}

Pattern::Pattern(QStringView text, const Options &options)
    : m_text(options.matchCase ? text.toString() : lowered(text)),
      m_matchCase(options.matchCase),
      m_wholeWord(options.wholeWord),
      m_spansLines(text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')))
{
}

QStringView Pattern::searchable(QStringView text, qsizetype from, qsizetype to) const
{
    const QStringView part = text.sliced(from, to - from);
    if (m_matchCase)
        return part;
    lowerInto(part, m_scratch);
    return m_scratch;
}

bool Pattern::isWholeWordAt(QStringView text, qsizetype at) const
{
    const qsizetype end = at + m_text.size();
    return (at == 0 || !isWordCharacter(text[at - 1])) && (end == text.size() || !isWordCharacter(text[end]));
}

qsizetype Pattern::firstMatch(QStringView text, QStringView hay, qsizetype base, qsizetype from) const
{
    for (qsizetype i = hay.indexOf(m_text, from - base); i >= 0; i = hay.indexOf(m_text, i + 1)) {
        if (!m_wholeWord || isWholeWordAt(text, base + i))
            return base + i;
    }
    return -1;
}

qsizetype Pattern::lastMatch(QStringView text, QStringView hay, qsizetype base, qsizetype end) const
{
    for (qsizetype i = end - base - m_text.size(); i >= 0; --i) {
        i = hay.lastIndexOf(m_text, i);
        if (i < 0)
            break;
        if (!m_wholeWord || isWholeWordAt(text, base + i))
            return base + i;
    }
    return -1;
}

namespace {

// Without case, the text is lowered piece by piece as the search goes, so that a near match
// costs little; the pieces grow so that a far one costs few rounds.
constexpr qsizetype kFirstPiece = 16 * 1024;
constexpr qsizetype kLargestPiece = 1024 * 1024;

} // namespace

qsizetype Pattern::indexIn(QStringView text, qsizetype from) const
{
    const qsizetype length = m_text.size();
    from = qMax<qsizetype>(0, from);
    if (length == 0)
        return -1;
    if (m_matchCase)
        return from + length > text.size() ? -1 : firstMatch(text, text, 0, from);
    // Each piece overlaps the next by length - 1 characters, so that it examines every match
    // starting inside it.
    for (qsizetype begin = from, piece = kFirstPiece; begin + length <= text.size();
         begin += piece, piece = qMin(piece * 2, kLargestPiece)) {
        const qsizetype end = qMin(text.size(), begin + piece + length - 1);
        const qsizetype at = firstMatch(text, searchable(text, begin, end), begin, begin);
        if (at >= 0 || end == text.size())
            return at;
    }
    return -1;
}

qsizetype Pattern::lastIndexIn(QStringView text, qsizetype end) const
{
    const qsizetype length = m_text.size();
    end = qMin(end, text.size());
    if (length == 0 || end < length)
        return -1;
    if (m_matchCase)
        return lastMatch(text, text, 0, end);
    for (qsizetype stop = end, piece = kFirstPiece; stop >= length;
         stop -= piece, piece = qMin(piece * 2, kLargestPiece)) {
        const qsizetype begin = qMax<qsizetype>(0, stop - piece - length + 1);
        const qsizetype at = lastMatch(text, searchable(text, begin, stop), begin, stop);
        if (at >= 0 || begin == 0)
            return at;
    }
    return -1;
}

QList<qsizetype> Pattern::allIn(QStringView text) const
{
    QList<qsizetype> found;
    if (m_text.isEmpty())
        return found;
    const QStringView hay = searchable(text, 0, text.size());
    for (qsizetype at = firstMatch(text, hay, 0, 0); at >= 0; at = firstMatch(text, hay, 0, at + m_text.size()))
        found.append(at);
    return found;
}

qsizetype searchOrigin(Selection selection, Direction direction)
{
    return direction == Direction::Up ? selection.start : selection.start + selection.length;
}

std::optional<Selection> findStep(QStringView text, Selection selection, QStringView what, const Options &options)
{
    const Pattern pattern(what, options);
    const qsizetype origin = qBound<qsizetype>(0, searchOrigin(selection, options.direction), text.size());
    const qsizetype at = options.direction == Direction::Up ? pattern.lastIndexIn(text, origin)
                                                            : pattern.indexIn(text, origin);
    if (at < 0)
        return std::nullopt;
    return Selection{at, pattern.length()};
}

std::optional<Replacement> replaceStep(Selection selection, const QString &replacement)
{
    if (selection.length == 0)
        return std::nullopt;
    return Replacement{selection.start, selection.length, replacement};
}

QList<qsizetype> occurrences(QStringView text, QStringView what, const Options &options)
{
    return Pattern(what, options).allIn(text);
}

ReplaceAllResult replaceAll(QStringView text, QStringView what, QStringView replacement, const Options &options)
{
    const QList<qsizetype> found = occurrences(text, what, options);
    ReplaceAllResult result;
    result.count = found.size();
    result.text.reserve(text.size() + found.size() * (replacement.size() - what.size()));
    qsizetype copied = 0;
    for (qsizetype at : found) {
        result.text.append(text.sliced(copied, at - copied));
        result.text.append(replacement);
        copied = at + what.size();
    }
    result.text.append(text.sliced(copied));
    return result;
}

} // namespace FindReplace
