// Orl on the desktop: where it finds its data, files given on the command line or dropped on its
// windows, saving as desktop editors do (the replace question, "Сохранить" to the window's own file,
// dialogs in the file's folder), what it remembers between runs, and the toolkit speaking Russian.
#include "app/command_line.h"
#include "app/main_window.h"
#include "app/remembered.h"
#include "app/startup.h"
#include "catalogue/data_folder.h"
#include "common/handler_guard.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"
#include "support/program_test.h"
#include "support/test_env.h"
#include "support/test_files.h"

#include <QDirIterator>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

#include <sys/stat.h>

namespace {

using TestFiles::readFile;
using TestFiles::writeFile;

// A Dat/ folder under dir whose every palette's first label is the given word.
void makeDataFolder(const QString &dir, const QByteArray &word, const QString &left = {})
{
    QVERIFY(QDir(dir).mkpath(QStringLiteral("Dat")));
    for (const char *name : {"simbol.orl", "On.orl", "Identifers.orl", "Comands.orl", "DialogBox.orl"}) {
        if (QLatin1String(name) != left)
            writeFile(dir + QStringLiteral("/Dat/") + QLatin1String(name), word + "\r\n");
    }
}

// Drops the mime data on a widget at its centre, as a drag from a file manager ends.
bool drop(QWidget *target, std::unique_ptr<QMimeData> data)
{
    const QPointF centre = QRectF(target->rect()).center();
    QDragEnterEvent enter(centre.toPoint(), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent dropped(centre, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
    QApplication::processEvents();
    return dropped.isAccepted();
}

std::unique_ptr<QMimeData> filesData(const QStringList &paths)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls.append(QUrl::fromLocalFile(path));
    data->setUrls(urls);
    return data;
}

QStringList captions(const QList<TForm2 *> &windows)
{
    QStringList titles;
    for (const TForm2 *window : windows)
        titles.append(window->windowTitle());
    return titles;
}

} // namespace

class DesktopFilesTest : public ProgramTest {
    Q_OBJECT
public:
    DesktopFilesTest() : ProgramTest(ErrorBoxes::Allowed, Start::ByTheTest) { }

private:
    // Starts the program; the questions of an earlier run are forgotten, those of this start kept.
    void start()
    {
        dialogs->clear();
        TestEnv::startProgram();
    }

    void restart()
    {
        TestEnv::endProgram();
        start();
    }


    QStringList recentMenuFiles() const
    {
        emit Orl->recentFilesMenu()->aboutToShow();
        QStringList files;
        for (const QAction *item : Orl->recentFilesMenu()->actions())
            files.append(item->data().toString());
        return files;
    }

private slots:
    void dataComesFromTheFirstFolderHoldingDat()
    {
        const QString beside = path(u"beside"_qs), installed = path(u"installed"_qs), work = path(u"work"_qs);
        makeDataFolder(beside, "beside");
        makeDataFolder(installed, "installed");
        QVERIFY(QDir().mkpath(work));
        QVERIFY(QDir::setCurrent(work));
        DataFolder::overrideSearchOrder({QString(), beside, installed});
        start();
        QVERIFY(dialogs->errors().isEmpty());
        QCOMPARE(Orl->Simbol->item(0)->text(), u"beside"_qs);
        QCOMPARE(Orl->Dialog2->item(0)->text(), u"beside"_qs);

        // The working directory's Dat/ comes first; a missing file there is named as before.
        makeDataFolder(work, "work", u"Comands.orl"_qs);
        restart();
        QCOMPARE(Orl->Simbol->item(0)->text(), u"work"_qs);
        QCOMPARE(dialogs->errors(), QStringList{u"Cannot open file Dat/Comands.orl."_qs});
        QCOMPARE(Orl->Comands->count(), 0);

        // A file missing from a folder found elsewhere is named with that folder.
        DataFolder::overrideSearchOrder({path(u"empty"_qs), installed});
        QFile::remove(installed + u"/Dat/On.orl"_qs);
        restart();
        QCOMPARE(dialogs->errors(), QStringList{u"Cannot open file %1/Dat/On.orl."_qs.arg(installed)});
        QCOMPARE(Orl->Simbol->item(0)->text(), u"installed"_qs);
    }

