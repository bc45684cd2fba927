#pragma once

#include <QString>
#include <QStringList>

// What the program was asked on its command line: `orl [FILE...]`, `--help` or `--version`.
namespace CommandLine {

struct Request {
    enum class Action {
        Run,         // start the editor and open the files
        ShowHelp,    // print the usage and end
        ShowVersion, // print the name and version and end
        Fail,        // print the error and end
    };
    Action action = Action::Run;
    QStringList files; // as given, in order
    QString text;      // what to print for every action but Run
    // A failure that only single-dash options caused, which may be the toolkit's own (-platform xcb);
    // the application object takes those out, and the line is read again after it.
    bool mayBeToolkitOptions = false;
};

// Reads the arguments (the program's path first) with the application's name and version.
Request parse(const QStringList &arguments);

} // namespace CommandLine
