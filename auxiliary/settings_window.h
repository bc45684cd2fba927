#pragma once

#include <QDialog>
#include <QPointer>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QTabWidget;

// The settings window: laid out, never shown, without actions.
class TForm7 : public QDialog {
    Q_OBJECT
public:
    // Shows itself on creation, as its layout asks; the program never creates it.
    explicit TForm7(QWidget *parent = nullptr);

    QTabWidget *PageControl1 = nullptr;
    QWidget *TabSheet1 = nullptr;
    QWidget *TabSheet2 = nullptr;
    QFrame *Bevel1 = nullptr;
    QPushButton *Button3 = nullptr;

    // "Генеральные".
    QLabel *Label1, *Label2, *Label3, *Label4, *Label6;
    QFrame *Bevel2 = nullptr;
    QPushButton *Button1, *Button4;
    QCheckBox *CheckBox1, *CheckBox2, *CheckBox3;

    // "Настройка редактора скриптов".
    QLabel *Label5, *Label7;
    QFrame *Bevel3 = nullptr;
    QPushButton *Button5 = nullptr;
    QCheckBox *CheckBox4, *CheckBox5, *CheckBox6;

private:
    void createGeneralPage();
    void createEditorPage();
};

extern QPointer<TForm7> Form7;
