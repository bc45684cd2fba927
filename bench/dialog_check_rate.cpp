// Prints how often the dialog-table check speaks on the real scripts of the corpus: for every file
// with dialog tables, its tables, their lines, and the problems found per 100 of those lines.
#include "common/win1251_codec.h"
#include "language/dialog_checks.h"
#include "language/dialog_table.h"
#include "language/script_lexer.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

struct Tally {
    int tables = 0;
    int lines = 0;
    int problems = 0;
};

QStringList linesOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = Win1251::decode(file.readAll());
    text.replace(u"\r\n"_qs, u"\n"_qs).replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    // INI-format scripts: the line's text follows its "nN=".
    for (QString &line : lines)
        line.remove(0, ScriptLexer::linePrefixLength(line));
    return lines;
}

Tally tally(const QStringList &lines, bool listThem)
{
    const StringListLines source(lines);
    Tally result;
    for (int i = 0; i < source.lineCount(); ++i) {
        const std::optional<DialogTable::Span> span = DialogTable::tableAt(source, i);
        if (!span)
            continue;
        ++result.tables;
        result.lines += span->lastLine - span->headerLine + 1;
        const QList<DialogChecks::Problem> problems = DialogChecks::check(DialogTable::readTable(source, *span));
        result.problems += int(problems.size());
        for (const DialogChecks::Problem &problem : problems) {
            if (listThem)
                std::printf("    %5d: %s\n      %s\n", problem.line + 1, qPrintable(problem.reason),
                            qPrintable(lines.at(problem.line).trimmed()));
        }
        i = span->lastLine;
    }
    return result;
}

double per100(int count, int lines)
{
    return lines > 0 ? 100.0 * count / lines : 0.0;
}

} // namespace

int main(int argc, char **argv)
{
    // "-v" lists every problem under its file; a folder given replaces the corpus.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    const bool listThem = args.removeAll(u"-v"_qs) > 0;
    const QDir dir(args.isEmpty() ? QStringLiteral(ORL_BENCH_CORPUS_DIR) : args.first());
    Tally total;
    for (const QString &name : dir.entryList({u"*.mrc"_qs, u"*.ini"_qs}, QDir::Files, QDir::Name)) {
        const Tally file = tally(linesOf(dir.filePath(name)), listThem);
        if (file.tables == 0)
            continue;
        std::printf("%-26s tables %3d  lines %5d  problems %4d (%5.2f per 100 lines)\n", qPrintable(name),
                    file.tables, file.lines, file.problems, per100(file.problems, file.lines));
        total.tables += file.tables;
        total.lines += file.lines;
        total.problems += file.problems;
    }
    std::printf("%-26s tables %3d  lines %5d  problems %4d (%5.2f per 100 lines)\n", "all", total.tables,
                total.lines, total.problems, per100(total.problems, total.lines));
    return total.tables > 0 ? 0 : 1;
}
