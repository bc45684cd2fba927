#include "common/fixed_layout.h"

#include "common/field_rule.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

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

bool isField(const QWidget *widget)
{
    return qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QComboBox *>(widget)
        || qobject_cast<const QAbstractSpinBox *>(widget) || qobject_cast<const QAbstractItemView *>(widget)
        || qobject_cast<const QPlainTextEdit *>(widget);
}

bool sameRow(const QRect &a, const QRect &b)
{
    return a.top() <= b.bottom() && b.top() <= a.bottom();
}

// The label directly left of the field, with nothing but other fields of the row between them.
QLabel *rowCaption(const QWidget *field, const QList<QWidget *> &siblings)
{
    const QRect place = field->geometry();
    QLabel *nearest = nullptr;
    int nearestRight = -1;
    for (QWidget *sibling : siblings) {
        const QRect other = sibling->geometry();
        auto *label = qobject_cast<QLabel *>(sibling);
        if (!label || !sameRow(other, place) || other.right() > place.left() + 2)
            continue;
        if (other.right() > nearestRight) {
            nearest = label;
            nearestRight = other.right();
        }
    }
    if (!nearest)
        return nullptr;
    for (QWidget *sibling : siblings) {
        const QRect other = sibling->geometry();
        const bool between = sameRow(other, place) && other.left() > nearestRight && other.right() < place.left();
        if (between && !isField(sibling))
            return nullptr;
    }
    return nearest;
}

// The text of the label, or of the button that fills the field (a picked file's path), just above
// the field and overlapping it sideways.
QString captionAbove(const QWidget *field, const QList<QWidget *> &siblings)
{
    constexpr int kMostGap = 12;
    const QRect place = field->geometry();
    QString nearest;
    int nearestGap = kMostGap + 1;
    for (QWidget *sibling : siblings) {
        const QRect other = sibling->geometry();
        const auto *label = qobject_cast<const QLabel *>(sibling);
        const auto *button = qobject_cast<const QPushButton *>(sibling);
        const bool overlapsSideways = other.left() <= place.right() && place.left() <= other.right();
        const int gap = place.top() - other.bottom() - 1;
        if ((label || button) && overlapsSideways && gap >= -2 && gap < nearestGap) {
            nearest = label ? label->text() : button->text();
            nearestGap = gap;
        }
    }
    return nearest;
}

QString captionOf(const QWidget *field, const QList<QWidget *> &siblings)
{
    for (QWidget *sibling : siblings) {
        auto *label = qobject_cast<QLabel *>(sibling);
        if (label && label->buddy() == field)
            return label->text();
    }
    if (const QLabel *label = rowCaption(field, siblings))
        return label->text();
    if (const QString above = captionAbove(field, siblings); !above.isEmpty())
        return above;
    if (const auto *group = qobject_cast<const QGroupBox *>(field->parentWidget()))
        return group->title();
    return {};
}

// Fields named alike are told apart by their order from left to right, then top to bottom.
void distinguish(QList<QPair<QWidget *, QString>> &named)
{
    QHash<QString, QList<QWidget *>> byCaption;
    for (const auto &[field, caption] : named)
        byCaption[caption].append(field);
    for (auto &[field, caption] : named) {
        QList<QWidget *> alike = byCaption.value(caption);
        if (alike.size() < 2)
            continue;
        std::sort(alike.begin(), alike.end(), [](const QWidget *a, const QWidget *b) {
            return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
        });
        const int index = int(alike.indexOf(field));
        const QString letters = QStringLiteral("XYWH");
        const bool coordinates = caption.startsWith(QStringLiteral("XYWH")) && alike.size() == 4;
        caption += QLatin1Char(' ') + (coordinates ? QString(letters.at(index)) : QString::number(index + 1));
    }
}

} // namespace

void nameFieldsByCaptions(QWidget *form)
{
    QList<QWidget *> parents{form};
    parents.append(form->findChildren<QWidget *>());
    for (QWidget *parent : parents) {
        const QList<QWidget *> siblings = parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        QList<QPair<QWidget *, QString>> named;
        for (QWidget *field : siblings) {
            if (!isField(field) || !field->accessibleName().isEmpty())
                continue;
            const QString caption = captionOf(field, siblings).remove(QLatin1Char('&')).trimmed();
            if (!caption.isEmpty())
                named.append({field, caption});
        }
        distinguish(named);
        for (const auto &[field, caption] : named)
            field->setAccessibleName(caption);
    }
}

QFont pixelFont(const QString &family, int pixelSize, bool bold, bool italic)
{
    QFont font;
    QStringList families{family};
    // MS Sans Serif is a bitmap face: it neither scales with the screen's DPI nor has Cyrillic letters
    // outside Russian Windows. Its TrueType successor, of the same widths, stands first.
    if (family == QLatin1String("MS Sans Serif"))
        families.prepend(QStringLiteral("Microsoft Sans Serif"));
    families << QStringLiteral("Microsoft Sans Serif") << QStringLiteral("Arial") << QStringLiteral("Liberation Sans")
             << QStringLiteral("Nimbus Sans") << QStringLiteral("Helvetica");
    families.removeDuplicates();
    font.setFamilies(families);
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
    edit->setAccessibleName(caption);
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
