#include "catalogue/palette_list.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

// Rows of the palette's row height, whatever the style would give them.
class RowHeightDelegate : public QStyledItemDelegate {
public:
    explicit RowHeightDelegate(PaletteList *palette) : QStyledItemDelegate(palette), m_palette(palette) { }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), m_palette->rowHeight());
    }

private:
    PaletteList *m_palette;
};

// Space and Enter, without Ctrl, Alt or Meta.
bool choosesRow(const QKeyEvent &key)
{
    const bool chooser = key.key() == Qt::Key_Space || key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers others = key.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    return chooser && !others;
}

} // namespace

PaletteList::PaletteList(QWidget *parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setItemDelegate(new RowHeightDelegate(this));
}

int PaletteList::rowHeight() const
{
    return qMax(kLeastRowHeight, fontMetrics().height());
}

bool PaletteList::event(QEvent *event)
{
    const bool handled = QListWidget::event(event);
    // The list's own frame, drawn over in the highlight colour while the list has the keyboard: a
    // palette reached with Tab or F6 shows it before any row is current.
    if (event->type() == QEvent::Paint && hasFocus()) {
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
    return handled;
}

void PaletteList::changeEvent(QEvent *event)
{
    QListWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        scheduleDelayedItemsLayout();
}

void PaletteList::keyPressEvent(QKeyEvent *event)
{
    if (!choosesRow(*event)) {
        QListWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    const int row = currentRow();
    if (row < 0)
        return;
    if (!item(row)->isSelected())
        setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    emit rowChosen();
}
