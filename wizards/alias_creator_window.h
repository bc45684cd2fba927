#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The alias creator: appends an alias line to the current editor.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(QWidget *parent = nullptr);

    QLineEdit *AliasName = nullptr;
    QPushButton *Button1 = nullptr;
    QLabel *Label1 = nullptr;
    QListWidget *ListBox1 = nullptr;

    // "Создать": appends "alias <name> <command>" for the selected command; without one, nothing.
    void Button1Click();
};

extern QPointer<TForm3> Form3;
