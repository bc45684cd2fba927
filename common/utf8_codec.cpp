#include "common/utf8_codec.h"

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

// Shifting a word left by one brings each byte's bit 6 under its bit 7 (and a byte's bit 7 to the
// next byte's bit 0, which the mask drops), so that a byte's top bits are tested in place.
int continuationsIn(quint64 w)
{
    return std::popcount(w & ~(w << 1) & kTopBits);
}

int fourByteLeadsIn(quint64 w)
{
    return std::popcount(w & (w << 1) & (w << 2) & (w << 3) & kTopBits);
}

int unitsIn(quint64 w)
{
    return 8 - continuationsIn(w) + fourByteLeadsIn(w);
}

const uchar *bytesOf(QByteArrayView bytes)
{
    return reinterpret_cast<const uchar *>(bytes.data());
}

} // namespace

Scan scan(QByteArrayView bytes)
{
    const uchar *const begin = bytesOf(bytes);
    const uchar *const end = begin + bytes.size();
    const uchar *p = begin;
    bool multiByte = false;
    while (p < end) {
        const uchar lead = *p;
        if (lead < 0x80) {
            // Runs of ASCII, most of a script, go eight bytes at a time.
            ++p;
            while (end - p >= 8 && !(word(p) & kTopBits))
                p += 8;
            continue;
        }
        // The second byte's range rules out overlong forms (E0, F0), surrogates (ED) and code
        // points above U+10FFFF (F4); C0, C1 and F5 to FF start nothing.
        int length = 0;
        uchar low = 0x80;
        uchar high = 0xBF;
        if (lead < 0xC2) {
            break;
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
            break;
        }
        if (end - p < length || p[1] < low || p[1] > high || (length > 2 && !isContinuation(p[2]))
            || (length > 3 && !isContinuation(p[3])))
            break;
        multiByte = true;
        p += length;
    }
    return {p - begin, multiByte};
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
    qsizetype units = 0;
    for (; end - p >= 8; p += 8)
        units += unitsIn(word(p));
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
