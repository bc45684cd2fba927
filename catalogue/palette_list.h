#pragma once

#include <QListWidget>

// A reference palette: a single-selection list whose rows are as high as its font needs, which
// shows a frame while it has the keyboard, and in which Enter and Space choose the current row.
class PaletteList : public QListWidget {
    Q_OBJECT
public:
    // The rows' height at the layout's 11-pixel face; a larger face makes them taller.
    static constexpr int kLeastRowHeight = 14;

    explicit PaletteList(QWidget *parent = nullptr);

    int rowHeight() const;

signals:
    // Enter or Space on the current row: the row is selected, if it was not, and chosen again.
    void rowChosen();

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
