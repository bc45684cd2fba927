// The alias creator, the variable creator and the colour code picker, opened from the "Создать" menu
// and writing into the current editor.
#include "app/main_window.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"
#include "support/program_test.h"
#include "support/test_env.h"
#include "wizards/alias_creator_window.h"
#include "wizards/colour_picker_window.h"
#include "wizards/variable_creator_window.h"
#include "wizards/wizard_lines.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace {

const QString kFirstLine = QStringLiteral("first line");

// Runs a menu command that may show a modal window. While the window is open, `inside` runs and then
// the window is closed. Returns whether the window was shown modally.
bool runWithModal(QDialog *dialog, void (TOrl::*command)(), const std::function<void()> &inside = {})
{
    auto shown = std::make_shared<bool>(false);
    QTimer::singleShot(0, dialog, [=] {
        *shown = dialog->isVisible() && QApplication::activeModalWidget() == dialog;
        if (*shown && inside)
            inside();
        dialog->close();
    });
    (Orl->*command)();
    QApplication::processEvents();
    return *shown;
}

// An editor holding one line, with the caret at its start: appended lines must still go to the end.
TForm2 *editorWithFirstLine()
{
    TForm2 *editor = TestEnv::newEditor();
    editor->Memo1->loadText(kFirstLine);
    editor->Memo1->setSelStart(0);
    return editor;
}

QString afterFirstLine(const QStringList &lines)
{
    return kFirstLine + QStringLiteral("\r\n") + lines.join(QStringLiteral("\r\n"));
}

