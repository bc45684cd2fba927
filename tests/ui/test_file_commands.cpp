// The main window's file commands, the editor window's status panels and close question,
// the active-editor rule and the error box, driven through the dialog seam.
#include "app/main_window.h"
#include "common/handler_guard.h"
#include "common/long_task.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"
#include "support/program_test.h"
#include "support/test_env.h"
#include "support/test_files.h"

#include <QAction>
#include <QMdiArea>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

using TestFiles::readFile;
using TestFiles::writeFile;

} // namespace

class FileCommandsTest : public ProgramTest {
    Q_OBJECT
private:
    void closeWindow(TForm2 *window)
    {
        window->close();
        TestEnv::flushDeletes();
    }

private slots:


    void newWindowsAreNumberedByTheOpenWindows()
    {
        TForm2 *first = TestEnv::newEditor();
        TForm2 *second = TestEnv::newEditor();
        QCOMPARE(first->windowTitle(), u"script1.mrc"_qs);
        QCOMPARE(second->windowTitle(), u"script2.mrc"_qs);
        closeWindow(first);
        QCOMPARE(TestEnv::newEditor()->windowTitle(), u"script2.mrc"_qs);
        QCOMPARE(Orl->MDIChildCount(), 2);
    }

    void openedWindowsAreCountedAndCaptionedWithThePath()
    {
        writeFile(path(u"a.mrc"_qs), "x");
        TForm2 *opened = openFile(path(u"a.mrc"_qs));
        QCOMPARE(opened->windowTitle(), path(u"a.mrc"_qs));
        QCOMPARE(TestEnv::newEditor()->windowTitle(), u"script2.mrc"_qs);
        QCOMPARE(dialogs->fileRequests.first().kind, Dialogs::FileRequest::Kind::Open);
        QVERIFY(dialogs->fileRequests.first().filter.startsWith(u"Проект mIRC (.mrc)|*.mrc|Проект INI (.INI)|*.ini|"_qs));
    }

    void statusPanelsFollowChangesAndActivation()
    {
        TForm2 *window = TestEnv::newEditor();
        TestEnv::type(window->Memo1, u"abc"_qs);
        QCOMPARE(window->panelText(0), u"1:4"_qs);
        QCOMPARE(window->panelText(1), u"Редактирует"_qs);
        QCOMPARE(window->panelText(2), u"script1.mrc"_qs);
        // Caret moves alone do not refresh the panels.
        QTest::keyClick(window->Memo1, Qt::Key_Left);
        QCOMPARE(window->panelText(0), u"1:4"_qs);
        QTest::keyClick(window->Memo1, Qt::Key_End);
        QTest::keyClick(window->Memo1, Qt::Key_Return);
        QTest::keyClick(window->Memo1, Qt::Key_Return);
        QTest::keyClick(window->Memo1, Qt::Key_X);
        QCOMPARE(window->panelText(0), u"3:2"_qs);
        // Tab moves the focus; it is not text.
        QTest::keyClick(window->Memo1, Qt::Key_Tab);
        QVERIFY(!window->Memo1->wholeText().contains(u'\t'));
    }

    void openedFileShowsItsStartAndAnEmptyState()
    {
        writeFile(path(u"s.mrc"_qs), "alias x {\r\n  echo\r\n}");
        TForm2 *window = openFile(path(u"s.mrc"_qs));
        QCOMPARE(window->panelText(0), u"1:1"_qs);
        QCOMPARE(window->panelText(1), QString());
        QCOMPARE(window->panelText(2), path(u"s.mrc"_qs));
        QCOMPARE(window->Memo1->lineCount(), 3);
        TestEnv::type(window->Memo1, u"z"_qs);
        QCOMPARE(window->panelText(1), u"Редактирует"_qs);
    }

    void switchingWindowsShowsTheCaptionButKeepsTheCurrentEditor()
    {
        TForm2 *a = TestEnv::newEditor();
        TForm2 *b = TestEnv::newEditor();
        Orl->clientArea()->setActiveSubWindow(a);
        QCOMPARE(a->panelText(2), u"script1.mrc"_qs);
        QCOMPARE(Form2.data(), b); // activation alone does not move the current editor
        Orl->applyActiveEditorRule();
        QCOMPARE(Form2.data(), a);
        closeWindow(a);
        QVERIFY(Form2.isNull());
    }

