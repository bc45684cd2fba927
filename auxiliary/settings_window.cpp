#include "auxiliary/settings_window.h"

#include "common/fixed_layout.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

QPointer<TForm7> Form7;

using namespace FixedLayout;

TForm7::TForm7(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral(".:: Натройки ::."));
    setUpForm(this, QSize(405, 327), pixelFont(QStringLiteral("MS Sans Serif"), 11), QPalette::Button);
    move(393, 402);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(0, 8, 393, 265);
    PageControl1->setDocumentMode(true); // the flat-button look of its tabs
    createGeneralPage();
    createEditorPage();
    PageControl1->setCurrentIndex(0);

    Bevel1 = addBevel(this, QStringLiteral("Bevel1"), QFrame::HLine, QRect(0, 280, 401, 2));
    Button3 = addButton(this, QStringLiteral("Button3"), QStringLiteral("Выйти"), QRect(8, 288, 97, 33));
    show();
}

void TForm7::createGeneralPage()
{
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    PageControl1->addTab(TabSheet1, QStringLiteral("Генеральные"));
    QWidget *page = TabSheet1;
    Label1 = addLabel(page, QStringLiteral("Label1"), QStringLiteral("Установить шрифт программы:"),
                      QRect(0, 8, 161, 13));
    Bevel2 = addBevel(page, QStringLiteral("Bevel2"), QFrame::Box, QRect(0, 24, 153, 50));
    Label3 = addLabel(page, QStringLiteral("Label3"), QStringLiteral("Шрифт программы"), QRect(24, 40, 96, 13));
    Button1 = addButton(page, QStringLiteral("Button1"), QStringLiteral("Выбрать"), QRect(0, 80, 153, 41));
    Button4 = addButton(page, QStringLiteral("Button4"), QStringLiteral("Применить"), QRect(0, 208, 75, 25));
    CheckBox1 = addCheckBox(page, QStringLiteral("CheckBox1"), QStringLiteral("Запрос на Обновление таблиц "),
                            QRect(192, 8, 185, 17), false);
    CheckBox2 = addCheckBox(page, QStringLiteral("CheckBox2"), QStringLiteral("Запрос на закрытие программы"),
                            QRect(192, 40, 193, 17), false);
    CheckBox3 = addCheckBox(page, QStringLiteral("CheckBox3"), QStringLiteral("Автоматически создовать"),
                            QRect(192, 72, 161, 17), false);
    Label2 = addLabel(page, QStringLiteral("Label2"), QStringLiteral("Редактор диалоговых окон"), QRect(192, 88, 138, 13));
    Label4 = addLabel(page, QStringLiteral("Label4"), QStringLiteral("При настройки главных опций программы"),
                      QRect(152, 176, 216, 13));
    Label6 = addLabel(page, QStringLiteral("Label6"), QStringLiteral("все ваши действия буду хранится в реестре"),
                      QRect(152, 192, 224, 13));
}

void TForm7::createEditorPage()
{
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Настройка редактора скриптов"));
    QWidget *page = TabSheet2;
    Label5 = addLabel(page, QStringLiteral("Label5"), QStringLiteral("Выбрать шрифт"), QRect(8, 16, 80, 13));
    Bevel3 = addBevel(page, QStringLiteral("Bevel3"), QFrame::Box, QRect(0, 32, 153, 50));
    Label7 = addLabel(page, QStringLiteral("Label7"), QStringLiteral("Шрифт программы"), QRect(24, 48, 96, 13));
    Button5 = addButton(page, QStringLiteral("Button5"), QStringLiteral("Выбрать"), QRect(0, 88, 105, 33));
    CheckBox4 = addCheckBox(page, QStringLiteral("CheckBox4"), QStringLiteral("Запрос на очистку редактора"),
                            QRect(200, 24, 177, 17), false);
    CheckBox5 = addCheckBox(page, QStringLiteral("CheckBox5"), QStringLiteral("Запрос на выход из редактора"),
                            QRect(200, 64, 185, 17), false);
    CheckBox6 = addCheckBox(page, QStringLiteral("CheckBox6"), QStringLiteral("Разворачивать редактор"),
                            QRect(200, 104, 177, 17), true);
}
