#pragma once

#include <QString>

// What a one-line field keeps of each change of its text, as a single-line 8-bit edit control of
// the original platform would: the inserted text up to its first line break (a pasted second line
// never enters), and every character without a Windows-1251 byte as one '?'.
namespace FieldText {

// Whether a line break may stand in the field (the search texts, whose breaks match the
// document's) or ends the inserted text.
enum class LineBreaks { EndInsertedText, Keep };

struct Kept {
    QString text;
    qsizetype cursor = 0;
};

// before: the field's text before the change (it holds no line break under EndInsertedText);
// after: its text after the change, with the caret at cursor.
Kept kept(QStringView before, const QString &after, qsizetype cursor, LineBreaks lineBreaks);

} // namespace FieldText
