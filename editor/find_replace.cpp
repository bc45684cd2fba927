#include "editor/find_replace.h"

#include "common/win1251_codec.h"
#include "editor/script_text.h"

namespace FindReplace {
namespace {

using ByteTable = std::array<uchar, 256>;

const ByteTable &identity()
{
    static const ByteTable table = [] {
        ByteTable t{};
        for (int b = 0; b < 256; ++b)
            t[b] = uchar(b);
        return t;
    }();
    return table;
}

// Each byte's lower case, where the lower-case letter has a byte of its own (it always does in
// this code page: Cyrillic, Latin and the rest keep their lengths).
const ByteTable &lowerCase()
{
    static const ByteTable table = [] {
        ByteTable t{};
        for (int b = 0; b < 256; ++b) {
            const QChar lower = Win1251::toUnicode(uchar(b)).toLower();
            t[b] = Win1251::isEncodable(lower) ? uchar(Win1251::fromUnicode(lower)) : uchar(b);
        }
        return t;
    }();
    return table;
}

const std::array<bool, 256> &wordBytes()
{
    static const std::array<bool, 256> table = [] {
        std::array<bool, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[b] = isWordCharacter(Win1251::toUnicode(uchar(b)));
        return t;
    }();
    return table;
}

QByteArray folded(QByteArray bytes, const ByteTable &fold)
{
    for (char &c : bytes)
        c = char(fold[uchar(c)]);
    return bytes;
}

} // namespace

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

QByteArray loweredBytes(QByteArrayView bytes)
{
    return folded(bytes.toByteArray(), lowerCase());
}

QString fieldText(const QString &text)
{
    return text.left(kMaxFieldLength);
}

Pattern::Pattern(QStringView text, const Options &options)
    : m_wholeWord(options.wholeWord), m_fold(options.matchCase ? &identity() : &lowerCase())
{
    m_bytes = folded(ScriptText::encodedText(text), *m_fold);
    // Horspool's shifts: going down, by the distance of a byte's last place (the final one
    // aside) from the pattern's end; going up, by the distance of its first place (the first
    // one aside) from the pattern's start.
    const qsizetype m = m_bytes.size();
    m_skipForward.fill(m);
    m_skipBackward.fill(m);
    for (qsizetype i = 0; i + 1 < m; ++i)
        m_skipForward[uchar(m_bytes[i])] = m - 1 - i;
    for (qsizetype i = m - 1; i >= 1; --i)
        m_skipBackward[uchar(m_bytes[i])] = i;
}

bool Pattern::isWholeWordAt(QByteArrayView text, qsizetype at) const
{
    const std::array<bool, 256> &word = wordBytes();
    const qsizetype end = at + m_bytes.size();
    return (at == 0 || !word[uchar(text[at - 1])]) && (end == text.size() || !word[uchar(text[end])]);
}

qsizetype Pattern::indexIn(QByteArrayView text, qsizetype from) const
{
    const qsizetype m = m_bytes.size();
    if (m == 0)
        return -1;
    const ByteTable &fold = *m_fold;
    const auto *hay = reinterpret_cast<const uchar *>(text.data());
    const auto *needle = reinterpret_cast<const uchar *>(m_bytes.constData());
    for (qsizetype i = qMax<qsizetype>(0, from); i + m <= text.size();) {
        qsizetype j = m - 1;
        while (fold[hay[i + j]] == needle[j]) {
            if (j == 0) {
                if (!m_wholeWord || isWholeWordAt(text, i))
                    return i;
                break;
            }
            --j;
        }
        // The shift depends on the window's last byte only, so it is safe after a match too.
        i += m_skipForward[fold[hay[i + m - 1]]];
    }
    return -1;
}

qsizetype Pattern::lastIndexIn(QByteArrayView text, qsizetype end) const
{
    const qsizetype m = m_bytes.size();
    if (m == 0)
        return -1;
    const ByteTable &fold = *m_fold;
    const auto *hay = reinterpret_cast<const uchar *>(text.data());
    const auto *needle = reinterpret_cast<const uchar *>(m_bytes.constData());
    for (qsizetype i = qMin(end, text.size()) - m; i >= 0;) {
        qsizetype j = 0;
        while (fold[hay[i + j]] == needle[j]) {
            if (j == m - 1) {
                if (!m_wholeWord || isWholeWordAt(text, i))
                    return i;
                break;
            }
            ++j;
        }
        i -= m_skipBackward[fold[hay[i]]];
    }
    return -1;
}

QList<qsizetype> Pattern::allIn(QByteArrayView text) const
{
    QList<qsizetype> found;
    for (qsizetype at = indexIn(text, 0); at >= 0; at = indexIn(text, at + m_bytes.size()))
        found.append(at);
    return found;
}

qsizetype searchOrigin(Selection selection, Direction direction)
{
    return direction == Direction::Up ? selection.start : selection.start + selection.length;
}

std::optional<Selection> findStep(QByteArrayView text, Selection selection, const Pattern &pattern,
                                  Direction direction)
{
    const qsizetype origin = qBound<qsizetype>(0, searchOrigin(selection, direction), text.size());
    const qsizetype at = direction == Direction::Up ? pattern.lastIndexIn(text, origin) : pattern.indexIn(text, origin);
    if (at < 0)
        return std::nullopt;
    return Selection{at, pattern.length()};
}

std::optional<Selection> findStep(QStringView text, Selection selection, QStringView what, const Options &options)
{
    return findStep(Win1251::encode(text), selection, Pattern(what, options), options.direction);
}

std::optional<Replacement> replaceStep(Selection selection, const QString &replacement)
{
    if (selection.length == 0)
        return std::nullopt;
    return Replacement{selection.start, selection.length, replacement};
}

QList<qsizetype> occurrences(QByteArrayView text, const Pattern &pattern)
{
    return pattern.allIn(text);
}

QList<qsizetype> occurrences(QStringView text, QStringView what, const Options &options)
{
    return occurrences(Win1251::encode(text), Pattern(what, options));
}

} // namespace FindReplace
