#pragma once

#include <QLabel>
#include <QPointer>
#include <QWidget>

// One numbered square of the colour code picker: a raised panel that reports a click on it, or
// Enter or Space while it has the keyboard.
class ColourSquare : public QLabel {
    Q_OBJECT
public:
    ColourSquare(const QString &number, const QColor &colour, QWidget *parent);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

// The colour code picker: appends an mIRC colour code to the current editor.
class TForm10 : public QWidget {
    Q_OBJECT
public:
    // Shows itself at once as a small tool window on top of the application's windows.
    explicit TForm10(QWidget *parent = nullptr);

    // Panel1 to Panel16, captions "0" to "15"; n counts from 1.
    ColourSquare *Panel(int n) const { return m_panels.at(n - 1); }

    // The click of any of the sixteen squares: appends 0x03 and the square's number as a new last line
    // of the current editor, then closes the picker. With no current editor it only closes.
    void PanelClick(ColourSquare *sender);
    // A click on the background between the squares: closes the picker.
    void FormClick();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QList<ColourSquare *> m_panels;
    bool m_pressedOnBackground = false;
};

extern QPointer<TForm10> Form10;
