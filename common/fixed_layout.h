#pragma once

#include <QFont>
#include <QFrame>
#include <QPalette>
#include <QRect>
#include <QStringList>

#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

// Building windows control by control at the absolute positions their layouts give. Every builder
// takes the parent, the control's name, what it shows, and then its place.
namespace FixedLayout {

// One-line fields, check boxes and drop-down lists have these heights in the layouts.
inline constexpr int kFieldHeight = 21;
inline constexpr int kCheckBoxHeight = 17;

// A one-line field's place: x, y and width, the standard height.
inline QRect fieldAt(int x, int y, int width)
{
    return QRect(x, y, width, kFieldHeight);
}

// A font whose character height is given in pixels. The layouts were drawn for the narrow Windows
// faces; where those are missing, a face of Arial's widths keeps the captions within their places.
QFont pixelFont(const QString &family, int pixelSize, bool bold = false, bool italic = false);

// Gives the window a fixed client area, a font and a background from one of the system's colours.
void setUpForm(QWidget *form, QSize clientSize, const QFont &font, QPalette::ColorRole background);

// A label of plain text. Labels size themselves to their text: the geometry is the least they take,
// and they grow where a substitute face is wider than the original one.
QLabel *addLabel(QWidget *parent, const QString &name, const QString &text, const QRect &geometry,
                 const std::optional<QFont> &font = std::nullopt);

// A one-line field that keeps only what an 8-bit single-line control would (FieldRule).
QLineEdit *addEdit(QWidget *parent, const QString &name, const QRect &geometry, const QString &text = {});

// A one-line field with its caption three pixels above it, as a labelled edit shows it.
QLineEdit *addLabelledEdit(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry);

// One of the short x, y, width and height fields: 25 pixels wide, at most three characters.
QLineEdit *addCoordinateEdit(QWidget *parent, const QString &name, QPoint topLeft, const QString &text);

// A check box; like a label it grows to fit its caption.
QCheckBox *addCheckBox(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry,
                       bool checked = false);

// A pick-only drop-down list (no typing) with nothing selected.
QComboBox *addPickList(QWidget *parent, const QString &name, const QStringList &items, const QRect &geometry);

QPushButton *addButton(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry);

// A single-selection list box with fixed-height rows and no row selected.
QListWidget *addListBox(QWidget *parent, const QString &name, const QStringList &rows, const QRect &geometry,
                        int rowHeight);

// A group box whose one child fills it, two pixels in from its frame.
QGroupBox *addGroupBox(QWidget *parent, const QString &title, const QRect &geometry, QWidget *content);

// A sunken frame: a box, or a line.
QFrame *addBevel(QWidget *parent, const QString &name, QFrame::Shape shape, const QRect &geometry);

// Gives every field of the window that has no accessible name yet (one-line fields, drop-down lists,
// list boxes, text boxes) the caption a sighted user reads for it: the label it is the buddy of,
// else the label to its left on its row, else the label (or the button that fills it) just above
// it, else its group box's title.
// Fields that share one row caption are told apart: "XYWH: X" ... "XYWH: H", else by number.
void nameFieldsByCaptions(QWidget *form);

} // namespace FixedLayout
