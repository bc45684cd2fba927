#pragma once

#include <QApplication>

#include <optional>

class QCoreApplication;

// The name of the program's desktop entry, its icon and its AppStream metainfo.
inline const QString kApplicationId = QStringLiteral("io.github.orl.Orl");

// The application object: no exception of a handler ever crosses Qt's event loop.
class OrlApplication : public QApplication {
public:
    OrlApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

// Names the program (name, version, desktop entry) and loads Qt's own Russian translation into
// the application object, whatever the locale, so the toolkit's dialogs and menus read Russian too.
void describeApplication(QCoreApplication *application);

// Writes the text of --help, --version or a malformed command line where the user reads it: standard
// output, or standard error.
void printForUser(const QString &text, bool error);

// Answers --help and --version (and a malformed command line) before any window system is
// touched, so they work without a display: the exit status, or nothing when the editor should start.
std::optional<int> answerWithoutWindows(int argc, char **argv);

// Creates the windows in start-up order: the main window (filling its palettes), then hidden
// Form3, Form4, Form6, Form8, Form9 and Form11.
void createApplicationWindows();

// Frees every window the program made, the main window last.
void destroyApplicationWindows();
