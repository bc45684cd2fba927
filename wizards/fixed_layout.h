#pragma once

#include <QFont>
#include <QPalette>
#include <QRect>
#include <QStringList>

#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

// Building the small fixed-size windows control by control, at the positions their layouts give.
namespace FixedLayout {

// A font whose character height is given in pixels.
QFont pixelFont(const QString &family, int pixelSize, bool bold = false, bool italic = false);

// Gives the window a fixed client area, a font and a background from one of the system's colours.
void setUpForm(QWidget *form, QSize clientSize, const QFont &font, QPalette::ColorRole background);

// A label of plain text. Labels size themselves to their text: the geometry is the least they take,
// and they grow where a substitute face is wider than the original one.
QLabel *addLabel(QWidget *parent, const QString &name, const QString &text, const QRect &geometry,
                 const std::optional<QFont> &font = std::nullopt);

// A one-line text field with its caption three pixels above it, as a labelled edit shows it.
QLineEdit *addLabelledEdit(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry);

QPushButton *addButton(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry);

// A single-selection list box with fixed-height rows and no row selected.
QListWidget *addListBox(QWidget *parent, const QString &name, const QStringList &rows, const QRect &geometry,
                        int rowHeight);

} // namespace FixedLayout
