#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class QPushButton;

// The about window: the program's name, version and authorship, shown modally.
class TForm11 : public QDialog {
    Q_OBJECT
public:
    explicit TForm11(QWidget *parent = nullptr);

    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7;
    QLabel *Label8, *Label9, *Label10, *Label11, *Label12, *Label13, *Label14;
    QPushButton *Button1 = nullptr;

    // "Выход": closes the window, which ends its modal showing.
    void Button1Click();
};

extern QPointer<TForm11> Form11;
