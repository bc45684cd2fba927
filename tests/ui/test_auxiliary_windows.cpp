// The about window shown from "Инфо.", and the settings, search and empty windows.
#include "app/main_window.h"
#include "auxiliary/about_window.h"
#include "auxiliary/empty_window.h"
#include "auxiliary/search_window.h"
#include "auxiliary/settings_window.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"
#include "support/program_test.h"
#include "support/test_env.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

class AuxiliaryWindowsTest : public ProgramTest {
    Q_OBJECT
public:
    AuxiliaryWindowsTest() : ProgramTest(ErrorBoxes::Forbidden) { }

private:

private slots:

    void aboutWindowLayout()
    {
        QVERIFY(Form11 && !Form11->isVisible());
        QCOMPARE(Form11->windowTitle(), u"О авторе"_qs);
        QCOMPARE(Form11->size(), QSize(240, 378));
        const QList<QPair<QLabel *, QString>> texts = {
            {Form11->Label1, u"Orl"_qs},
            {Form11->Label2, u"Vesrion 1.0"_qs},
            {Form11->Label3, u"Автор, проектировщик, программист"_qs},
            {Form11->Label4, u" данной программы"_qs},
            {Form11->Label5, u"Orl"_qs},
            {Form11->Label6, u"Автор:"_qs},
            {Form11->Label7, u"команда Orl"_qs},
            {Form11->Label8, u"Версия:"_qs},
            {Form11->Label9, u"1.0"_qs},
            {Form11->Label10, u"E-MAIL автора"_qs},
            {Form11->Label11, u"нет"_qs},
            {Form11->Label12, u"Сайт программы:"_qs},
            {Form11->Label13, u"нет"_qs},
            {Form11->Label14, u"Orl v. 1.0"_qs},
        };
        for (const auto &[label, text] : texts) {
            QCOMPARE(label->text(), text);
            QVERIFY2(Form11->rect().contains(label->geometry()), qPrintable(label->objectName()));
        }
        QCOMPARE(Form11->Label1->pos(), QPoint(40, 16));
        QCOMPARE(Form11->Label13->pos(), QPoint(104, 280));
        QCOMPARE(Form11->Label1->font().pixelSize(), 64);
        QVERIFY(Form11->Label1->font().bold() && Form11->Label1->font().italic());
        QVERIFY(Form11->Label7->font().bold() && !Form11->Label2->font().bold());
        QCOMPARE(Form11->Label11->palette().color(QPalette::WindowText), QColor(0, 0, 128));
        QCOMPARE(Form11->Label13->palette().color(QPalette::WindowText), QColor(0, 0, 128));
        QCOMPARE(Form11->Button1->text(), u"Выход"_qs);
        QCOMPARE(Form11->Button1->geometry(), QRect(8, 352, 75, 25));
    }

    void aboutWindowIsShownModallyAndIsTheSameEachTime()
    {
        QList<QWidget *> shown;
        for (int i = 0; i < 2; ++i) {
            QTimer::singleShot(0, Form11, [&shown] {
                shown.append(QApplication::activeModalWidget());
                QTest::mouseClick(Form11->Button1, Qt::LeftButton);
            });
            Orl->N39Click();
            QVERIFY(!Form11->isVisible());
        }
        QCOMPARE(shown, QList<QWidget *>({Form11.data(), Form11.data()}));

        // Its close box ends the showing as well, and the window stays for the next time.
        QTimer::singleShot(0, Form11, [] { Form11->close(); });
        Orl->N39Click();
        QVERIFY(Form11 && !Form11->isVisible());
    }

    void aboutWindowNeedsNoEditorAndLeavesTheCurrentOneAlone()
    {
        TForm2 *first = TestEnv::newEditor();
        TestEnv::newEditor();
        Form2 = first;
        QTimer::singleShot(0, Form11, [] { Form11->Button1Click(); });
        Orl->N39Click();
        QCOMPARE(Form2.data(), first);
    }

    void settingsWindowConstructsWithItsLayout()
    {
        TForm7 settings;
        QVERIFY(settings.isVisible());
        QCOMPARE(settings.windowTitle(), u".:: Натройки ::."_qs);
        QCOMPARE(settings.size(), QSize(405, 327));
        QCOMPARE(settings.PageControl1->count(), 2);
        QCOMPARE(settings.PageControl1->currentIndex(), 0);
        QCOMPARE(settings.PageControl1->tabText(0), u"Генеральные"_qs);
        QCOMPARE(settings.PageControl1->tabText(1), u"Настройка редактора скриптов"_qs);
        QCOMPARE(settings.Button3->text(), u"Выйти"_qs);
        QCOMPARE(settings.CheckBox1->text(), u"Запрос на Обновление таблиц "_qs);
        QCOMPARE(settings.Label6->text(), u"все ваши действия буду хранится в реестре"_qs);
        QCOMPARE(settings.Label3->parentWidget(), settings.TabSheet1);
        QCOMPARE(settings.CheckBox6->parentWidget(), settings.TabSheet2);
        for (QCheckBox *box : {settings.CheckBox1, settings.CheckBox2, settings.CheckBox3, settings.CheckBox4,
                               settings.CheckBox5})
            QVERIFY(!box->isChecked());
        QVERIFY(settings.CheckBox6->isChecked());

        // Its buttons do nothing: "Выйти" leaves it open.
        QTest::mouseClick(settings.Button3, Qt::LeftButton);
        QVERIFY(settings.isVisible());
        QVERIFY(Form7.isNull());
    }

    void searchAndEmptyWindowsStartHidden()
    {
        QVERIFY(Form8 && !Form8->isVisible());
        QCOMPARE(Form8->windowTitle(), u"Поиск"_qs);
        QCOMPARE(Form8->Edit1->text(), u"Edit1"_qs);
        QCOMPARE(Form8->Button1->text(), u"Button1"_qs);
        QCOMPARE(Form8->Button1->geometry(), QRect(104, 80, 75, 25));
        QVERIFY(Form9 && !Form9->isVisible());
        QCOMPARE(Form9->windowTitle(), u"Form9"_qs);
        QVERIFY(Form9->findChildren<QWidget *>().isEmpty());
    }

    void searchButtonFocusesTheCurrentEditor()
    {
        Form8->Button1Click(); // no current editor: nothing to focus, nothing fails

        TForm2 *first = TestEnv::newEditor();
        TForm2 *second = TestEnv::newEditor();
        Form2 = first;
        Orl->activateWindow();
        Orl->OnPanel->setFocus();
        QTRY_VERIFY(Orl->OnPanel->hasFocus());
        QTest::mouseClick(Form8->Button1, Qt::LeftButton);
        QTRY_VERIFY(first->Memo1->hasFocus());
        QVERIFY(first->Active() && !second->Active());
    }
};

QTEST_MAIN(AuxiliaryWindowsTest)
#include "test_auxiliary_windows.moc"
