#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Controls of the designer's pages, each placed at the absolute position its layout gives and
// named as the layout names it.
namespace DesignerControls {

// A font whose character height is given in pixels; a face missing on the machine falls back
// to the nearest sans-serif one.
QFont pixelFont(const QString &family, int pixelSize, bool bold = false);

// A label sized to its text, its top left corner at x, y.
QLabel *label(QWidget *parent, const QString &caption, int x, int y, const QString &name = {});

// A one-line text field of the standard height.
QLineEdit *field(QWidget *parent, const QString &name, int x, int y, int width, const QString &text = {});

// A one-line text field with its caption just above it.
QLineEdit *labeledField(QWidget *parent, const QString &name, const QString &caption, int x, int y, int width);

// One of the four short x, y, width and height fields: at most three characters.
QLineEdit *geometryField(QWidget *parent, const QString &name, int x, int y, const QString &text);

QCheckBox *checkBox(QWidget *parent, const QString &name, const QString &caption, int x, int y);

// A pick-only drop-down list (no typing) with nothing selected.
QComboBox *pickList(QWidget *parent, const QString &name, const QStringList &items, int x, int y, int width);

QPushButton *button(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry);

} // namespace DesignerControls
