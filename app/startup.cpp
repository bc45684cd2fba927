#include "app/startup.h"

#include "app/command_line.h"
#include "app/main_window.h"
#include "auxiliary/about_window.h"
#include "auxiliary/empty_window.h"
#include "auxiliary/search_window.h"
#include "catalogue/catalogue_window.h"
#include "common/dialog_seam.h"
#include "common/field_text.h"
#include "common/handler_guard.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"
#include "editor/script_memo_accessible.h"
#include "wizards/alias_creator_window.h"
#include "wizards/variable_creator_window.h"

#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

OrlApplication::OrlApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    describeApplication(this);
    ScriptMemoAccessible::install();
}

bool OrlApplication::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    runGuarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

namespace {

// Qt's own translation: where the toolkit keeps it, else in translations/ beside the program, as a
// Windows installation carries it.
bool loadToolkitTranslation(QTranslator *translator)
{
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    const QStringList folders{QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                              QCoreApplication::applicationDirPath() + QStringLiteral("/translations")};
    for (const QString &folder : folders) {
        if (translator->load(russian, QStringLiteral("qtbase"), QStringLiteral("_"), folder))
            return true;
    }
    return false;
}

} // namespace

void printForUser(const QString &text, bool error)
{
#ifdef Q_OS_WIN
    // orl.exe is a window program without a console of its own: started from a command prompt it
    // writes to that prompt's console, in its wide characters, since the console's code page is not
    // the one of 8-bit text; output sent to a file or a pipe stays in the system's 8-bit code page.
    const DWORD which = error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE;
    if (!GetStdHandle(which) || GetFileType(GetStdHandle(which)) == FILE_TYPE_UNKNOWN)
        AttachConsole(ATTACH_PARENT_PROCESS);
    const HANDLE handle = GetStdHandle(which);
    DWORD mode = 0;
    if (handle && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        const std::wstring wide = text.toStdWString();
        DWORD written = 0;
        WriteConsoleW(handle, wide.data(), DWORD(wide.size()), &written, nullptr);
        return;
    }
    if (!handle || handle == INVALID_HANDLE_VALUE)
        return;
    const QByteArray bytes = text.toLocal8Bit();
    DWORD written = 0;
    WriteFile(handle, bytes.constData(), DWORD(bytes.size()), &written, nullptr);
#else
    std::fputs(text.toLocal8Bit().constData(), error ? stderr : stdout);
#endif
}

void describeApplication(QCoreApplication *application)
{
    // The desktop entry's name: window systems take the application's name for the windows' class
    // (WM_CLASS) and docks group the windows with the launcher whose desktop entry has that name.
    QCoreApplication::setApplicationName(kApplicationId);
    QGuiApplication::setDesktopFileName(kApplicationId);
    QCoreApplication::setApplicationVersion(QStringLiteral(ORL_VERSION));
    QCoreApplication::setOrganizationName(QStringLiteral("orl"));
    auto *translator = new QTranslator(application);
    if (loadToolkitTranslation(translator))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

std::optional<int> answerWithoutWindows(int argc, char **argv)
{
    // A core application needs no display. The toolkit's own options (-platform, -style ...) are
    // unknown here; a line they may have made malformed is read again once the application object
    // has taken them out.
    QCoreApplication probe(argc, argv);
    describeApplication(&probe);
    const CommandLine::Request request = CommandLine::parse(QCoreApplication::arguments());
    switch (request.action) {
    case CommandLine::Request::Action::ShowHelp:
    case CommandLine::Request::Action::ShowVersion:
        printForUser(request.text, false);
        return 0;
    case CommandLine::Request::Action::Fail:
        if (request.mayBeToolkitOptions)
            break;
        printForUser(request.text, true);
        return 1;
    case CommandLine::Request::Action::Run:
        break;
    }
    return std::nullopt;
}

void createApplicationWindows()
{
    // The wizards' and the designer's fields keep what the current script can hold.
    FieldText::setScriptRepertoire([] {
        return Form2 && Form2->Memo1->document()->isUtf8() ? FieldText::Repertoire::Unicode
                                                           : FieldText::Repertoire::Windows1251;
    });
    // The catalogue window holds the snippet tables the palettes insert; it exists before any
    // palette can be clicked, and the palettes' labels come from the data files, not from it.
    Orl = new TOrl;
    Form3 = new TForm3(Orl);
    Form4 = new TForm4(Orl);
    Form6 = new TForm6;
    Form8 = new TForm8(Orl);
    Form9 = new TForm9(Orl);
    Form11 = new TForm11(Orl);
}

void destroyApplicationWindows()
{
    delete Form6.data();
    delete Orl.data();
}
