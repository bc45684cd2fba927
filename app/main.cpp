#include "app/main_window.h"
#include "app/startup.h"
#include "common/dialog_seam.h"
#include "common/handler_guard.h"

int main(int argc, char *argv[])
{
    OrlApplication app(argc, argv);
    int status = 0;
    try {
        createApplicationWindows();
        Orl->showMaximized();
        status = app.exec();
    } catch (const OrlError &error) {
        Dialogs::showError(errorBoxText(error.message()));
    } catch (...) {
        Dialogs::showError(QString());
    }
    destroyApplicationWindows();
    return status;
}