    void theSearchGoesFromTheWorkingFolderToTheProgramsThenTheInstalledOne()
    {
        DataFolder::overrideSearchOrder({});
        const QStringList order = DataFolder::searchOrder();
        QCOMPARE(order.at(0), QString());
        QCOMPARE(order.at(1), QCoreApplication::applicationDirPath());
#ifdef Q_OS_WIN
        // Installed, Dat/ is beside orl.exe.
        QCOMPARE(order.size(), 2);
#else
        QVERIFY(order.size() >= 3);
        QVERIFY2(order.last().endsWith(u"/share/orl"_qs), qPrintable(order.last()));
#endif
    }

    void whatIsRememberedIsKeptInOneFile()
    {
        describeApplication(qApp);
        start();
        writeFile(path(u"kept.mrc"_qs), "k");
        openFile(path(u"kept.mrc"_qs));
        Orl->N9Click();
#ifdef Q_OS_WIN
        const QString expected = u"orl/Orl.ini"_qs; // in %APPDATA%, not in the registry
#else
        const QString expected = u"orl/Orl.conf"_qs;
#endif
        QCOMPARE(Remembered::fileName(), QDir(settingsFolder()).filePath(expected));
        QStringList files;
        QDirIterator found(settingsFolder(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (found.hasNext())
            files.append(QDir(settingsFolder()).relativeFilePath(found.next()));
        QCOMPARE(files, QStringList{expected});
        QCOMPARE(Remembered::recentFiles(), QStringList{path(u"kept.mrc"_qs)});
    }

    void commandLineAsksForFilesHelpOrVersion()
    {
        describeApplication(qApp);
        using Action = CommandLine::Request::Action;
        const CommandLine::Request files = CommandLine::parse({u"orl"_qs, u"a.mrc"_qs, u"/tmp/b c.mrc"_qs});
        QCOMPARE(files.action, Action::Run);
        QCOMPARE(files.files, (QStringList{u"a.mrc"_qs, u"/tmp/b c.mrc"_qs}));
        const CommandLine::Request version = CommandLine::parse({u"orl"_qs, u"--version"_qs});
        QCOMPARE(version.action, Action::ShowVersion);
        QCOMPARE(version.text, u"Orl 1.0\n"_qs);
        const CommandLine::Request help = CommandLine::parse({u"orl"_qs, u"-h"_qs});
        QCOMPARE(help.action, Action::ShowHelp);
        QVERIFY2(help.text.contains(u"[ФАЙЛ...]"_qs) && help.text.contains(u"--version"_qs), qPrintable(help.text));
        const CommandLine::Request bogus = CommandLine::parse({u"orl"_qs, u"--bogus"_qs});
        QCOMPARE(bogus.action, Action::Fail);
        QVERIFY(!bogus.mayBeToolkitOptions);
        QVERIFY(bogus.text.contains(u"bogus"_qs));
        // -platform xcb is the toolkit's; the application object takes it out before the line is read again.
        QVERIFY(CommandLine::parse({u"orl"_qs, u"-platform"_qs, u"xcb"_qs}).mayBeToolkitOptions);
    }

    void filesOnTheCommandLineOpenAsOpenWouldOpenThem()
    {
        writeFile(path(u"a.mrc"_qs), "alias a {\r\n}");
        writeFile(path(u"b.mrc"_qs), "b");
        start();
        QVERIFY(QDir::setCurrent(path(QString()))); // relative names are taken from the working folder
        // What cannot be read as a file leaves no window: a missing file, a FIFO (whose opening
        // would wait for a writer) and a device.
        const QStringList endless = TestFiles::endlessPaths(u"pipe.mrc"_qs);
        Orl->openFiles(QStringList{u"a.mrc"_qs, u"missing.mrc"_qs} + endless + QStringList{path(u"b.mrc"_qs)});
        QCOMPARE(captions(Orl->editorWindows()), (QStringList{path(u"a.mrc"_qs), path(u"b.mrc"_qs)}));
        QStringList refused{u"Cannot open file %1."_qs.arg(path(u"missing.mrc"_qs))};
        for (const QString &name : endless)
            refused.append(u"Cannot open file %1."_qs.arg(QFileInfo(name).absoluteFilePath()));
        QCOMPARE(dialogs->errors(), refused);
        QCOMPARE(Orl->editorWindows().first()->Memo1->wholeText(), u"alias a {\r\n}"_qs);
        QCOMPARE(Form2->Memo1->wholeText(), u"b"_qs);
        QVERIFY(!Form2->hasUnsavedChanges());
    }

    void droppedFilesOpenAndDroppedTextGoesIntoTheText()
    {
        writeFile(path(u"one.mrc"_qs), "one");
        writeFile(path(u"two.mrc"_qs), "two");
        start();
        TForm2 *editor = TestEnv::newEditor();
        TestEnv::type(editor->Memo1, u"kept"_qs);
        QVERIFY(drop(editor->Memo1->viewport(), filesData({path(u"one.mrc"_qs), path(u"two.mrc"_qs)})));
        QCOMPARE(editor->Memo1->wholeText(), u"kept"_qs);
        QCOMPARE(captions(Orl->editorWindows()), (QStringList{u"script1.mrc"_qs, path(u"one.mrc"_qs), path(u"two.mrc"_qs)}));
        QCOMPARE(Form2->Memo1->wholeText(), u"two"_qs);

        // A file dropped on the main window, beside the editors, opens too.
        QVERIFY(drop(Orl, filesData({path(u"one.mrc"_qs)})));
        QCOMPARE(Orl->MDIChildCount(), 4);

        auto text = std::make_unique<QMimeData>();
        text->setText(u" dropped"_qs);
        editor->Memo1->setSelStart(editor->Memo1->textLength());
        drop(editor->Memo1->viewport(), std::move(text));
        QVERIFY2(editor->Memo1->wholeText().contains(u"dropped"_qs), qPrintable(editor->Memo1->wholeText()));
        QCOMPARE(Orl->MDIChildCount(), 4);
    }

    void replacingAFileAsksFirst()
    {
        const QString target = path(u"old.mrc"_qs);
        writeFile(target, "old");
        start();
        TForm2 *editor = TestEnv::newEditor();
        TestEnv::type(editor->Memo1, u"new"_qs);
        // No: back to the dialog, which shows the refused name; cancelling it writes nothing.
        dialogs->chooseFile(target);
        dialogs->answer(Dialogs::Button::No);
        dialogs->cancelFile();
        Orl->N7Click();
        QCOMPARE(dialogs->messages.size(), 1);
        QCOMPARE(dialogs->messages.first().text, u"Файл %1 уже существует.\nЗаменить его?"_qs.arg(target));
        QCOMPARE(dialogs->messages.first().buttons, (QList<Dialogs::Button>{Dialogs::Button::Yes, Dialogs::Button::No}));
        QCOMPARE(dialogs->fileRequests.size(), 2);
        QCOMPARE(dialogs->fileRequests.last().fileName, target);
        QCOMPARE(readFile(target), QByteArray("old"));
        QVERIFY(editor->Memo1->Modified());
        // Yes replaces it; a new name is not asked about.
        dialogs->chooseFile(target);
        dialogs->answer(Dialogs::Button::Yes);
        Orl->N7Click();
        QCOMPARE(readFile(target), QByteArray("new"));
        dialogs->chooseFile(path(u"fresh.mrc"_qs));
        Orl->N7Click();
        QCOMPARE(dialogs->messages.size(), 2);
    }

    void saveWritesToTheWindowsOwnFile()
    {
        const QString opened = path(u"opened.mrc"_qs);
        writeFile(opened, "first");
        start();
        TForm2 *window = openFile(opened);
        TestEnv::type(window->Memo1, u"+"_qs);
        Orl->N6Click();
        QCOMPARE(dialogs->fileRequests.size(), 1); // only the open dialog
        QCOMPARE(readFile(opened), QByteArray("+first"));

        // A new window asks once; a window saved under another name with "Сохранить как..." then
        // writes there.
        TForm2 *fresh = TestEnv::newEditor();
        TestEnv::type(fresh->Memo1, u"x"_qs);
        dialogs->chooseFile(path(u"fresh.mrc"_qs));
        Orl->N6Click();
        Orl->N6Click();
        QCOMPARE(dialogs->fileRequests.size(), 2);
        Orl->clientArea()->setActiveSubWindow(window);
        dialogs->chooseFile(path(u"copy.mrc"_qs));
        Orl->N7Click();
        // The dialog proposes the window's own file, not the one another window saved last; the
        // window then shows the file it writes.
        QCOMPARE(dialogs->fileRequests.last().fileName, opened);
        QCOMPARE(window->windowTitle(), path(u"copy.mrc"_qs));
        QCOMPARE(window->panelText(2), path(u"copy.mrc"_qs));
        TestEnv::type(window->Memo1, u"!"_qs);
        Orl->N6Click();
        QCOMPARE(readFile(path(u"copy.mrc"_qs)), QByteArray("+!first"));
        QCOMPARE(readFile(opened), QByteArray("+first"));
        QCOMPARE(readFile(path(u"fresh.mrc"_qs)), QByteArray("x"));
    }

    void dialogsStartInTheActiveFilesFolderElseTheLastOne()
    {
        QVERIFY(QDir().mkpath(path(u"scripts"_qs)));
        QVERIFY(QDir().mkpath(path(u"saved"_qs)));
        const QString script = path(u"scripts/s.mrc"_qs);
        writeFile(script, "s");
        start();
        Orl->N4Click();
        QCOMPARE(dialogs->fileRequests.last().directory, QString()); // a first run knows no folder
        TForm2 *opened = openFile(script);
        Orl->N4Click();
        QCOMPARE(dialogs->fileRequests.last().directory, path(u"scripts"_qs));
        TestEnv::newEditor();
        dialogs->chooseFile(path(u"saved/n.mrc"_qs));
        Orl->N6Click();
        QCOMPARE(dialogs->fileRequests.last().directory, path(u"scripts"_qs));
        Orl->clientArea()->setActiveSubWindow(opened);
        Orl->N4Click();
        QCOMPARE(dialogs->fileRequests.last().directory, path(u"scripts"_qs));
        // The last folder outlives the program.
        restart();
        Orl->N4Click();
        QCOMPARE(dialogs->fileRequests.last().directory, path(u"saved"_qs));
    }

    void recentFilesListTheNewestTenAndOpenThem()
    {
        start();
        QVERIFY(!Orl->recentFilesMenu()->menuAction()->isEnabled());
        QStringList files;
        for (int i = 0; i < 12; ++i) {
            files.append(path(u"f%1.mrc"_qs.arg(i)));
            writeFile(files.last(), QByteArray::number(i));
            openFile(files.last());
        }
        openFile(files.at(5));
        QStringList expected{files.at(5), files.at(11), files.at(10), files.at(9), files.at(8),
                             files.at(7), files.at(6), files.at(4), files.at(3), files.at(2)};
        QCOMPARE(recentMenuFiles(), expected);
        QCOMPARE(Orl->recentFilesMenu()->actions().first()->text(), u"&1 %1"_qs.arg(files.at(5)));

        // Kept for the next run; an item opens its file; a file gone since leaves the list.
        restart();
        QVERIFY(Orl->recentFilesMenu()->menuAction()->isEnabled());
        QCOMPARE(recentMenuFiles(), expected);
        Orl->recentFilesMenu()->actions().at(1)->trigger();
        QCOMPARE(Form2->windowTitle(), files.at(11));
        QCOMPARE(Form2->Memo1->wholeText(), u"11"_qs);
        QFile::remove(files.at(9));
        runGuarded([] { Orl->recentFilesMenu()->actions().at(3)->trigger(); });
        QCOMPARE(dialogs->errors(), QStringList{u"Cannot open file %1."_qs.arg(files.at(9))});
        QVERIFY(!recentMenuFiles().contains(files.at(9)));
        QCOMPARE(recentMenuFiles().first(), files.at(11));
    }

    void theMainWindowOpensMaximizedFirstThenWhereItWas()
    {
        start();
        Orl->hide();
        Orl->showAsLastTime();
        QVERIFY(Orl->isMaximized());
        Orl->showNormal();
        Orl->setGeometry(40, 50, 700, 760);
        QApplication::processEvents();
        const QSize placed = Orl->size();
        Orl->N9Click();
        TestEnv::endProgram();
        start();
        Orl->hide();
        Orl->showAsLastTime();
        QApplication::processEvents();
        QVERIFY(!Orl->isMaximized());
        QCOMPARE(Orl->size(), placed);
    }

    void theToolkitSpeaksRussian()
    {
        start();
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Save As"), u"Сохранить как"_qs);
        QCOMPARE(QCoreApplication::translate("QWidgetTextControl", "&Undo"), u"&Отменить действие"_qs);
        // The message boxes' own buttons, with the real box.
        QStringList texts;
        QString defaultText;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            for (QAbstractButton *button : box->buttons())
                texts.append(button->text());
            defaultText = box->defaultButton()->text();
            box->defaultButton()->click();
        });
        Dialogs::setResponder(nullptr);
        const Dialogs::Button answer = Dialogs::ask(
            {Orl, Dialogs::Icon::Question, u"Confirm"_qs, u"?"_qs,
             {Dialogs::Button::Yes, Dialogs::Button::No, Dialogs::Button::Cancel}},
            Dialogs::Button::No);
        Dialogs::setResponder(dialogs);
        texts.sort();
        QCOMPARE(texts, (QStringList{u"&Да"_qs, u"&Нет"_qs, u"Отмена"_qs}));
        QCOMPARE(defaultText, u"&Нет"_qs);
        QCOMPARE(answer, Dialogs::Button::No);
    }

