#include "editor/find_replace.h"

#include "common/utf8_codec.h"
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

// A byte of the text as a search compares it: through the code page's table.
struct TableFold {
    const ByteTable &table;
    uchar operator()(const uchar *text, qsizetype, qsizetype i) const { return table[text[i]]; }
};

int utf8Length(char32_t c)
{
    return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

// Byte k of the character's length bytes.
uchar utf8Byte(char32_t c, int length, int k)
{
    static constexpr uchar kLeads[5] = {0, 0, 0xC0, 0xE0, 0xF0};
    if (length == 1)
        return uchar(c);
    if (k == 0)
        return uchar(kLeads[length] | (c >> (6 * (length - 1))));
    return uchar(0x80 | ((c >> (6 * (length - 1 - k))) & 0x3F));
}

// A character's lower case where it takes as many bytes, else the character.
char32_t loweredAlike(char32_t c, int length)
{
    const char32_t lower = QChar::toLower(c);
    return utf8Length(lower) == length ? lower : c;
}

// The two-byte characters (U+0080 to U+07FF: Latin, Greek, Cyrillic, Armenian and others) lowered
// alike, looked up rather than worked out: a Cyrillic text is mostly these.
const std::array<char16_t, 0x800> &twoByteLowerCase()
{
    static const std::array<char16_t, 0x800> table = [] {
        std::array<char16_t, 0x800> t{};
        for (char32_t c = 0; c < 0x800; ++c)
            t[c] = char16_t(c < 0x80 ? c : loweredAlike(c, 2));
        return t;
    }();
    return table;
}

// A byte of UTF-8 text as a search that ignores case compares it: the byte in the same place of
// its character lowered alike. A byte that belongs to no whole character stays as it is.
struct Utf8Fold {
    const ByteTable &ascii = lowerCase();
    const std::array<char16_t, 0x800> &twoBytes = twoByteLowerCase();

    uchar operator()(const uchar *text, qsizetype size, qsizetype i) const
    {
        const uchar b = text[i];
        if (b < 0x80)
            return ascii[b];
        qsizetype lead = i;
        while (lead > 0 && i - lead < 3 && Utf8::isContinuation(text[lead]))
            --lead;
        const int length = Utf8::sequenceLength(text[lead]);
        if (text[lead] < 0xC0 || i - lead >= length || lead + length > size)
            return b;
        const char32_t c = Utf8::codePoint(text + lead, length);
        const char32_t lower = length == 2 ? twoBytes[c] : loweredAlike(c, length);
        return utf8Byte(lower, length, int(i - lead));
    }
};

// The character of UTF-8 text that starts at at, or ends just before end.
char32_t codePointAt(const uchar *text, qsizetype size, qsizetype at)
{
    const int length = Utf8::sequenceLength(text[at]);
    return at + length <= size ? Utf8::codePoint(text + at, length) : text[at];
}

char32_t codePointBefore(const uchar *text, qsizetype size, qsizetype end)
{
    qsizetype at = end - 1;
    while (at > 0 && end - at < 4 && Utf8::isContinuation(text[at]))
        --at;
    return codePointAt(text, size, at);
}

} // namespace

bool isWordCharacter(QChar c)
{
    return ScriptText::isWordCodePoint(c.unicode());
}

QByteArray loweredBytes(QByteArrayView bytes)
{
    return folded(bytes.toByteArray(), lowerCase());
}

QString fieldText(const QString &text)
{
    return text.left(kMaxFieldLength);
}

Pattern::Pattern(QStringView text, const Options &options, ScriptEncoding encoding)
    : m_wholeWord(options.wholeWord), m_utf8(ScriptText::isUtf8(encoding)),
      m_fold(options.matchCase ? &identity() : m_utf8 ? nullptr : &lowerCase())
{
    m_bytes = ScriptText::encodedText(text, encoding);
    m_length = m_utf8 ? Utf8::utf16Length(m_bytes) : m_bytes.size();
    if (m_fold) {
        m_bytes = folded(m_bytes, *m_fold);
    } else {
        const QByteArray bytes = m_bytes;
        const auto *raw = reinterpret_cast<const uchar *>(bytes.constData());
        const Utf8Fold fold;
        for (qsizetype i = 0; i < bytes.size(); ++i)
            m_bytes[i] = char(fold(raw, bytes.size(), i));
    }
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
    const qsizetype end = at + m_bytes.size();
    if (m_utf8) {
        const auto *bytes = reinterpret_cast<const uchar *>(text.data());
        return (at == 0 || !ScriptText::isWordCodePoint(codePointBefore(bytes, text.size(), at)))
            && (end == text.size() || !ScriptText::isWordCodePoint(codePointAt(bytes, text.size(), end)));
    }
    const std::array<bool, 256> &word = wordBytes();
    return (at == 0 || !word[uchar(text[at - 1])]) && (end == text.size() || !word[uchar(text[end])]);
}