    void commandsDoNothingWithoutAnEditor()
    {
        for (QAction *item : {Orl->N3, Orl->N6, Orl->N7, Orl->N11, Orl->N12, Orl->N13, Orl->N15, Orl->N16,
                              Orl->N41, Orl->N43, Orl->N44, Orl->N20, Orl->N21, Orl->N31, Orl->N25, Orl->N26,
                              Orl->N28, Orl->N29})
            item->trigger();
        QVERIFY(dialogs->fileRequests.isEmpty());
        QVERIFY(dialogs->messages.isEmpty());
        QCOMPARE(Orl->MDIChildCount(), 0);
    }

    void shortcutsAndToolbarButtonsRunTheirItems()
    {
        QCOMPARE(Orl->N7->shortcut(), QKeySequence(u"Ctrl+S"_qs));
        QCOMPARE(Orl->N6->shortcut(), QKeySequence(u"Shift+Ctrl+S"_qs));
        QCOMPARE(Orl->N44->shortcut(), QKeySequence(u"Ctrl+Alt+Z"_qs));
        QCOMPARE(Orl->N31->shortcut(), QKeySequence(u"Ctrl+K"_qs));
        Orl->ToolButton1->trigger();
        QCOMPARE(Orl->MDIChildCount(), 1);
        // The "Сохранить как..." button asks with the last saved name; Ctrl+S is the same command.
        Orl->ToolButton16->trigger();
        QCOMPARE(dialogs->fileRequests.size(), 1);
        QCOMPARE(dialogs->fileRequests.last().kind, Dialogs::FileRequest::Kind::Save);
        Orl->activateWindow();
        QTest::keySequence(Orl, QKeySequence(u"Ctrl+S"_qs));
        QCOMPARE(dialogs->fileRequests.size(), 2);
    }

    void saveAsksOnceThenWritesDirectly()
    {
        TForm2 *window = TestEnv::newEditor();
        TestEnv::type(window->Memo1, u"a"_qs);
        QTest::keyClick(window->Memo1, Qt::Key_Return);
        TestEnv::type(window->Memo1, u"b"_qs);
        dialogs->chooseFile(path(u"out.mrc"_qs));
        Orl->N6Click();
        QCOMPARE(dialogs->fileRequests.size(), 1);
        QCOMPARE(dialogs->fileRequests.first().fileName, QString());
        QCOMPARE(readFile(path(u"out.mrc"_qs)), QByteArray("a\r\nb"));
        QVERIFY(window->Memo1->Modified()); // "Сохранить" leaves the flag set
        TestEnv::type(window->Memo1, u"ж"_qs);
        Orl->N6Click();
        QCOMPARE(dialogs->fileRequests.size(), 1);
        QCOMPARE(readFile(path(u"out.mrc"_qs)), QByteArray("a\r\nb\xE6"));
        QCOMPARE(Orl->lastSavedFileName(), path(u"out.mrc"_qs));
    }

    void saveAsOffersTheLastNameAndClearsModified()
    {
        TForm2 *window = TestEnv::newEditor();
        dialogs->chooseFile(path(u"first.mrc"_qs));
        Orl->N7Click();
        QCOMPARE(readFile(path(u"first.mrc"_qs)), QByteArray()); // an empty editor gives zero bytes
        TestEnv::type(window->Memo1, u"x"_qs);
        dialogs->chooseFile(path(u"second.ini"_qs), 1);
        Orl->N7Click();
        QCOMPARE(dialogs->fileRequests.at(1).fileName, path(u"first.mrc"_qs));
        QVERIFY(!window->Memo1->Modified());
        // The chosen filter is preselected next time; a cancelled dialog changes nothing.
        dialogs->cancelFile();
        Orl->N7Click();
        QCOMPARE(dialogs->fileRequests.at(2).filterIndex, 1);
        QCOMPARE(Orl->lastSavedFileName(), path(u"second.ini"_qs));
    }

