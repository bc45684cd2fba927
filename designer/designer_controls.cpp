#include "designer/designer_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace DesignerControls {
namespace {

constexpr int kFieldHeight = 21;
constexpr int kCheckBoxHeight = 17;
constexpr int kListHeight = 21;
// A labelled field's caption stands this far above the field's top.
constexpr int kCaptionOffset = 16;

template <typename Control>
Control *named(Control *control, const QString &name)
{
    if (!name.isEmpty())
        control->setObjectName(name);
    return control;
}

} // namespace

QFont pixelFont(const QString &family, int pixelSize, bool bold)
{
    QFont font(family);
    // Where the Windows faces are missing, metric-compatible ones keep the captions within their controls.
    font.setFamilies({family, QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QLabel *label(QWidget *parent, const QString &caption, int x, int y, const QString &name)
{
    auto *label = named(new QLabel(caption, parent), name);
    label->move(x, y);
    label->adjustSize();
    return label;
}

QLineEdit *field(QWidget *parent, const QString &name, int x, int y, int width, const QString &text)
{
    auto *edit = named(new QLineEdit(text, parent), name);
    edit->setGeometry(x, y, width, kFieldHeight);
    return edit;
}

QLineEdit *labeledField(QWidget *parent, const QString &name, const QString &caption, int x, int y, int width)
{
    QLineEdit *edit = field(parent, name, x, y, width);
    QLabel *captionLabel = label(parent, caption, x, y - kCaptionOffset, name + QStringLiteral("Label"));
    captionLabel->setBuddy(edit);
    return edit;
}

QLineEdit *geometryField(QWidget *parent, const QString &name, int x, int y, const QString &text)
{
    QLineEdit *edit = field(parent, name, x, y, 25, text);
    edit->setMaxLength(3);
    return edit;
}

QCheckBox *checkBox(QWidget *parent, const QString &name, const QString &caption, int x, int y)
{
    auto *box = named(new QCheckBox(caption, parent), name);
    box->move(x, y);
    box->adjustSize();
    box->resize(box->width(), qMax(box->height(), kCheckBoxHeight));
    return box;
}

QComboBox *pickList(QWidget *parent, const QString &name, const QStringList &items, int x, int y, int width)
{
    auto *list = named(new QComboBox(parent), name);
    list->setEditable(false);
    list->addItems(items);
    list->setCurrentIndex(-1);
    list->setGeometry(x, y, width, kListHeight);
    return list;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry)
{
    auto *button = named(new QPushButton(caption, parent), name);
    button->setGeometry(geometry);
    return button;
}

} // namespace DesignerControls
