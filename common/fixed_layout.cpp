#include "common/fixed_layout.h"

#include "common/field_rule.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace FixedLayout {
namespace {

template <typename Control> Control *named(Control *control, const QString &name)
{
    if (!name.isEmpty())
        control->setObjectName(name);
    return control;
}

// The geometry, grown where the control's content needs more room.
QRect fitted(const QRect &geometry, QSize hint)
{
    return QRect(geometry.topLeft(), geometry.size().expandedTo(hint));
}

} // namespace

QFont pixelFont(const QString &family, int pixelSize, bool bold, bool italic)
{
    QFont font;
    font.setFamilies({family, QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

void setUpForm(QWidget *form, QSize clientSize, const QFont &font, QPalette::ColorRole background)
{
    form->setFixedSize(clientSize);
    form->setFont(font);
    QPalette palette = form->palette();
    palette.setColor(QPalette::Window, palette.color(background));
    form->setPalette(palette);
    form->setAutoFillBackground(true);
}

QLabel *addLabel(QWidget *parent, const QString &name, const QString &text, const QRect &geometry,
                 const std::optional<QFont> &font)
{
    auto *label = named(new QLabel(text, parent), name);
    label->setTextFormat(Qt::PlainText);
    if (font)
        label->setFont(*font);
    label->setGeometry(fitted(geometry, label->sizeHint()));
    return label;
}

QLineEdit *addEdit(QWidget *parent, const QString &name, const QRect &geometry, const QString &text)
{
    auto *edit = named(new QLineEdit(text, parent), name);
    edit->setGeometry(geometry);
    FieldRule::install(edit);
    return edit;
}

QLineEdit *addLabelledEdit(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry)
{
    QLineEdit *edit = addEdit(parent, name, geometry);
    // The caption keeps its place above the field whatever the height of the face that draws it.
    constexpr int spacing = 3;
    QLabel *label = addLabel(parent, name + QStringLiteral("Label"), caption, QRect(geometry.left(), 0, 0, 13));
    label->move(geometry.left(), qMax(0, geometry.top() - spacing - label->height()));
    label->setBuddy(edit);
    return edit;
}

QLineEdit *addCoordinateEdit(QWidget *parent, const QString &name, QPoint topLeft, const QString &text)
{
    QLineEdit *edit = addEdit(parent, name, fieldAt(topLeft.x(), topLeft.y(), 25), text);
    edit->setMaxLength(3);
    return edit;
}

QCheckBox *addCheckBox(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry,
                       bool checked)
{
    auto *box = named(new QCheckBox(caption, parent), name);
    box->setChecked(checked);
    box->setGeometry(fitted(geometry, box->sizeHint()));
    return box;
}

QComboBox *addPickList(QWidget *parent, const QString &name, const QStringList &items, const QRect &geometry)
{
    auto *list = named(new QComboBox(parent), name);
    list->setEditable(false);
    list->addItems(items);
    list->setCurrentIndex(-1);
    list->setGeometry(geometry);
    return list;
}

QPushButton *addButton(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry)
{
    auto *button = named(new QPushButton(caption, parent), name);
    button->setGeometry(geometry);
    return button;
}

QListWidget *addListBox(QWidget *parent, const QString &name, const QStringList &rows, const QRect &geometry,
                        int rowHeight)
{
    auto *list = named(new QListWidget(parent), name);
    list->setGeometry(geometry);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    list->setStyleSheet(QStringLiteral("QListWidget::item { height: %1px; }").arg(rowHeight));
    list->addItems(rows);
    return list;
}

QGroupBox *addGroupBox(QWidget *parent, const QString &title, const QRect &geometry, QWidget *content)
{
    auto *group = new QGroupBox(title, parent);
    group->setGeometry(geometry);
    auto *layout = new QVBoxLayout(group);
    layout->setContentsMargins(2, 2, 2, 2);
    content->setParent(group);
    layout->addWidget(content);
    return group;
}

QFrame *addBevel(QWidget *parent, const QString &name, QFrame::Shape shape, const QRect &geometry)
{
    auto *bevel = named(new QFrame(parent), name);
    bevel->setFrameShape(shape);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(geometry);
    return bevel;
}

} // namespace FixedLayout
