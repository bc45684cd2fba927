#pragma once

#include "support/scripted_dialogs.h"

#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class QTemporaryDir;
class TForm2;

// The base of the window tests: before each test function the program's windows are created as
// main() creates them, with every dialog answered by a script; after it they are freed. Each test
// function has settings of its own in a temporary folder, and the program looks for Dat/ in the
// working directory only.
class ProgramTest : public QObject {
    Q_OBJECT
protected:
    enum class Start {
        BeforeEachTest, // the program runs when a test function begins
        ByTheTest,      // the test starts it itself (in a working folder of its choice)
    };
    enum class ErrorBoxes {
        Allowed,   // the start-up's questions are forgotten; the tests read dialogs->errors() themselves
        Forbidden, // an error box at any time, start-up included, fails the test
    };

    explicit ProgramTest(ErrorBoxes errorBoxes = ErrorBoxes::Allowed, Start start = Start::BeforeEachTest);
    ~ProgramTest() override;

    // What a test class adds before each test function, once the program runs, and after it, once
    // the program has ended.
    virtual void setUpTest() { }
    virtual void tearDownTest() { }

    ScriptedDialogs *dialogs = nullptr;

    // A file name in a folder of the test function's own, emptied after it.
    QString path(const QString &name) const { return m_folder->filePath(name); }
    // The folder that holds the test function's settings in place of the user's.
    QString settingsFolder() const { return m_settingsDir->path(); }

    // Opens a file as "Открыть..." does, the open dialog answering with it; returns the current
    // editor afterwards (the new window, or the one before when the file could not be opened).
    TForm2 *openFile(const QString &file);

private slots:
    void init();
    void cleanup();

private:
    ErrorBoxes m_errorBoxes;
    Start m_start;
    QString m_startDir;
    std::unique_ptr<QTemporaryDir> m_settingsDir;
    std::unique_ptr<QTemporaryDir> m_folder;
};