    void aSavedWindowShowsTheFileItWritesAndSaveAsProposesIt()
    {
        TForm2 *first = TestEnv::newEditor();
        TestEnv::type(first->Memo1, u"1"_qs);
        dialogs->chooseFile(path(u"first.mrc"_qs));
        Orl->N7Click();
        QCOMPARE(first->windowTitle(), path(u"first.mrc"_qs));
        QCOMPARE(first->panelText(2), path(u"first.mrc"_qs));
        QCOMPARE(Orl->windowListItems().at(0)->text(), u"&1 "_qs + path(u"first.mrc"_qs));
        // Another window proposes no file of the first one's; named through "Сохранить", it shows its file too.
        TForm2 *second = TestEnv::newEditor();
        dialogs->cancelFile();
        Orl->N7Click();
        QCOMPARE(dialogs->fileRequests.last().fileName, QString());
        dialogs->chooseFile(path(u"second.mrc"_qs));
        Orl->N6Click();
        QCOMPARE(second->windowTitle(), path(u"second.mrc"_qs));
        Orl->clientArea()->setActiveSubWindow(first);
        dialogs->cancelFile();
        Orl->N7Click();
        QCOMPARE(dialogs->fileRequests.last().fileName, path(u"first.mrc"_qs));
        QCOMPARE(first->panelText(2), path(u"first.mrc"_qs));
    }

    void saveNeverWritesOneWindowsTextOverAnothersFile()
    {
        TForm2 *a = TestEnv::newEditor();
        TestEnv::type(a->Memo1, u"from a"_qs);
        dialogs->chooseFile(path(u"a.mrc"_qs));
        Orl->N6Click();
        TForm2 *b = TestEnv::newEditor();
        TestEnv::type(b->Memo1, u"from b"_qs);
        dialogs->chooseFile(path(u"b.mrc"_qs));
        Orl->N6Click();
        QCOMPARE(dialogs->fileRequests.size(), 2);
        QCOMPARE(dialogs->fileRequests.last().fileName, QString());
        QCOMPARE(readFile(path(u"a.mrc"_qs)), QByteArray("from a"));
        QCOMPARE(readFile(path(u"b.mrc"_qs)), QByteArray("from b"));
    }

    void whatCannotBeOpenedLeavesNoWindowAndSaysWhy()
    {
        // A missing file, a folder, and a FIFO, whose opening would wait for a writer for ever.
        const QStringList endless = TestFiles::endlessPaths(path(u"pipe.mrc"_qs));
        TForm2 *kept = TestEnv::newEditor();
        QStringList expected;
        for (const QString &name : QStringList{path(u"missing.mrc"_qs), path(u"folder.mrc"_qs)} + endless) {
            QDir().mkpath(path(u"folder.mrc"_qs));
            QCOMPARE(openFile(name), kept);
            expected.append(u"Cannot open file %1."_qs.arg(name));
        }
        QCOMPARE(dialogs->errors(), expected);
        QCOMPARE(Orl->editorWindows(), QList<TForm2 *>{kept});
    }

    void failedSaveKeepsTheOldFileAndModified()
    {
        const QString target = path(u"no-such-folder/x.mrc"_qs);
        TForm2 *window = TestEnv::newEditor();
        TestEnv::type(window->Memo1, u"text"_qs);
        dialogs->chooseFile(target);
        runGuarded([] { Orl->N7Click(); });
        QCOMPARE(dialogs->errors(), QStringList{u"Cannot create file %1."_qs.arg(target)});
        QCOMPARE(Orl->lastSavedFileName(), target);
        QVERIFY(window->Memo1->Modified());
        QVERIFY(window->hasUnsavedChanges());
    }