qsizetype Pattern::indexIn(QByteArrayView text, qsizetype from) const
{
    return m_fold ? indexIn(text, from, TableFold{*m_fold}) : indexIn(text, from, Utf8Fold{});
}

qsizetype Pattern::lastIndexIn(QByteArrayView text, qsizetype end) const
{
    return m_fold ? lastIndexIn(text, end, TableFold{*m_fold}) : lastIndexIn(text, end, Utf8Fold{});
}

template <typename Fold>
qsizetype Pattern::indexIn(QByteArrayView text, qsizetype from, const Fold &fold) const
{
    const qsizetype m = m_bytes.size();
    if (m == 0)
        return -1;
    const auto *hay = reinterpret_cast<const uchar *>(text.data());
    const qsizetype n = text.size();
    const auto *needle = reinterpret_cast<const uchar *>(m_bytes.constData());
    for (qsizetype i = qMax<qsizetype>(0, from); i + m <= n;) {
        qsizetype j = m - 1;
        while (fold(hay, n, i + j) == needle[j]) {
            if (j == 0) {
                if (!m_wholeWord || isWholeWordAt(text, i))
                    return i;
                break;
            }
            --j;
        }
        // The shift depends on the window's last byte only, so it is safe after a match too.
        i += m_skipForward[fold(hay, n, i + m - 1)];
    }
    return -1;
}

template <typename Fold>
qsizetype Pattern::lastIndexIn(QByteArrayView text, qsizetype end, const Fold &fold) const
{
    const qsizetype m = m_bytes.size();
    if (m == 0)
        return -1;
    const auto *hay = reinterpret_cast<const uchar *>(text.data());
    const qsizetype n = text.size();
    const auto *needle = reinterpret_cast<const uchar *>(m_bytes.constData());
    for (qsizetype i = qMin(end, n) - m; i >= 0;) {
        qsizetype j = 0;
        while (fold(hay, n, i + j) == needle[j]) {
            if (j == m - 1) {
                if (!m_wholeWord || isWholeWordAt(text, i))
                    return i;
                break;
            }
            ++j;
        }
        i -= m_skipBackward[fold(hay, n, i)];
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
    return Selection{at, pattern.byteLength()};
}

namespace {

// Offsets of a text of characters in its UTF-8 bytes, and back.
qsizetype utf8Offset(QStringView text, qsizetype offset)
{
    return Utf8::encode(text.left(offset)).size();
}

qsizetype characterOffset(QByteArrayView bytes, qsizetype offset)
{
    return Utf8::utf16Length(bytes.first(offset));
}

} // namespace

std::optional<Selection> findStep(QStringView text, Selection selection, QStringView what, const Options &options,
                                  ScriptEncoding encoding)
{
    const Pattern pattern(what, options, encoding);
    if (!ScriptText::isUtf8(encoding))
        return findStep(Win1251::encode(text), selection, pattern, options.direction);
    const QByteArray bytes = Utf8::encode(text);
    const qsizetype start = utf8Offset(text, selection.start);
    const auto found = findStep(bytes, {start, utf8Offset(text, selection.start + selection.length) - start}, pattern,
                                options.direction);
    if (!found)
        return std::nullopt;
    return Selection{characterOffset(bytes, found->start), pattern.length()};
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

QList<qsizetype> occurrences(QStringView text, QStringView what, const Options &options, ScriptEncoding encoding)
{
    const Pattern pattern(what, options, encoding);
    if (!ScriptText::isUtf8(encoding))
        return occurrences(Win1251::encode(text), pattern);
    const QByteArray bytes = Utf8::encode(text);
    QList<qsizetype> found = occurrences(bytes, pattern);
    for (qsizetype &at : found)
        at = characterOffset(bytes, at);
    return found;
}

} // namespace FindReplace
