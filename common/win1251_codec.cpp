#include "common/win1251_codec.h"

#include <array>
#include <bitset>

namespace Win1251 {
namespace {

constexpr std::array<char16_t, 128> kUpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

// Reverse table over the whole Basic Multilingual Plane, built once.
struct ReverseTable {
    std::array<uchar, 0x10000> byte{};
    std::bitset<0x10000> mapped;

    ReverseTable()
    {
        for (int b = 0; b < 0x80; ++b) {
            byte[b] = uchar(b);
            mapped.set(b);
        }
        for (int i = 0; i < 0x80; ++i) {
            byte[kUpperHalf[i]] = uchar(0x80 + i);
            mapped.set(kUpperHalf[i]);
        }
    }
};

const ReverseTable &reverse()
{
    static const ReverseTable table;
    return table;
}

// How many UTF-16 units the character at i takes: two for a surrogate pair, one otherwise (a lone
// surrogate counts as one character).
qsizetype characterLength(QStringView text, qsizetype i)
{
    return text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate() ? 2 : 1;
}

} // namespace

QChar toUnicode(uchar byte)
{
    return byte < 0x80 ? QChar(byte) : QChar(kUpperHalf[byte - 0x80]);
}

bool isEncodable(QChar c)
{
    return reverse().mapped.test(c.unicode());
}

char fromUnicode(QChar c)
{
    const ReverseTable &table = reverse();
    return table.mapped.test(c.unicode()) ? char(table.byte[c.unicode()]) : '?';
}

QString decode(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (char b : bytes)
        *out++ = toUnicode(uchar(b));
    return text;
}

QByteArray encode(QStringView text)
{
    const ReverseTable &table = reverse();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); i += characterLength(text, i)) {
        const char16_t c = text.at(i).unicode();
        bytes.append(table.mapped.test(c) ? char(table.byte[c]) : '?');
    }
    return bytes;
}

QString sanitized(QString text)
{
    const ReverseTable &table = reverse();
    qsizetype i = 0;
    while (i < text.size() && table.mapped.test(text.at(i).unicode()))
        ++i;
    if (i == text.size())
        return text;
    // From the first character without a byte on, the text is rewritten in place: each character,
    // a surrogate pair included, leaves one unit.
    qsizetype out = i;
    QChar *units = text.data();
    while (i < text.size()) {
        const QChar c = units[i];
        const qsizetype length = characterLength(text, i);
        units[out++] = table.mapped.test(c.unicode()) ? c : QLatin1Char('?');
        i += length;
    }
    text.truncate(out);
    return text;
}

qsizetype missingCount(QStringView text)
{
    const ReverseTable &table = reverse();
    qsizetype missing = 0;
    for (qsizetype i = 0; i < text.size(); i += characterLength(text, i))
        missing += !table.mapped.test(text.at(i).unicode());
    return missing;
}

} // namespace Win1251
