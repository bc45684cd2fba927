#pragma once

#include <QApplication>

// The application object: no exception of a handler ever crosses Qt's event loop.
class OrlApplication : public QApplication {
public:
    OrlApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

// Creates the windows in start-up order: the main window (filling its palettes), then hidden
// Form3, Form4, Form6, Form8, Form9 and Form11.
void createApplicationWindows();

// Frees every window the program made, the main window last.
void destroyApplicationWindows();