    void closingAskesOnlyAboutUnsavedText()
    {
        TForm2 *clean = TestEnv::newEditor();
        closeWindow(clean);
        QVERIFY(dialogs->messages.isEmpty());

        TForm2 *edited = TestEnv::newEditor();
        TestEnv::type(edited->Memo1, u"x"_qs);
        dialogs->answer(Dialogs::Button::Cancel);
        edited->close();
        TestEnv::flushDeletes();
        QCOMPARE(Orl->MDIChildCount(), 1);
        QCOMPARE(dialogs->messages.last().text, u"Текст в окне script1.mrc был изменен. Сохранить изменения?"_qs);
        QCOMPARE(dialogs->messages.last().caption, u"Подтверждение"_qs);

        // Yes with a cancelled save dialog keeps the window; Yes with a name saves and closes.
        dialogs->answer(Dialogs::Button::Yes);
        dialogs->cancelFile();
        Orl->N3Click();
        TestEnv::flushDeletes();
        QCOMPARE(Orl->MDIChildCount(), 1);
        dialogs->answer(Dialogs::Button::Yes);
        dialogs->chooseFile(path(u"kept.mrc"_qs));
        Orl->N3Click();
        TestEnv::flushDeletes();
        QCOMPARE(Orl->MDIChildCount(), 0);
        QCOMPARE(readFile(path(u"kept.mrc"_qs)), QByteArray("x"));

        TForm2 *discarded = TestEnv::newEditor();
        TestEnv::type(discarded->Memo1, u"y"_qs);
        dialogs->answer(Dialogs::Button::No);
        Orl->N3Click();
        TestEnv::flushDeletes();
        QCOMPARE(Orl->MDIChildCount(), 0);
        QVERIFY(Form2.isNull());
    }

    void exitAsksForEachUnsavedWindowAndCancelKeepsTheProgram()
    {
        TForm2 *a = TestEnv::newEditor();
        TestEnv::newEditor();
        TestEnv::type(a->Memo1, u"x"_qs);
        dialogs->answer(Dialogs::Button::Cancel);
        Orl->N9Click();
        QVERIFY(Orl->isVisible());
        QCOMPARE(Orl->MDIChildCount(), 2);
        QCOMPARE(dialogs->messages.size(), 1);
        dialogs->answer(Dialogs::Button::No);
        Orl->N9Click();
        QVERIFY(!Orl->isVisible());
    }

    void windowsStayOpenWhileAFileIsLoadedOrSaved()
    {
        TForm2 *window = TestEnv::newEditor();
        {
            LongTask task(Orl, u"Сохранение"_qs);
            window->close();
            Orl->close();
            TestEnv::flushDeletes();
            QCOMPARE(Orl->MDIChildCount(), 1);
            QVERIFY(Orl->isVisible());
        }
        window->close();
        TestEnv::flushDeletes();
        QCOMPARE(Orl->MDIChildCount(), 0);
    }

    void errorBoxAddsAFullStopByTheRule()
    {
        QCOMPARE(errorBoxText(u"Cannot open file x"_qs), u"Cannot open file x."_qs);
        QCOMPARE(errorBoxText(u"done."_qs), u"done."_qs);
        QCOMPARE(errorBoxText(u"what!"_qs), u"what!"_qs); // '!' is below the full stop
        QCOMPARE(errorBoxText(QString()), QString());
        runGuarded([] { throw SilentAbort(); });
        QVERIFY(dialogs->messages.isEmpty());
        runGuarded([] { throw OrlError(u"boom"_qs); });
        QCOMPARE(dialogs->messages.last().caption, u"Orl"_qs);
        QCOMPARE(dialogs->messages.last().icon, Dialogs::Icon::Error);
    }

    void arrangementWithoutWindowsChangesNothing()
    {
        Orl->N25Click();
        Orl->N26Click();
        Orl->N28Click();
        Orl->N29Click();
        QVERIFY(dialogs->messages.isEmpty());
        TForm2 *a = TestEnv::newEditor();
        TForm2 *b = TestEnv::newEditor();
        Orl->N29Click(); // side by side
        QCOMPARE(a->geometry().top(), b->geometry().top());
        QVERIFY(a->geometry().left() != b->geometry().left());
        Orl->N28Click(); // one above the other
        QCOMPARE(a->geometry().left(), b->geometry().left());
        QVERIFY(a->geometry().top() != b->geometry().top());
    }

