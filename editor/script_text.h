#pragma once

#include <QByteArray>
#include <QString>

// The encodings a script file is read and written in. Windows-1251 is the editor's own and every
// new script's; UTF-8 is what mIRC 7 writes, with or without a byte order mark before the text.
enum class ScriptEncoding { Windows1251, Utf8, Utf8WithBom };

// Script text as files hold it and as the editor's offsets count it: bytes in the script's
// encoding, lines separated by CR LF, a line break counting as two characters.
namespace ScriptText {

inline const QString kCrLf = QStringLiteral("\r\n");

inline bool isUtf8(ScriptEncoding encoding)
{
    return encoding != ScriptEncoding::Windows1251;
}

// Letters, digits and "_" make up words, for searches of whole words and for the caret's word
// steps alike; any other character, and the edge of the text, ends one.
inline bool isWordCodePoint(char32_t c)
{
    return QChar::isLetterOrNumber(c) || c == U'_';
}

// What the status bar and the menus call the encoding: "Windows-1251", "UTF-8", "UTF-8 с BOM".
QString encodingName(ScriptEncoding encoding);

// The encoding a file's bytes are read in, from one pass over them: a byte order mark before valid
// UTF-8 means UTF-8 with the mark; valid UTF-8 with at least one multi-byte sequence means UTF-8;
// anything else, pure ASCII included, Windows-1251, which holds every byte as it is.
ScriptEncoding detectedEncoding(QByteArrayView fileBytes);
// The same rule from what the pass found: whether the bytes start with the mark, whether the
// rest is valid UTF-8, and whether it holds a multi-byte sequence.
ScriptEncoding encodingOf(bool marked, bool validUtf8, bool multiByte);

// File bytes as the editor holds them: CR LF, lone CR and lone LF each become one CR LF.
QByteArray normalizedLineBreaks(QByteArray bytes);

// A text entering the editor (typed, pasted, appended, replaced): every character the code page
// cannot hold becomes "?", and every line break, CR LF, lone CR or lone LF, becomes CR LF.
QByteArray encodedText(QStringView text);
// The same in an encoding: in UTF-8 every character stays, a lone surrogate alone becoming "?".
QByteArray encodedText(QStringView text, ScriptEncoding encoding);

// Bytes the editor holds in an encoding (valid UTF-8 where it is UTF-8) as characters.
QString decodedText(QByteArrayView bytes, ScriptEncoding encoding);

// How many characters of the text an encoding lacks: each would become one "?" (a character
// outside the Basic Multilingual Plane counts once). None for UTF-8.
qsizetype missingCharacters(QStringView text, ScriptEncoding encoding);

// What appending a text as a line adds at the end of a target: for an empty target, or one that
// ends with a line break, the text and CR LF; for any other, CR LF and the text.
QByteArray appendedAsLine(bool targetEndsWithLineBreak, QStringView text,
                          ScriptEncoding encoding = ScriptEncoding::Windows1251);

} // namespace ScriptText
