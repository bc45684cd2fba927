#include "common/utf8_codec.h"

#include <array>
#include <bit>
#include <cstring>

namespace Utf8 {
namespace {

// Eight bytes are looked at together where only their kinds count: the top bit of each byte.
constexpr quint64 kTopBits = 0x8080808080808080ULL;

quint64 word(const uchar *p)
{
    quint64 w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

// The bytes at p, count of them (fewer than eight) at the end of the text, in a word whose other
// bytes are 0.
quint64 lastBytes(const uchar *p, qsizetype count)
{
    quint64 w = 0;
    std::memcpy(&w, p, count);
    return w;
}

// Masks that keep a word's first n bytes, on any byte order.
constexpr std::array<quint64, 8> kFirstBytes = [] {
    std::array<quint64, 8> masks{};
    for (int n = 0; n < 8; ++n) {
        std::array<uchar, 8> bytes{};
        for (int i = 0; i < n; ++i)
            bytes[i] = 0xFF;
        masks[n] = std::bit_cast<quint64>(bytes);
    }
    return masks;
}();

// Shifting a word left by one brings each byte's bit 6 under its bit 7 (and a byte's bit 7 to the
// next byte's bit 0, which the mask drops), so that a byte's top bits are tested in place. Each
// gives 1 in the low bit of the bytes it finds, 0 in the others.
quint64 continuations(quint64 w)
{
    return (w & ~(w << 1) & kTopBits) >> 7;
}

quint64 fourByteLeads(quint64 w)
{
    return (w & (w << 1) & (w << 2) & (w << 3) & kTopBits) >> 7;
}

// The sum of a word's bytes, where it stays below 256: the multiplication adds them all into the top byte.
int byteSum(quint64 counts)
{
    return int((counts * 0x0101010101010101ULL) >> 56);
}

// The sum of a word's bytes, each up to 255.
qsizetype wideByteSum(quint64 counts)
{
    const quint64 pairs = (counts & 0x00FF00FF00FF00FFULL) + ((counts >> 8) & 0x00FF00FF00FF00FFULL);
    return qsizetype((pairs * 0x0001000100010001ULL) >> 48);
}

// The bytes beyond the UTF-16 units in the whole words from p up to end (continuation bytes less
// the leads of four bytes), moving p past them; the bytes of a last part word are left. The counts
// gather in the bytes of two words, for 255 words at most, so that no byte of them overflows.
qsizetype surplusOfWords(const uchar *&p, const uchar *end)
{
    qsizetype surplus = 0;
    while (end - p >= 8) {
        const uchar *const blockEnd = p + qMin<qsizetype>((end - p) / 8, 255) * 8;
        quint64 continuing = 0;
        quint64 fourBytes = 0;
        for (; p < blockEnd; p += 8) {
            const quint64 w = word(p);
            continuing += continuations(w);
            fourBytes += fourByteLeads(w);
        }
        surplus += wideByteSum(continuing) - wideByteSum(fourBytes);
    }
    return surplus;
}

int unitsIn(quint64 w)
{
    return 8 - byteSum(continuations(w)) + byteSum(fourByteLeads(w));
}

const uchar *bytesOf(QByteArrayView bytes)
{
    return reinterpret_cast<const uchar *>(bytes.data());
}

// How many bytes the multi-byte sequence at p takes, or 0 where it is not UTF-8. The second byte's
// range rules out overlong forms (E0, F0), surrogates (ED) and code points above U+10FFFF (F4);
// C0, C1 and F5 to FF start nothing.
int validSequence(const uchar *p, const uchar *end)
{
    const uchar lead = *p;
    int length = 0;
    uchar low = 0x80;
    uchar high = 0xBF;
    if (lead < 0xC2) {
        return 0;
    } else if (lead < 0xE0) {
        length = 2;
    } else if (lead < 0xF0) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead < 0xF5) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (end - p < length || p[1] < low || p[1] > high || (length > 2 && !isContinuation(p[2]))
        || (length > 3 && !isContinuation(p[3])))
        return 0;
    return length;
}


// Whether the eight bytes are four valid two-byte sequences: leads C2 to DF, each followed by a
// continuation byte. The masks are given byte by byte, so that they hold on any byte order.
bool isFourTwoByteSequences(quint64 w)
{
    static constexpr quint64 kKinds = std::bit_cast<quint64>(std::array<uchar, 8>{0xE0, 0xC0, 0xE0, 0xC0, 0xE0, 0xC0, 0xE0, 0xC0});
    static constexpr quint64 kKindsWanted = std::bit_cast<quint64>(std::array<uchar, 8>{0xC0, 0x80, 0xC0, 0x80, 0xC0, 0x80, 0xC0, 0x80});
    // A lead's bits 1 to 4 are not all 0 (C0 and C1 are overlong): adding 7F to them sets bit 7.
    static constexpr quint64 kLeadBits = std::bit_cast<quint64>(std::array<uchar, 8>{0x1E, 0, 0x1E, 0, 0x1E, 0, 0x1E, 0});
    static constexpr quint64 kLeadAdd = std::bit_cast<quint64>(std::array<uchar, 8>{0x7F, 0, 0x7F, 0, 0x7F, 0, 0x7F, 0});
    static constexpr quint64 kLeadTop = std::bit_cast<quint64>(std::array<uchar, 8>{0x80, 0, 0x80, 0, 0x80, 0, 0x80, 0});
    return (w & kKinds) == kKindsWanted && (((w & kLeadBits) + kLeadAdd) & kLeadTop) == kLeadTop;
}

} // namespace

Scan scan(QByteArrayView bytes)
{
    const uchar *const begin = bytesOf(bytes);
    const uchar *const end = begin + bytes.size();
    const uchar *p = begin;
    bool multiByte = false;
    while (p < end) {
        if (*p < 0x80) {
            // Runs of ASCII, most of a script, go eight bytes at a time.
            ++p;
            while (end - p >= 8 && !(word(p) & kTopBits))
                p += 8;
            continue;
        }
        // So do runs of two-byte characters, as Cyrillic words are.
        while (end - p >= 8 && isFourTwoByteSequences(word(p))) {
            multiByte = true;
            p += 8;
        }
        if (p == end || *p < 0x80)
            continue;
        const int length = validSequence(p, end);
        if (length == 0)
            break;
        multiByte = true;
        p += length;
    }
    return {p - begin, multiByte};
}

void appendUnitStarts(QByteArrayView validBytes, const QList<qsizetype> &lineStarts, qsizetype first,
                      QList<qsizetype> &unitStarts)
{
    if (first >= lineStarts.size())
        return;
    const uchar *const begin = bytesOf(validBytes);
    const uchar *const end = begin + validBytes.size();
    // The bytes beyond the units: a line's start in units is its start in bytes less these. A
    // line's bytes are counted a word at a time in the bytes of two words, added up at its end.
    const uchar *p = begin + lineStarts.at(first - 1);
    qsizetype surplus = lineStarts.at(first - 1) - unitStarts.constLast();
    for (qsizetype line = first; line < lineStarts.size(); ++line) {
        const uchar *const start = begin + lineStarts.at(line);
        surplus += surplusOfWords(p, start);
        // The line's last bytes, in a word whose other bytes are 0, which count nothing.
        const quint64 w = end - p >= 8 ? word(p) & kFirstBytes[start - p] : lastBytes(p, start - p);
        surplus += byteSum(continuations(w)) - byteSum(fourByteLeads(w));
        p = start;
        unitStarts.append(lineStarts.at(line) - surplus);
    }
}

char32_t codePoint(const uchar *p, int length)
{
    switch (length) {
    case 2:
        return char32_t(p[0] & 0x1F) << 6 | (p[1] & 0x3F);
    case 3:
        return char32_t(p[0] & 0x0F) << 12 | char32_t(p[1] & 0x3F) << 6 | (p[2] & 0x3F);
    case 4:
        return char32_t(p[0] & 0x07) << 18 | char32_t(p[1] & 0x3F) << 12 | char32_t(p[2] & 0x3F) << 6 | (p[3] & 0x3F);
    default:
        return p[0];
    }
}

qsizetype utf16Length(QByteArrayView validBytes)
{
    const uchar *p = bytesOf(validBytes);
    const uchar *const end = p + validBytes.size();
    const uchar *const begin = p;
    const qsizetype surplus = surplusOfWords(p, end);
    qsizetype units = (p - begin) - surplus;
    for (; p < end; ++p)
        units += unitsOfLead(*p);
    return units;
}

Position positionOfUnits(QByteArrayView validBytes, qsizetype units)
{
    const uchar *const begin = bytesOf(validBytes);
    const uchar *const end = begin + validBytes.size();
    const uchar *p = begin;
    qsizetype reached = 0;
    // Whole words while their characters fit: a word's count takes each character at its lead
    // byte, and the continuation bytes of its last one, if in the next word, count nothing there.
    while (end - p >= 8) {
        const int inWord = unitsIn(word(p));
        if (reached + inWord > units)
            break;
        reached += inWord;
        p += 8;
    }
    for (; p < end; ++p) {
        const int unitsHere = unitsOfLead(*p);
        if (unitsHere == 0)
            continue;
        if (reached + unitsHere > units)
            break;
        reached += unitsHere;
    }
    return {p - begin, reached};
}

QByteArray encode(QStringView text)
{
    return text.toUtf8();
}

QString decode(QByteArrayView validBytes)
{
    return QString::fromUtf8(validBytes);
}

} // namespace Utf8