    void corpusFilesComeBackByteForByte_data()
    {
        QTest::addColumn<QString>("file");
        const QString corpus = TestEnv::corpusDir();
        if (corpus.isEmpty())
            return;
        for (const QFileInfo &info : QDir(corpus).entryInfoList({u"*.mrc"_qs, u"*.ini"_qs}, QDir::Files))
            QTest::newRow(qPrintable(info.fileName())) << info.absoluteFilePath();
    }
    void corpusFilesComeBackByteForByte()
    {
        if (TestEnv::corpusDir().isEmpty())
            QSKIP("the corpus folder is absent");
        QFETCH(QString, file);
        const QByteArray original = readFile(file);
        openFile(file);
        QVERIFY(dialogs->errors().isEmpty());
        dialogs->chooseFile(path(u"copy"_qs));
        Orl->N7Click();
        QByteArray expected = original;
        expected.replace("\r\n", "\n").replace('\r', '\n').replace("\n", "\r\n");
        QCOMPARE(readFile(path(u"copy"_qs)), expected);
    }

    void aBinaryFileOpensEditsAndSavesByteForByte()
    {
        // Two megabytes of every byte value but the line breaks: one huge line, drawn row by row.
        QByteArray bytes(2 << 20, Qt::Uninitialized);
        QRandomGenerator random(42);
        for (char &b : bytes) {
            do
                b = char(random.bounded(256));
            while (b == '\r' || b == '\n');
        }
        const QString file = path(u"binary.dat"_qs);
        writeFile(file, bytes);
        TForm2 *window = openFile(file);
        QCOMPARE(window->Memo1->lineCount(), 1);
        QVERIFY(!window->Memo1->grab().isNull());
        window->Memo1->setFocus();
        QTest::keyClick(window->Memo1, Qt::Key_End, Qt::ControlModifier);
        TestEnv::type(window->Memo1, u"!"_qs);
        QVERIFY(!window->Memo1->grab().isNull());
        const QString copy = path(u"copy.dat"_qs);
        dialogs->chooseFile(copy);
        Orl->N7Click();
        QCOMPARE(readFile(copy), bytes + "!");
    }

    void aLargeFileOpensWhileTheWindowsStayUsable()
    {
        // Large enough to be read on a thread of its own.
        const QByteArray line = "alias big { echo -a \xF1\xF2\xF0\xEE\xEA\xE0 }\r\n";
        const QByteArray bytes = line.repeated(int((qint64(70) << 20) / line.size()));
        const QString file = path(u"big.mrc"_qs);
        writeFile(file, bytes);
        TForm2 *big = openFile(file);
        QVERIFY(big->Memo1->isLoading());
        QCOMPARE(big->windowTitle(), file);

        // Meanwhile the program takes other work, and nothing can go into the window or out of it.
        TForm2 *other = TestEnv::newEditor();
        QVERIFY(other && other != big);
        big->Memo1->appendAsLine(u"lost"_qs);
        Orl->clientArea()->setActiveSubWindow(big);
        runGuarded([] { Orl->N6Click(); });
        QCOMPARE(dialogs->errors().size(), 1);
        QVERIFY(dialogs->errors().first().contains(u"ещё открывается"_qs));
        QCOMPARE(QFileInfo(file).size(), bytes.size());

        QTRY_VERIFY_WITH_TIMEOUT(!big->Memo1->isLoading(), 30000);
        QCOMPARE(big->Memo1->lineCount(), int(bytes.count('\n')) + 1);
        QCOMPARE(big->Memo1->line(0), u"alias big { echo -a строка }"_qs);
        QVERIFY(!big->Memo1->Modified());
        QVERIFY(!big->hasUnsavedChanges());
        QCOMPARE(big->panelText(2), file);

        // A window closed while its file is still read goes at once, with nothing shown.
        dialogs->clear();
        TForm2 *closed = openFile(file);
        QVERIFY(closed->Memo1->isLoading());
        closeWindow(closed);
        QVERIFY(dialogs->messages.isEmpty());
    }
};

QTEST_MAIN(FileCommandsTest)
#include "test_file_commands.moc"
