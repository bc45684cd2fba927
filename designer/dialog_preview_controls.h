#pragma once

#include "language/dialog_table.h"

#include <QRect>
#include <QString>
#include <QWidget>

// Qt widgets that look like the controls of an mIRC dialog table: one widget per control line,
// dressed by the style words that change a control's look. The widgets are for looking only.
// A group box drawn as Windows draws one: an etched frame with its title set into the top line, at
// its left, in its middle or at its right.
class DialogGroupFrame : public QWidget {
    Q_OBJECT
public:
    explicit DialogGroupFrame(const QString &title, Qt::Alignment titleAlignment = Qt::AlignLeft,
                              QWidget *parent = nullptr);
    QString title() const { return m_title; }
    Qt::Alignment titleAlignment() const { return m_titleAlignment; }
    // Where the title is drawn, in the frame's coordinates.
    QRect titleRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_title;
    Qt::Alignment m_titleAlignment;
};

namespace DialogPreviewControls {

// Windows's width of a vertical scroll bar and height of a horizontal one, at 96 dots per inch.
constexpr int kScrollBarThickness = 17;

// A control's rectangle in pixels, from the table's units.
QRect pixelRect(const DialogTable::DialogModel &model, const DialogTable::Control &control);
int pixelsX(const DialogTable::DialogModel &model, int value);
int pixelsY(const DialogTable::DialogModel &model, int value);

// A picture path as the table gives it, made absolute against `folder` when relative.
QString picturePath(const QString &file, const QString &folder);

// The widget for a control (not for tab pages, menus and items, which the preview builds as a
// whole), placed at its rectangle inside `client`; null for kinds mIRC does not know.
QWidget *create(const DialogTable::DialogModel &model, const DialogTable::Control &control, QWidget *client,
                const QString &pictureFolder);

// Takes mouse and keyboard away from a widget and everything inside it.
void makeLookOnly(QWidget *widget);

// A control text as Windows shows it: "&" marks the next letter, "&&" stands for "&".
QString withoutMnemonics(const QString &text);

} // namespace DialogPreviewControls