    void fileDialogsHaveRussianCaptionsOfTheirOwn()
    {
        // A desktop's own file dialog shows only the caption the program gives it.
        start();
        QStringList captions;
        const auto readCaptionAndCancel = [&] {
            QTimer::singleShot(0, [&] {
                QWidget *dialog = QApplication::activeModalWidget();
                QVERIFY(dialog);
                captions.append(dialog->windowTitle());
                dialog->close();
            });
        };
        Dialogs::setResponder(nullptr);
        using Kind = Dialogs::FileRequest::Kind;
        for (Kind kind : {Kind::Open, Kind::Save, Kind::OpenPicture}) {
            readCaptionAndCancel();
            QVERIFY(!Dialogs::chooseFile({kind, Orl, QString(), u"Все файлы|*.*"_qs, 0, QString()}).accepted);
        }
        Dialogs::setResponder(dialogs);
        QCOMPARE(captions, (QStringList{u"Открыть"_qs, u"Сохранить как"_qs, u"Открыть изображение"_qs}));
    }

    void theProgramIsNamedAsItsDesktopEntry()
    {
        // Window systems take the name for the windows' class, which docks match to the launcher.
        describeApplication(qApp);
        QCOMPARE(QCoreApplication::applicationName(), u"io.github.orl.Orl"_qs);
        QCOMPARE(QGuiApplication::desktopFileName(), u"io.github.orl.Orl"_qs);
        QFile entry(QStringLiteral(ORL_DATA_DIR "/../desktop/io.github.orl.Orl.desktop"));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        QVERIFY(entry.readAll().contains("\nStartupWMClass=io.github.orl.Orl\n"));
    }
};

QTEST_MAIN(DesktopFilesTest)
#include "test_desktop_files.moc"
