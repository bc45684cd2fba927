// Measures the editor's speed and memory on real and generated scripts, offscreen, and prints one
// line per figure: median of several runs with min and max, and the budget it is held to.
#include "app/main_window.h"
#include "app/startup.h"
#include "common/win1251_codec.h"
#include "editor/find_replace_dialogs.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"
#include "support/scripted_dialogs.h"
#include "support/test_env.h"
#include "wizards/alias_creator_window.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QMdiArea>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

struct Figure {
    double median = 0, min = 0, max = 0;
};

Figure measure(int runs, const std::function<void()> &prepare, const std::function<void()> &work)
{
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        times.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return {times.at(times.size() / 2), times.first(), times.last()};
}

// A figure with its budget, or with none where budgetMs is negative.
void report(const QString &name, const Figure &f, double budgetMs = -1)
{
    std::printf("%-58s median %9.3f ms  (min %9.3f, max %9.3f)", qPrintable(name), f.median, f.min, f.max);
    if (budgetMs >= 0)
        std::printf("  budget %8.1f ms  %s", budgetMs, f.median <= budgetMs ? "ok" : "over");
    std::printf("\n");
    std::fflush(stdout);
}

void reportValue(const QString &name, double value, const QString &unit, double budget)
{
    std::printf("%-58s %9.1f %s  budget %8.1f %s  %s\n", qPrintable(name), value, qPrintable(unit), budget,
                qPrintable(unit), value <= budget ? "ok" : "over");
    std::fflush(stdout);
}

double statusKb(const char *field)
{
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toDouble();
    }
    return 0;
}

double rssMb() { return statusKb("VmRSS:") / 1024.0; }
double peakRssMb() { return statusKb("VmHWM:") / 1024.0; }

const QString kMarker = QStringLiteral("маркер_поиска_у_конца");
const QString kToken = QStringLiteral("%bench_token");

// Realistic script lines, ASCII and Cyrillic mixed, in Windows-1251 with CR LF. A marker line stands
// near the end, and tokenLines evenly spaced lines end with a token for Replace All.
QByteArray generatedScript(qint64 size, int tokenLines = 0)
{
    static const char *const kLines[] = {
        "on *:TEXT:*привет*:#: { msg $chan Привет, $nick! Как дела? | inc %greetings }",
        "alias autojoin { var %i = 1 | while (%i <= $numtok(%chans,44)) { join $gettok(%chans,%i,44) | inc %i } }",
        "; Обработчик входа на канал: приветствие и запись в лог",
        "on *:JOIN:#: { if ($nick != $me) { notice $nick Добро пожаловать на $chan $+ ! } }",
        "  write $qt($scriptdir $+ logs\\ $+ $chan $+ .log) [ $+ $time $+ ] <$nick> $1-",
        "dialog settings { title \"Настройки\" | size -1 -1 200 120 | option dbu }",
        "  if (%flood. [ $+ [ $nick ] ] > 5) { ban -u600 $chan $nick 2 | kick $chan $nick Флуд! }",
        "menu channel { Очистить окно:/clear | Сменить тему:/topic # $$?=\"Новая тема:\" }",
        "raw 332:*: { echo -t $2 Тема: $3- | haltdef }",
        "}",
    };
    QByteArray out;
    out.reserve(size + 200);
    const qint64 approximateLines = size / 80;
    const qint64 tokenEvery = tokenLines > 0 ? qMax<qint64>(1, approximateLines / tokenLines) : 0;
    int tokens = 0;
    bool marked = false;
    for (qint64 i = 0; out.size() < size; ++i) {
        out += Win1251::encode(QString::fromUtf8(kLines[i % 10]));
        if (tokenEvery && i % tokenEvery == 0 && tokens < tokenLines) {
            out += Win1251::encode(QLatin1Char(' ') + kToken);
            ++tokens;
        }
        if (!marked && out.size() > size * 98 / 100) {
            out += Win1251::encode(QStringLiteral(" ; ") + kMarker);
            marked = true;
        }
        out += "\r\n";
    }
    return out;
}

class Bench {
public:
    Bench() { TestEnv::startProgram(); }
    ~Bench() { TestEnv::endProgram(); }

    ScriptedDialogs dialogs;
    QTemporaryDir dir;

    TForm2 *open(const QString &path)
    {
        dialogs.chooseFile(path);
        Orl->N4Click();
        Form2->Memo1->viewport()->repaint();
        QApplication::processEvents();
        return Form2;
    }

    void closeAll()
    {
        for (TForm2 *w : Orl->editorWindows()) {
            w->markSaved();
            w->close();
        }
        TestEnv::flushDeletes();
    }
};

void benchStartUp()
{
    // The windows themselves; the application object is made once per process.
    const Figure f = measure(
        7, [] { TestEnv::endProgram(); },
        [] {
            createApplicationWindows();
            Orl->show();
            QApplication::processEvents();
        });
    report(QStringLiteral("start-up to the filled main window"), f, 250);
    const bool filled = Orl->OnPanel->count() > 0 && Orl->Dialog2->count() > 0;
    if (!filled)
        std::printf("  (palettes are empty: run from the build folder, which holds Dat/)\n");
}

