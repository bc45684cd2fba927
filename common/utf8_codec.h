#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// UTF-8 as scripts of mIRC 7 are written in it: a check of the bytes in one pass, lengths in
// UTF-16 code units (the units every QString and the editor's offsets count: a character outside
// the Basic Multilingual Plane counts two), and an encoding that never fails.
namespace Utf8 {

// The byte order mark a file may start with.
inline constexpr QByteArrayView kBom("\xEF\xBB\xBF", 3);

// What one pass over bytes found.
struct Scan {
    // Where valid UTF-8 ends: the first byte of the first sequence that is malformed, overlong, a
    // surrogate (ED A0..BF), above U+10FFFF or cut short by the end; the size when all is valid.
    qsizetype validLength = 0;
    // Whether a multi-byte sequence came before validLength.
    bool multiByte = false;
};
Scan scan(QByteArrayView bytes);

// The starts in UTF-16 units of lines whose starts in bytes are known: those of lineStarts[first]
// on are appended to unitStarts, which holds those of the lines before.
void appendUnitStarts(QByteArrayView validBytes, const QList<qsizetype> &lineStarts, qsizetype first,
                      QList<qsizetype> &unitStarts);

// The bytes of a multi-byte sequence after its first: (b & 0xC0) == 0x80.
constexpr bool isContinuation(uchar b)
{
    return (b & 0xC0) == 0x80;
}
// How many bytes the sequence that starts with lead takes: 1 for ASCII (and for a byte that starts
// no sequence, so that a walk always moves on), 2, 3 or 4.
constexpr int sequenceLength(uchar lead)
{
    return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}
// The UTF-16 units of the character a lead byte starts: two from four bytes on, none for a
// continuation byte.
constexpr int unitsOfLead(uchar b)
{
    return isContinuation(b) ? 0 : b >= 0xF0 ? 2 : 1;
}
// The code point of the valid sequence of length bytes at p.
char32_t codePoint(const uchar *p, int length);

// The UTF-16 units of valid UTF-8 bytes.
qsizetype utf16Length(QByteArrayView validBytes);

// Where, in valid bytes, units UTF-16 units end, with the units actually reached: a count that
// ends inside a surrogate pair stops before its character, one beyond the bytes at their end.
struct Position {
    qsizetype bytes = 0;
    qsizetype units = 0;
};
Position positionOfUnits(QByteArrayView validBytes, qsizetype units);

// The text as UTF-8; a lone surrogate, which no encoding holds, becomes one "?", as it does in
// Windows-1251.
QByteArray encode(QStringView text);
// Valid bytes as text.
QString decode(QByteArrayView validBytes);

} // namespace Utf8
