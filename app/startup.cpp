#include "app/startup.h"

#include "app/command_line.h"
#include "app/main_window.h"
#include "auxiliary/about_window.h"
#include "auxiliary/empty_window.h"
#include "auxiliary/search_window.h"
#include "catalogue/catalogue_window.h"
#include "common/dialog_seam.h"
#include "common/handler_guard.h"
#include "editor/script_memo_accessible.h"
#include "wizards/alias_creator_window.h"
#include "wizards/variable_creator_window.h"

#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>

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

void describeApplication(QCoreApplication *application)
{
    QCoreApplication::setApplicationName(Dialogs::kApplicationTitle);
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
        std::fputs(request.text.toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Request::Action::Fail:
        if (request.mayBeToolkitOptions)
            break;
        std::fputs(request.text.toLocal8Bit().constData(), stderr);
        return 1;
    case CommandLine::Request::Action::Run:
        break;
    }
    return std::nullopt;
}

void createApplicationWindows()
{
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
