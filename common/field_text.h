#pragma once

#include <QString>

#include <functional>

// What a one-line field keeps of each change of its text, as a single-line 8-bit edit control of
// the original platform would: the inserted text up to its first line break (a pasted second line
// never enters), and every character without a Windows-1251 byte as one '?' where the field's text
// goes into a Windows-1251 script.
namespace FieldText {

// The characters a field keeps: Windows-1251's, every other becoming one '?', or every character,
// where its text goes into a UTF-8 script.
enum class Repertoire { Windows1251, Unicode };

// The text as a field of the repertoire holds it.
QString held(const QString &text, Repertoire repertoire);

// The repertoire of the fields whose text goes into the current script (the wizards', the
// designer's): the program tells it by the script; Windows-1251 until it does.
void setScriptRepertoire(const std::function<Repertoire()> &source);
Repertoire scriptRepertoire();

// Whether a line break may stand in the field (the search texts, whose breaks match the
// document's) or ends the inserted text.
enum class LineBreaks { EndInsertedText, Keep };

struct Kept {
    QString text;
    qsizetype cursor = 0;
};

// before: the field's text before the change (it holds no line break under EndInsertedText);
// after: its text after the change, with the caret at cursor.
Kept kept(QStringView before, const QString &after, qsizetype cursor, LineBreaks lineBreaks,
          Repertoire repertoire = Repertoire::Windows1251);

} // namespace FieldText