void benchDocument(Bench &bench, const QString &label, const QString &path, double openBudget, bool bigSizes,
                   double *appendFigure)
{
    const int runs = QFileInfo(path).size() > 20'000'000 ? 3 : 7;
    const Figure open = measure(runs, [&] { bench.closeAll(); }, [&] { bench.open(path); });
    report(QStringLiteral("open and display %1").arg(label), open, openBudget);
    TForm2 *window = Form2;

    const QString copy = bench.dir.filePath(QStringLiteral("saved.mrc"));
    const Figure save = measure(runs, nullptr, [&] {
        bench.dialogs.chooseFile(copy);
        Orl->N7Click();
    });
    report(QStringLiteral("save %1").arg(label), save, label.contains(QLatin1String("50 MB")) ? 1000 : -1);

    if (!bigSizes)
        return;
    Orl->clientArea()->setActiveSubWindow(window);
    Orl->Comands->setCurrentRow(-1);
    int row = 0;
    const Figure palette = measure(25, [&] { Orl->Comands->setCurrentRow(-1); },
                                   [&] { Orl->Comands->setCurrentRow(row++ % 200); });
    report(QStringLiteral("palette append with status, %1").arg(label), palette, 1);
    if (appendFigure)
        appendFigure[0] = palette.median;

    Form3->AliasName->setText(QStringLiteral("bench"));
    Form3->ListBox1->setCurrentRow(124);
    const Figure wizard = measure(25, nullptr, [] { Form3->Button1Click(); });
    report(QStringLiteral("wizard append with status, %1").arg(label), wizard, 1);
    if (appendFigure)
        appendFigure[1] = wizard.median;

    window->Memo1->setSelStart(window->Memo1->textLength());
    const Figure typed = measure(25, nullptr, [&] { QTest::keyClick(window->Memo1, Qt::Key_A); });
    report(QStringLiteral("typed character with status, %1").arg(label), typed, 1);
    if (appendFigure)
        appendFigure[2] = typed.median;

    window->FindDialog1->setFindText(kMarker);
    const Figure find = measure(
        7, [&] { window->Memo1->setSelStart(0); }, [&] { window->FindDialog1->FindNextButton->click(); });
    const bool found = window->Memo1->SelText() == kMarker;
    report(QStringLiteral("Find Next to a match near the end, %1%2").arg(label, found ? QString() : QStringLiteral(" (NOT FOUND)")),
           find, label.startsWith(QLatin1String("50")) ? 300 : 30);
}

// Replace All of 10,000 occurrences in 5 MB, then the one undo that reverts it; Indent of 10,000 lines.
void benchBulkEdits(Bench &bench)
{
    const QString path = bench.dir.filePath(QStringLiteral("tokens.mrc"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(generatedScript(5'000'000, 10'000));
    file.close();
    bench.closeAll();
    TForm2 *window = bench.open(path);
    ScriptMemo *memo = window->Memo1;
    const QByteArray original = memo->fileBytes();

    window->ReplaceDialog1->setFindText(kToken);
    window->ReplaceDialog1->setReplaceText(QStringLiteral("%замена"));
    const Figure replaceAll = measure(
        5, [&] { memo->undo(); }, [&] { window->ReplaceDialog1->ReplaceAllButton->click(); });
    report(QStringLiteral("Replace All, 10,000 occurrences in 5 MB"), replaceAll, 300);
    const Figure undo = measure(1, nullptr, [&] { memo->undo(); });
    report(QStringLiteral("  ... reverted by one undo%1").arg(memo->fileBytes() == original ? QString() : QStringLiteral(" (TEXT DIFFERS)")),
           undo);

    const Figure indent = measure(
        5,
        [&] {
            memo->undo();
            memo->setSelStart(0);
            memo->setSelLength(memo->lineStartOffset(10'000) - 1);
        },
        [] { Orl->N16Click(); });
    report(QStringLiteral("Indent of a 10,000-line selection, 5 MB"), indent, 200);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    OrlApplication app(argc, argv);
    // The files it opens and saves are not the user's: they stay out of the user's settings.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    std::printf("Orl benchmark (offscreen, %d cores); times are medians of several runs\n",
                QThread::idealThreadCount());
    Bench bench;
    QApplication::processEvents();
    reportValue(QStringLiteral("memory: idle after start (RSS)"), rssMb(), QStringLiteral("MB"), 60);

    benchStartUp();

    // The largest corpus script, or a generated one of 250 KB.
    QString small;
    const QDir corpus(QStringLiteral(ORL_BENCH_CORPUS_DIR));
    qint64 largest = 0;
    for (const QFileInfo &info : corpus.entryInfoList(QDir::Files)) {
        if ((info.suffix() == QLatin1String("mrc") || info.suffix() == QLatin1String("ini")) && info.size() > largest) {
            largest = info.size();
            small = info.absoluteFilePath();
        }
    }
    const auto writeGenerated = [&](const QString &name, qint64 size) {
        const QString path = bench.dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(generatedScript(size));
        return path;
    };
    if (small.isEmpty())
        small = writeGenerated(QStringLiteral("small.mrc"), 250'000);
    const QString medium = writeGenerated(QStringLiteral("medium.mrc"), 5'000'000);
    const QString large = writeGenerated(QStringLiteral("large.mrc"), 50'000'000);

    benchDocument(bench, QStringLiteral("250 KB (%1)").arg(QFileInfo(small).fileName()), small, 40, false, nullptr);
    double mediumFigures[3] = {};
    double largeFigures[3] = {};
    benchDocument(bench, QStringLiteral("5 MB"), medium, 600, true, mediumFigures);
    benchDocument(bench, QStringLiteral("50 MB"), large, 6000, true, largeFigures);
    bool within = true;
    for (int i = 0; i < 3; ++i)
        within = within && largeFigures[i] <= 2 * qMax(mediumFigures[i], 0.05);
    std::printf("%-58s %s\n", "50 MB per-edit figures within twice the 5 MB ones", within ? "ok" : "over");
    reportValue(QStringLiteral("memory: peak with 50 MB open (RSS)"), peakRssMb(), QStringLiteral("MB"), 1200);
    benchBulkEdits(bench);
    bench.closeAll();
    return 0;
}
