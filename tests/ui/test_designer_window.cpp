// The dialog designer's frame: pages, shared style-word slots, transfers and the header page.
#include "app/main_window.h"
#include "catalogue/catalogue_window.h"
#include "designer/dialog_designer_window.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"
#include "support/designer_helpers.h"
#include "support/program_test.h"
#include "support/test_env.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>


namespace {

using DesignerHelpers::allSlots;
using DesignerHelpers::openDesigner;

void fillSlots()
{
    for (int n = 1; n <= 12; ++n)
        Form6->setSlot(n, QStringLiteral("w%1").arg(n));
}

bool slotsEmpty()
{
    return allSlots() == QStringList(12, QString());
}

} // namespace

class DesignerWindowTest : public ProgramTest {
    Q_OBJECT
public:
    DesignerWindowTest() : ProgramTest(ErrorBoxes::Forbidden) { }

private slots:

    void opensAFixedStayOnTopWindowOnPageZero()
    {
        TForm5 *designer = openDesigner();
        QVERIFY(designer);
        QVERIFY(designer->isVisible());
        QCOMPARE(designer->windowTitle(), u".:: Создание диалоговых окон ::."_qs);
        QCOMPARE(designer->size(), QSize(669, 671));
        QCOMPARE(designer->minimumSize(), designer->maximumSize());
        QVERIFY(designer->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(designer->testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(designer->Solo->count(), 13);
        QCOMPARE(designer->Solo->currentIndex(), 0);
        QVERIFY(designer->Memo1->toPlainText().isEmpty());
        QVERIFY(designer->Memo2->toPlainText().isEmpty());
        QVERIFY(designer->Memo2->isReadOnly());
        QVERIFY(!designer->Memo1->isReadOnly());
        QCOMPARE(designer->Button29->text(), u"Вставить код из редактора  в редактор скриптов"_qs);
        QVERIFY(designer->Label3->text().startsWith(u"ВНИМАНИЕ!!!"_qs));

        // Every use of the command makes another window; Form5 names the newest.
        TForm5 *second = openDesigner();
        QVERIFY(second != designer);
        QVERIFY(designer->isVisible());
        QCOMPARE(Form5.data(), second);
    }

    void pageButtonsShowTheirPagesInPanelOrder()
    {
        TForm5 *designer = openDesigner();
        const QList<QPushButton *> panel = designer->GroupBox2->findChildren<QPushButton *>();
        const QStringList captions{u"Создать форму"_qs, u"Создать кнопку"_qs, u"Создать RadioButton"_qs,
                                   u"Создать Combo"_qs, u"Создать List"_qs, u"Создать Edit"_qs,
                                   u"Создать Линк"_qs, u"Создать Таблицу"_qs, u"Создать Scroll"_qs,
                                   u"Создать Обычный текст"_qs, u"Создать изображение"_qs,
                                   u"Создать Check Box"_qs, u"Создать Панель"_qs};
        const QList<int> pages{0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 8, 9, 12};
        QCOMPARE(panel.size(), 13);
        for (int i = 0; i < panel.size(); ++i) {
            QPushButton *button = panel[i];
            QCOMPARE(button->geometry(), QRect(8, 16 + 32 * i, 129, 25));
            QCOMPARE(button->text(), captions[i]);
            button->click();
            QCOMPARE(designer->Solo->currentIndex(), pages[i]);
        }
    }

    void everyTabOfEveryPageIsVisibleWithoutScrolling()
    {
        TForm5 *designer = openDesigner();
        for (int page = 0; page < designer->Solo->count(); ++page) {
            designer->Solo->setCurrentIndex(page);
            QApplication::processEvents();
            auto *sheets = designer->Solo->widget(page)->findChild<QTabWidget *>();
            QVERIFY(sheets);
            const QTabBar *bar = sheets->tabBar();
            for (const QToolButton *arrow : bar->findChildren<QToolButton *>())
                QVERIFY2(!arrow->isVisible(), qPrintable(sheets->objectName()));
            // The tabs at their full size fit: no caption is shortened.
            QVERIFY2(bar->sizeHint().width() <= bar->width(), qPrintable(sheets->objectName()));
            for (int tab = 0; tab < sheets->count(); ++tab) {
                const QRect place = bar->tabRect(tab);
                const QString what = sheets->objectName() + u' ' + sheets->tabText(tab);
                QVERIFY2(bar->rect().contains(place), qPrintable(what));
                QVERIFY2(sheets->rect().contains(place.translated(bar->pos())), qPrintable(what));
            }
        }
    }

    void headerPageDefaults()
    {
        TForm5 *designer = openDesigner();
        QVERIFY(designer->RadioButton1->isChecked());
        QVERIFY(!designer->Edit6->isEnabled());
        QVERIFY(designer->Edit6->isReadOnly());
        QVERIFY(!designer->Button12->isEnabled());
        QVERIFY(!designer->CheckBox63->isChecked());
    }

    void aTickReplacesWhateverTheSlotHeld()
    {
        TForm5 *designer = openDesigner();
        Form6->setSlot(1, u"stale"_qs);
        designer->styleBox(12)->click();
        QCOMPARE(Form6->slot(1), u"disable"_qs);
    }

    void pageSelectionClearsEverySlotButKeepsTicks()
    {
        TForm5 *designer = openDesigner();
        designer->Button1->click();
        designer->styleBox(1)->click();
        QCOMPARE(Form6->slot(1), u"disable"_qs);
        designer->Edit7->setText(u"\"OK\""_qs);
        designer->Id1->setText(u"1"_qs);

        // The page already shown: both steps still happen.
        designer->Button1->click();
        QVERIFY(designer->styleBox(1)->isChecked());
        QVERIFY(slotsEmpty());
        designer->Button13->click();
        QCOMPARE(designer->Memo2->toPlainText(), u"button \"OK\", 1, 25 25 37 12 ,      "_qs);

        // The word comes back only by unticking and ticking again.
        designer->styleBox(1)->click();
        designer->styleBox(1)->click();
        designer->Button13->click();
        QCOMPARE(designer->Memo2->toPlainText(), u"button \"OK\", 1, 25 25 37 12 ,disable      "_qs);

        fillSlots();
        designer->Button18->click();
        QVERIFY(slotsEmpty());
        QCOMPARE(designer->Edit7->text(), u"\"OK\""_qs);
    }

    void newWindowKeepsSlotsUntilAPageButton()
    {
        fillSlots();
        TForm5 *designer = openDesigner();
        QCOMPARE(Form6->slot(12), u"w12"_qs);
        designer->Button11->click();
        QCOMPARE(designer->Memo2->toPlainText(), u"dialog new_table {\ntitle \nsize -1 -1 0 0\noption pixels"_qs);
        QCOMPARE(Form6->slot(1), u"w1"_qs);
        designer->Button4->click();
        QVERIFY(slotsEmpty());
    }

    void twoDesignerWindowsShareTheSlots()
    {
        TForm5 *a = openDesigner();
        TForm5 *b = openDesigner();
        a->Button4->click();
        a->LabeledEdit6->setText(u"4"_qs);
        b->Button1->click();
        b->styleBox(1)->click();

        a->Button16->click();
        QCOMPARE(a->Memo2->toPlainText(), u"list 4, -1 -1 0 0 ,disable      "_qs);

        a->Button4->click();
        QVERIFY(b->styleBox(1)->isChecked());
        QCOMPARE(Form6->slot(1), QString());
        a->Button16->click();
        QCOMPARE(a->Memo2->toPlainText(), u"list 4, -1 -1 0 0 ,      "_qs);
        QVERIFY(b->Memo2->toPlainText().isEmpty());
    }

    void generatorsReplaceTheComponentTextOnly()
    {
        TForm5 *designer = openDesigner();
        designer->Button2->click();
        designer->RadioEdit->setText(u"\"One\""_qs);
        designer->rnEdit->setText(u"never read"_qs);
        designer->LabeledEdit16->setText(u"2"_qs);
        designer->ComboBox1->setCurrentIndex(0);
        designer->ComboBox3->setCurrentText(u"Left"_qs);
        designer->styleBox(11)->click();
        designer->Memo1->setPlainText(u"kept"_qs);

        designer->Button14->click();
        designer->Button14->click();
        QCOMPARE(designer->Memo2->toPlainText(), u"radio \"One\", 2, -1 -1 0 0 ,    flat Push Left"_qs);
        QCOMPARE(designer->Memo1->toPlainText(), u"kept"_qs);
        QCOMPARE(Form6->slot(5), u"flat"_qs);
        QVERIFY(designer->styleBox(11)->isChecked());

        designer->Button3->click();
        designer->LabeledEdit11->setText(u"3"_qs);
        designer->ComboBox4->setCurrentText(u"size drop"_qs);
        designer->Button15->click();
        QCOMPARE(designer->Memo2->toPlainText(), u"combo 3, -1 -1 0 0 ,      size drop"_qs);
    }

    void componentTextGoesToTheCodeMemoAsLines()
    {
        TForm5 *designer = openDesigner();
        designer->Edit1->setText(u"\"Test\""_qs);
        designer->Button11->click();
        designer->Button28->click();
        designer->Button28->click();
        const QString header = u"dialog new_table {\ntitle \"Test\"\nsize -1 -1 0 0\noption pixels\n"_qs;
        QCOMPARE(designer->Memo1->toPlainText(), header + header);
        QCOMPARE(designer->Memo2->toPlainText(), header.chopped(1));

        // Text typed without a closing line break: the piece starts a new line and gets none after it.
        designer->Memo1->setPlainText(u"}"_qs);
        designer->Button28->click();
        QCOMPARE(designer->Memo1->toPlainText(), u"}\n"_qs + header.chopped(1));
    }

    void codeGoesToTheCurrentEditor()
    {
        TForm5 *designer = openDesigner();
        designer->Memo1->setPlainText(u"dialog new_table {\n}\n"_qs);

        // Without an editor nothing happens.
        designer->Button29->click();
        QVERIFY(!Form2);

        TForm2 *editor = TestEnv::newEditor();
        editor->Memo1->setPlainText(u"alias a {"_qs);
        designer->Button29->click();
        designer->Button29->click();
        QCOMPARE(editor->Memo1->toPlainText(), u"alias a {\ndialog new_table {\n}\ndialog new_table {\n}\n\n"_qs);
        QCOMPARE(designer->Memo1->toPlainText(), u"dialog new_table {\n}\n"_qs);
        QVERIFY(editor->hasUnsavedChanges());

        // An empty code memo adds one empty line to an editor whose text ends with a line break.
        designer->Memo1->clear();
        const int lines = editor->Memo1->lineCount();
        designer->Button29->click();
        QCOMPARE(editor->Memo1->lineCount(), lines + 1);
        QVERIFY(editor->Memo1->toPlainText().endsWith(u"\n\n"_qs));
    }

    void noBreakSpacesSurviveBothTransfers()
    {
        TForm2 *editor = TestEnv::newEditor();
        TForm5 *designer = openDesigner();
        designer->Edit1->setText(u"\"a\u00A0b\""_qs);
        designer->Button11->click();
        designer->Button28->click();
        designer->Button29->click();
        QCOMPARE(editor->Memo1->line(1), u"title \"a\u00A0b\""_qs);
    }

    void codeGoesToTheCurrentEditorEvenWhenAnotherIsActive()
    {
        TForm5 *designer = openDesigner();
        TForm2 *first = TestEnv::newEditor();
        TestEnv::newEditor();
        Form2 = first;
        designer->Memo1->setPlainText(u"on *:dialog:"_qs);
        designer->Button29->click();
        QCOMPARE(first->Memo1->toPlainText(), u"on *:dialog:\n"_qs);

        first->markSaved();
        first->close();
        TestEnv::flushDeletes();
        QVERIFY(!Form2);
        designer->Button29->click(); // no current editor again: nothing happens
    }

    void iconSwitchAndPictureDialog()
    {
        TForm5 *designer = openDesigner();
        designer->Edit1->setText(u"\"T\""_qs);

        designer->CheckBox63->click();
        QVERIFY(designer->Edit6->isEnabled());
        QVERIFY(designer->Button12->isEnabled());
        designer->Button11->click();
        QCOMPARE(designer->Memo2->toPlainText().split(u'\n').last(), u"icon , 0"_qs);

        dialogs->chooseFile(u"/pics/app.ico"_qs);
        designer->Button12->click();
        QCOMPARE(dialogs->fileRequests.size(), 1);
        QCOMPARE(dialogs->fileRequests[0].kind, Dialogs::FileRequest::Kind::OpenPicture);
        QCOMPARE(designer->Edit6->text(), QDir::toNativeSeparators(u"/pics/app.ico"_qs));

        dialogs->cancelFile();
        designer->Button12->click();
        QCOMPARE(designer->Edit6->text(), QDir::toNativeSeparators(u"/pics/app.ico"_qs));

        designer->Button11->click();
        QString withIcon = designer->Memo2->toPlainText();
        QCOMPARE(withIcon.split(u'\n').size(), 5);
        QVERIFY(withIcon.endsWith(u"\nicon "_qs + QDir::toNativeSeparators(u"/pics/app.ico"_qs) + u", 0"_qs));

        designer->CheckBox63->click();
        QVERIFY(!designer->Edit6->isEnabled());
        QVERIFY(!designer->Button12->isEnabled());
        QVERIFY(!designer->Edit6->text().isEmpty());
        designer->Button11->click();
        QCOMPARE(designer->Memo2->toPlainText(), u"dialog new_table {\ntitle \"T\"\nsize -1 -1 0 0\noption pixels"_qs);

        designer->RadioButton2->click();
        designer->CheckBox63->click();
        designer->Button11->click();
        QCOMPARE(designer->Memo2->toPlainText(), withIcon.replace(u"option pixels"_qs, u"option pixels notheme"_qs));
        QVERIFY(slotsEmpty());
    }
};

QTEST_MAIN(DesignerWindowTest)
#include "test_designer_window.moc"
