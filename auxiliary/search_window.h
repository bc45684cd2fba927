#pragma once

#include <QPointer>
#include <QWidget>

class QLineEdit;
class QPushButton;

// The search window: created hidden, never shown.
class TForm8 : public QWidget {
    Q_OBJECT
public:
    explicit TForm8(QWidget *parent = nullptr);

    QLineEdit *Edit1 = nullptr;
    QPushButton *Button1 = nullptr;

    // Gives the keyboard focus to the current editor's text, when there is a current editor.
    void Button1Click();
};

extern QPointer<TForm8> Form8;
