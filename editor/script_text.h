#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Script text as files hold it and as the editor's offsets count it:
// Windows-1251 bytes, lines separated by CR LF, a line break counting as two characters.
namespace ScriptText {

inline const QString kCrLf = QStringLiteral("\r\n");

// File bytes to editor text with '\n' between lines: CR LF, lone CR and lone LF each make one break.
QString decodeFile(QByteArrayView bytes);

// Editor text with '\n' between lines to file bytes: CR LF between lines, nothing after the last.
QByteArray encodeFile(QStringView textWithLf);

// The one-string view of lines: lines joined by CR LF.
QString joinedWithCrLf(const QStringList &lines);

// Appending a text as a line: an empty target, or one that ends with a line break, gets the text
// and CR LF; any other gets CR LF and the text. Line breaks inside the text divide it into lines.
QString appendedAsLine(const QString &target, const QString &text);

// Text with CR LF, lone CR or lone LF line breaks, split into its lines.
QStringList splitLines(QStringView text);

} // namespace ScriptText
