#include "wizards/fixed_layout.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace FixedLayout {

QFont pixelFont(const QString &family, int pixelSize, bool bold, bool italic)
{
    // The layouts were drawn for the narrow Windows faces; where those are missing, a face of Arial's
    // widths keeps the captions within their places better than the wider default sans face.
    QFont font;
    font.setFamilies({family, QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                      QStringLiteral("Helvetica")});
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
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    if (font)
        label->setFont(*font);
    const QSize fit = label->sizeHint();
    label->setGeometry(QRect(geometry.topLeft(), geometry.size().expandedTo(fit)));
    return label;
}

QLineEdit *addLabelledEdit(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(geometry);
    // The caption keeps its place above the field whatever the height of the face that draws it.
    constexpr int spacing = 3;
    QLabel *label = addLabel(parent, name + QStringLiteral("Label"), caption, QRect(geometry.left(), 0, 0, 13));
    label->move(geometry.left(), qMax(0, geometry.top() - spacing - label->height()));
    label->setBuddy(edit);
    return edit;
}

QPushButton *addButton(QWidget *parent, const QString &name, const QString &caption, const QRect &geometry)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    return button;
}

QListWidget *addListBox(QWidget *parent, const QString &name, const QStringList &rows, const QRect &geometry,
                        int rowHeight)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(name);
    list->setGeometry(geometry);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    list->setStyleSheet(QStringLiteral("QListWidget::item { height: %1px; }").arg(rowHeight));
    list->addItems(rows);
    return list;
}

} // namespace FixedLayout