QList<TForm10 *> openPickers()
{
    QList<TForm10 *> pickers;
    for (TForm10 *picker : Orl->findChildren<TForm10 *>()) {
        if (picker->isVisible())
            pickers.append(picker);
    }
    return pickers;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

class WizardsTest : public ProgramTest {
    Q_OBJECT
public:
    WizardsTest() : ProgramTest(ErrorBoxes::Forbidden) { }

private:

    void selectAliasCommand(const QString &command)
    {
        const int row = int(WizardLines::aliasCommands().indexOf(command));
        QVERIFY(row >= 0);
        Form3->ListBox1->setCurrentRow(row);
        QVERIFY(Form3->ListBox1->item(row)->isSelected());
    }

private slots:

    void withNoEditorTheWizardsDoNotOpen()
    {
        QVERIFY(!runWithModal(Form3, &TOrl::N20Click));
        QVERIFY(!runWithModal(Form4, &TOrl::N21Click));
        Orl->N31Click();
        QVERIFY(openPickers().isEmpty());
        QVERIFY(Form10.isNull());
    }

    void aliasCreatorStartsHiddenWithItsCommandList()
    {
        QVERIFY(Form3 && !Form3->isVisible());
        QCOMPARE(Form3->windowTitle(), u".:: Alias Create ::. "_qs);
        QCOMPARE(Form3->size(), QSize(277, 102));
        QCOMPARE(Form3->Button1->text(), u"Создать"_qs);
        QCOMPARE(Form3->AliasName->text(), QString());
        QCOMPARE(Form3->ListBox1->count(), 221);
        for (int row = 0; row < 221; ++row)
            QCOMPARE(Form3->ListBox1->item(row)->text(), WizardLines::aliasCommands().at(row));
        QVERIFY(Form3->ListBox1->selectedItems().isEmpty());
    }

    void aliasLineGoesToTheEnd_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("line");
        // The line itself is built and tested in the core; here the row the list hands over matters.
        QTest::newRow("join") << u"myjoin"_qs << u"join"_qs << u"alias myjoin join"_qs;
        QTest::newRow("dcc chat") << u"x"_qs << u"dcc chat"_qs << u"alias x dcc chat"_qs;
        QTest::newRow("empty last row") << u"x"_qs << QString() << u"alias x "_qs;
    }
    void aliasLineGoesToTheEnd()
    {
        QFETCH(QString, name);
        QFETCH(QString, command);
        QFETCH(QString, line);
        TForm2 *editor = editorWithFirstLine();
        Form3->AliasName->setText(name);
        selectAliasCommand(command);
        Form3->Button1Click();
        QCOMPARE(editor->Memo1->wholeText(), afterFirstLine({line}));
        QCOMPARE(editor->panelText(1), u"Редактирует"_qs);
    }

    void aliasWithNoRowSelectedAppendsNothing()
    {
        TForm2 *editor = editorWithFirstLine();
        Form3->AliasName->setText(u"myjoin"_qs);
        Form3->Button1Click();
        QCOMPARE(editor->Memo1->wholeText(), kFirstLine);
        QVERIFY(!editor->Memo1->Modified());
    }

    void aliasCreatorOpensModallyAndKeepsItsInputs()
    {
        TForm2 *editor = editorWithFirstLine();
        const bool shown = runWithModal(Form3, &TOrl::N20Click, [] {
            QCOMPARE(Form3->AliasName->text(), QString());
            Form3->AliasName->setText(u"myjoin"_qs);
            Form3->ListBox1->setCurrentRow(int(WizardLines::aliasCommands().indexOf(u"join"_qs)));
            QTest::mouseClick(Form3->Button1, Qt::LeftButton);
            QTest::mouseClick(Form3->Button1, Qt::LeftButton);
        });
        QVERIFY(shown);
        QVERIFY(!Form3->isVisible());
        QCOMPARE(editor->Memo1->wholeText(), afterFirstLine({u"alias myjoin join"_qs, u"alias myjoin join"_qs}));

        // Shown again: the name and the row are still there, and the line goes to the editor now active.
        TForm2 *second = TestEnv::newEditor();
        Form2 = editor;
        QVERIFY(runWithModal(Form3, &TOrl::N20Click, [] { QTest::mouseClick(Form3->Button1, Qt::LeftButton); }));
        QCOMPARE(Form2.data(), second);
        QCOMPARE(Form3->AliasName->text(), u"myjoin"_qs);
        QCOMPARE(Form3->ListBox1->currentItem()->text(), u"join"_qs);
        QCOMPARE(second->Memo1->wholeText(), u"alias myjoin join\r\n"_qs);
        QCOMPARE(editor->Memo1->lineCount(), 3);
    }

    void variableCreatorStartsHiddenWithTwoRows()
    {
        QVERIFY(Form4 && !Form4->isVisible());
        QCOMPARE(Form4->windowTitle(), u".:: Создние перемменной ::."_qs);
        QCOMPARE(Form4->size(), QSize(283, 90));
        QCOMPARE(Form4->ListBox1->count(), 2);
        QCOMPARE(Form4->ListBox1->item(0)->text(), u"set - Постоянная"_qs);
        QCOMPARE(Form4->ListBox1->item(1)->text(), u"var - Временная"_qs);
        QVERIFY(Form4->ListBox1->selectedItems().isEmpty());
    }

    void variableLineGoesToTheEnd_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("line");
        QTest::newRow("set") << 0 << u"count"_qs << u"set %count"_qs;
        QTest::newRow("var") << 1 << u"count"_qs << u"var %count"_qs;
    }
    void variableLineGoesToTheEnd()
    {
        QFETCH(int, row);
        QFETCH(QString, name);
        QFETCH(QString, line);
        TForm2 *editor = editorWithFirstLine();
        QVERIFY(editor->Active());
        Form4->Edit->setText(name);
        Form4->ListBox1->setCurrentRow(row);
        Form4->Button1Click();
        QCOMPARE(editor->Memo1->wholeText(), afterFirstLine({line}));
    }

    void variableCreatorWritesOnlyIntoTheActiveEditor()
    {
        TForm2 *first = TestEnv::newEditor();
        TForm2 *second = TestEnv::newEditor();
        QVERIFY(second->Active() && !first->Active());
        Form4->Edit->setText(u"count"_qs);
        Form4->ListBox1->setCurrentRow(0);

        Form2 = first;
        Form4->Button1Click();
        Form2 = nullptr;
        Form4->Button1Click();
        QCOMPARE(first->Memo1->wholeText(), QString());
        QCOMPARE(second->Memo1->wholeText(), QString());

        Form2 = second;
        Form4->ListBox1->clearSelection();
        Form4->Button1Click();
        QCOMPARE(second->Memo1->wholeText(), QString());
    }

    void variableCreatorOpensModally()
    {
        TForm2 *editor = TestEnv::newEditor();
        QVERIFY(runWithModal(Form4, &TOrl::N21Click, [editor] {
            QVERIFY(editor->Active());
            Form4->Edit->setText(u"count"_qs);
            Form4->ListBox1->setCurrentRow(1);
            QTest::mouseClick(Form4->Button1, Qt::LeftButton);
            QTest::mouseClick(Form4->Button1, Qt::LeftButton);
        }));
        QCOMPARE(editor->Memo1->wholeText(), u"var %count\r\nvar %count\r\n"_qs);
        QVERIFY(runWithModal(Form4, &TOrl::N21Click));
        QCOMPARE(Form4->Edit->text(), u"count"_qs);
        QCOMPARE(Form4->ListBox1->currentRow(), 1);
    }

    void colourPickerLayout()
    {
        TestEnv::newEditor();
        Orl->N31Click();
        QVERIFY(Form10);
        QVERIFY(Form10->isVisible());
        QVERIFY(Form10->windowFlags().testFlags(Qt::Tool | Qt::WindowStaysOnTopHint));
        QCOMPARE(Form10->windowTitle(), u"Цвета"_qs);
        QCOMPARE(Form10->size(), QSize(188, 44));
        const QRgb colours[15] = {qRgb(255, 255, 255), qRgb(0, 0, 0),     qRgb(0, 0, 128),   qRgb(0, 128, 0),
                                  qRgb(255, 0, 0),     qRgb(128, 0, 0),   qRgb(128, 0, 128), qRgb(128, 128, 0),
                                  qRgb(255, 255, 0),   qRgb(0, 255, 0),   qRgb(0, 128, 128), qRgb(0, 255, 255),
                                  qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(192, 192, 192)};
        for (int n = 1; n <= 16; ++n) {
            ColourSquare *panel = Form10->Panel(n);
            QCOMPARE(panel->objectName(), u"Panel%1"_qs.arg(n));
            QCOMPARE(panel->text(), QString::number(n - 1));
            QCOMPARE(panel->frameShadow(), QFrame::Raised);
            QVERIFY(panel->alignment() & Qt::AlignHCenter);
            const QColor background = panel->palette().color(QPalette::Window);
            if (n < 16) {
                QCOMPARE(panel->geometry(), QRect((n - 1) % 8 * 24, (n - 1) / 8 * 24, 17, 17));
                QCOMPARE(background.rgb(), colours[n - 1]);
            }
        }
        QCOMPARE(Form10->Panel(16)->geometry(), QRect(169, 24, 15, 17));
        QCOMPARE(Form10->Panel(16)->palette().color(QPalette::Window), Form10->palette().color(QPalette::Shadow));
    }

    void colourSquareSavesAsItsBytes_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("4") << 4 << QByteArray("\x03\x34\r\n");
        QTest::newRow("12") << 12 << QByteArray("\x03\x31\x32\r\n");
        QTest::newRow("15") << 15 << QByteArray("\x03\x31\x35\r\n");
    }
    void colourSquareSavesAsItsBytes()
    {
        QFETCH(int, number);
        QFETCH(QByteArray, bytes);
        TForm2 *editor = TestEnv::newEditor();
        Orl->N31Click();
        QPointer<TForm10> picker = Form10;
        QTest::mouseClick(picker->Panel(number + 1), Qt::LeftButton);
        TestEnv::flushDeletes();
        QVERIFY(picker.isNull());
        QCOMPARE(editor->Memo1->wholeText(), WizardLines::colourCode(QString::number(number)) + u"\r\n"_qs);

        QTemporaryDir dir;
        const QString path = dir.filePath(u"colours.mrc"_qs);
        dialogs->chooseFile(path);
        Orl->N7Click();
        QCOMPARE(readFile(path), bytes);
    }

    void colourCodeGoesToTheEndAfterExistingText()
    {
        TForm2 *editor = editorWithFirstLine();
        Orl->N31Click();
        QTest::mouseClick(Form10->Panel(1), Qt::LeftButton);
        QCOMPARE(editor->Memo1->wholeText(), afterFirstLine({u"\x03"_qs + u"0"_qs}));
    }

    void backgroundClickClosesWithoutInserting()
    {
        TForm2 *editor = editorWithFirstLine();
        Orl->N31Click();
        QPointer<TForm10> picker = Form10;
        QTest::mouseClick(picker, Qt::LeftButton, {}, QPoint(20, 8)); // between squares 0 and 1
        TestEnv::flushDeletes();
        QVERIFY(picker.isNull());
        QCOMPARE(editor->Memo1->wholeText(), kFirstLine);
    }

    void twoPickersEachInsertAndClose()
    {
        TForm2 *editor = TestEnv::newEditor();
        Orl->N31Click();
        QPointer<TForm10> first = Form10;
        Orl->N31Click();
        QPointer<TForm10> second = Form10;
        QVERIFY(first != second);
        QCOMPARE(openPickers().size(), 2);

        QTest::mouseClick(first->Panel(2), Qt::LeftButton);
        TestEnv::flushDeletes();
        QVERIFY(first.isNull());
        QVERIFY(second && second->isVisible());
        QTest::mouseClick(second->Panel(3), Qt::LeftButton);
        TestEnv::flushDeletes();
        QVERIFY(second.isNull());
        QCOMPARE(editor->Memo1->wholeText(), u"\x03"_qs + u"1\r\n"_qs + u"\x03"_qs + u"2\r\n"_qs);
    }

    void pickerWritesIntoTheCurrentEditorNotTheActiveOne()
    {
        TForm2 *first = TestEnv::newEditor();
        TForm2 *second = TestEnv::newEditor();
        Orl->N31Click();
        QCOMPARE(Form2.data(), second);
        Orl->clientArea()->setActiveSubWindow(first);
        QVERIFY(first->Active());
        QTest::mouseClick(Form10->Panel(5), Qt::LeftButton);
        QCOMPARE(first->Memo1->wholeText(), QString());
        QCOMPARE(second->Memo1->wholeText(), u"\x03"_qs + u"4\r\n"_qs);
    }

    void pickerOutlivingItsEditorClosesWithoutInserting()
    {
        TForm2 *editor = TestEnv::newEditor();
        Orl->N31Click();
        QPointer<TForm10> picker = Form10;
        editor->close();
        TestEnv::flushDeletes();
        QVERIFY(Form2.isNull());
        QTest::mouseClick(picker->Panel(5), Qt::LeftButton);
        TestEnv::flushDeletes();
        QVERIFY(picker.isNull());
        QCOMPARE(Orl->MDIChildCount(), 0);
    }
};

QTEST_MAIN(WizardsTest)
#include "test_wizards.moc"
