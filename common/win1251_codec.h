#pragma once

#include <QByteArray>
#include <QString>

// Windows-1251, one QChar per byte, lossless for all 256 byte values.
// Byte 0x98, which the code page leaves undefined, maps to U+0098 and back.
namespace Win1251 {

QChar toUnicode(uchar byte);

// True when the character stands for exactly one byte of the code page.
bool isEncodable(QChar c);

// The byte for a character, or '?' when the code page has none.
char fromUnicode(QChar c);

QString decode(QByteArrayView bytes);
// One byte per character: a character without a byte, also one outside the Basic Multilingual
// Plane (a surrogate pair) and a lone surrogate, becomes one '?'.
QByteArray encode(QStringView text);

// The text as an 8-bit control would hold it: each character without a byte becomes one '?', a
// surrogate pair as one character.
QString sanitized(QString text);
// How many characters of the text, a surrogate pair as one, have no byte: the '?' encode() writes.
qsizetype missingCount(QStringView text);

} // namespace Win1251
