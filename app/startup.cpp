#include "app/startup.h"

#include "app/main_window.h"
#include "auxiliary/about_window.h"
#include "auxiliary/empty_window.h"
#include "auxiliary/search_window.h"
#include "catalogue/catalogue_window.h"
#include "common/dialog_seam.h"
#include "common/handler_guard.h"
#include "wizards/alias_creator_window.h"
#include "wizards/variable_creator_window.h"

OrlApplication::OrlApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(Dialogs::kApplicationTitle);
}

bool OrlApplication::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    runGuarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
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
