// Prints how often the dialog-table check speaks on the real scripts of the corpus: for every file
// with dialog tables, its tables, their lines, and the errors and warnings found per 100 of those
// lines. INI-format scripts are read as the editor shows them, with their "nN=" prefixes.
#include "common/win1251_codec.h"
#include "language/dialog_checks.h"
#include "language/dialog_table.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

struct Tally {
    int tables = 0;
    int lines = 0;
    int errors = 0;
    int warnings = 0;
};

QStringList linesOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = Win1251::decode(file.readAll());
    text.replace(u"\r\n"_qs, u"\n"_qs).replace(u'\r', u'\n');
    return text.split(u'\n');
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
        result.errors += int(DialogChecks::countOf(problems, DialogChecks::Severity::Error));
        result.warnings += int(DialogChecks::countOf(problems, DialogChecks::Severity::Warning));
        for (const DialogChecks::Problem &problem : problems) {
            static const char *const kinds[] = {"error", "warning", "note"};
            if (listThem)
                std::printf("    %5d %-7s %s\n          %s\n", problem.line + 1, kinds[int(problem.severity)],
                            qPrintable(problem.reason), qPrintable(lines.at(problem.line).trimmed()));
        }
        i = span->lastLine;
    }
    return result;
}

double per100(int count, int lines)
{
    return lines > 0 ? 100.0 * count / lines : 0.0;
}

void print(const QString &name, const Tally &tally)
{
    std::printf("%-26s tables %3d  lines %5d  errors %3d (%5.2f per 100 lines)  warnings %3d (%5.2f per 100 lines)\n",
                qPrintable(name), tally.tables, tally.lines, tally.errors, per100(tally.errors, tally.lines),
                tally.warnings, per100(tally.warnings, tally.lines));
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
        print(name, file);
        total.tables += file.tables;
        total.lines += file.lines;
        total.errors += file.errors;
        total.warnings += file.warnings;
    }
    print(u"all"_qs, total);
    return total.tables > 0 ? 0 : 1;
}
