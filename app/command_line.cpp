#include "app/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace CommandLine {

Request parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral("Orl — редактор скриптов mIRC."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("файлы"),
                                 QStringLiteral("Файлы скриптов, каждый из которых откроется в своём окне."),
                                 QStringLiteral("[ФАЙЛ...]"));
    Request request;
    if (!parser.parse(arguments)) {
        request.action = Request::Action::Fail;
        request.text = parser.errorText() + QLatin1Char('\n');
        request.mayBeToolkitOptions = !parser.unknownOptionNames().isEmpty();
        for (const QString &name : parser.unknownOptionNames()) {
            const QString doubleDash = QStringLiteral("--") + name;
            for (const QString &argument : arguments) {
                if (argument == doubleDash || argument.startsWith(doubleDash + QLatin1Char('=')))
                    request.mayBeToolkitOptions = false;
            }
        }
        return request;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        request.action = Request::Action::ShowHelp;
        request.text = parser.helpText();
    } else if (parser.isSet(version)) {
        request.action = Request::Action::ShowVersion;
        request.text = QStringLiteral("Orl %1\n").arg(QCoreApplication::applicationVersion());
    }
    request.files = parser.positionalArguments();
    return request;
}

} // namespace CommandLine
