#pragma once

#include <QByteArray>
#include <QString>

// Script text as files hold it and as the editor's offsets count it: Windows-1251 bytes, lines
// separated by CR LF, a line break counting as two characters.
namespace ScriptText {

inline const QString kCrLf = QStringLiteral("\r\n");

// File bytes as the editor holds them: CR LF, lone CR and lone LF each become one CR LF.
QByteArray normalizedLineBreaks(QByteArray bytes);

// A text entering the editor (typed, pasted, appended, replaced): every character the code page
// cannot hold becomes "?", and every line break, CR LF, lone CR or lone LF, becomes CR LF.
QByteArray encodedText(QStringView text);

// What appending a text as a line adds at the end of a target: for an empty target, or one that
// ends with a line break, the text and CR LF; for any other, CR LF and the text.
QByteArray appendedAsLine(bool targetEndsWithLineBreak, QStringView text);

} // namespace ScriptText
