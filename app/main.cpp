#include "app/command_line.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "common/dialog_seam.h"
#include "common/handler_guard.h"

int main(int argc, char *argv[])
{
    if (const std::optional<int> status = answerWithoutWindows(argc, argv))
        return *status;
    OrlApplication app(argc, argv);
    const CommandLine::Request request = CommandLine::parse(QCoreApplication::arguments());
    if (request.action != CommandLine::Request::Action::Run) {
        const bool failed = request.action == CommandLine::Request::Action::Fail;
        printForUser(request.text, failed);
        return failed ? 1 : 0;
    }
    int status = 0;
    try {
        createApplicationWindows();
        Orl->showAsLastTime();
        Orl->openFiles(request.files);
        status = app.exec();
    } catch (const OrlError &error) {
        Dialogs::showError(errorBoxText(error.message()));
    } catch (...) {
        Dialogs::showError(QString());
    }
    destroyApplicationWindows();
    return status;
}
