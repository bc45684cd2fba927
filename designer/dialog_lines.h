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
    QString x{};
    QString y{};
    QString width{};
    QString height{};
};

// The texts of the style-word slots; slot n is at index n - 1.
using SlotWords = std::array<QString, 12>;

// Page 0: the opening lines of the table.
struct HeaderFields {
    QString title{};
    Geometry size{};
    bool win98Style = false; // "option pixels notheme" instead of "option pixels"
    bool withIcon = false;
    QString iconFile{};
};
// Four lines, or five with the icon line.
QStringList headerLines(const HeaderFields &fields);

// Page 1. Style items: slots 1 to 6, then the button type.
struct ButtonFields {
    QString text{};
    QString id{};
    Geometry geometry{};
    SlotWords slotWords{};
    QString type{};
};
QString buttonLine(const ButtonFields &fields);

// Page 2. Style items: slots 1 to 5, the type, the alignment.
struct RadioFields {
    QString text{};
    QString id{};
    Geometry geometry{};
    SlotWords slotWords{};
    QString type{};
    QString alignment{};
};
QString radioLine(const RadioFields &fields);

// Page 3. No text. Style items: slots 1 to 6, then the combo type.
struct ComboFields {
    QString id{};
    Geometry geometry{};
    SlotWords slotWords{};
    QString type{};
};
QString comboLine(const ComboFields &fields);

// Page 4. No text. Style items: slots 1 to 7.
struct ListFields {
    QString id{};
    Geometry geometry{};
    SlotWords slotWords{};
};
QString listLine(const ListFields &fields);

// Page 5. Style items: "limit", a space and the limit text when the limit is on, then slots 1 to 11.
struct EditFields {
    QString text{};
    QString id{};
    Geometry geometry{};
    bool withLimit = true;
    QString limit{};
    SlotWords slotWords{};
};
QString editLine(const EditFields &fields);

// Page 6. Style items: slots 1 to 5.
struct LinkFields {
    QString text{};
    QString id{};
    Geometry geometry{};
    SlotWords slotWords{};
};
QString linkLine(const LinkFields &fields);

// Page 7. Style items: slots 1 to 4.
struct TabFields {
    QString title{};
    QString id{};
    Geometry geometry{};
    SlotWords slotWords{};
};
QString tabLine(const TabFields &fields);

// Page 8, icon. No text; the one style item is the picture file.
struct IconFields {
    QString id{};
    Geometry geometry{};
    QString file{};
};
QString iconLine(const IconFields &fields);

// Page 9. Style items: the type, the alignment, slots 1 to 5.
struct CheckFields {
    QString text{};
    QString id{};
    Geometry geometry{};
    QString type{};
    QString alignment{};
    SlotWords slotWords{};
};
QString checkLine(const CheckFields &fields);

// Page 10. Style items: the orientation, the alignment, slots 1 to 4.
struct ScrollFields {
    QString text{};
    QString id{};
    Geometry geometry{};
    QString orientation{};
    QString alignment{};
    SlotWords slotWords{};
};
QString scrollLine(const ScrollFields &fields);

// Page 11, plain text. Style items: the alignment, slots 1 to 4.
struct TextFields {
    QString text{};
    QString id{};
    Geometry geometry{};
    QString alignment{};
    SlotWords slotWords{};
};
QString textLine(const TextFields &fields);

// Page 12, panel. Style items: slots 1 to 4.
struct PanelFields {
    QString text{};
    QString id{};
    Geometry geometry{};
    SlotWords slotWords{};
};
QString panelLine(const PanelFields &fields);

} // namespace DialogLines
