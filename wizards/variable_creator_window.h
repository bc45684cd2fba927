#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The variable creator: appends a set or var line to the current editor.
class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget *parent = nullptr);

    QLineEdit *Edit = nullptr;
    QLabel *Label1 = nullptr;
    QListWidget *ListBox1 = nullptr;
    QPushButton *Button1 = nullptr;

    // "Создать": appends "set %<name>" (row 0) or "var %<name>" (row 1), only while the current
    // editor is the active editor window.
    void Button1Click();
};

extern QPointer<TForm4> Form4;
