#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The lines of an mIRC dialog table that the designer's pages build. Every function takes the
// texts of one page exactly as typed and chosen (fields, style-word slots, list selections)
// and concatenates them: nothing is trimmed, quoted, validated or escaped, and an empty text
// leaves its separators in place.
namespace DialogLines {

// The four geometry fields of a page: x, y, width, height.
struct Geometry {
    QString x, y, width, height;
};

// The texts of the style-word slots; slot n is at index n - 1.
using SlotWords = std::array<QString, 12>;

// Page 0: the opening lines of the table.
struct HeaderFields {
    QString title;
    Geometry size;
    bool win98Style = false; // "option pixels notheme" instead of "option pixels"
    bool withIcon = false;
    QString iconFile;
};
// Four lines, or five with the icon line.
QStringList headerLines(const HeaderFields &fields);

// Page 1. Style items: slots 1 to 6, then the button type.
struct ButtonFields {
    QString text, id;
    Geometry geometry;
    SlotWords slotWords;
    QString type;
};
QString buttonLine(const ButtonFields &fields);

// Page 2. Style items: slots 1 to 5, the type, the alignment.
struct RadioFields {
    QString text, id;
    Geometry geometry;
    SlotWords slotWords;
    QString type, alignment;
};
QString radioLine(const RadioFields &fields);

// Page 3. No text. Style items: slots 1 to 6, then the combo type.
struct ComboFields {
    QString id;
    Geometry geometry;
    SlotWords slotWords;
    QString type;
};
QString comboLine(const ComboFields &fields);

// Page 4. No text. Style items: slots 1 to 7.
struct ListFields {
    QString id;
    Geometry geometry;
    SlotWords slotWords;
};
QString listLine(const ListFields &fields);

} // namespace DialogLines
