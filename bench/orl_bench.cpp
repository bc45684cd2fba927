// Measures the editor's speed and memory on real and generated scripts, offscreen, and prints one
// line per figure: median of several runs with min and max, and the budget it is held to.
#include "app/main_window.h"
#include "app/startup.h"
#include "common/win1251_codec.h"
#include "editor/find_replace_dialogs.h"
#include "editor/script_assist.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"
#include "editor/script_text.h"
#include "support/scripted_dialogs.h"
#include "support/test_env.h"
#include "wizards/alias_creator_window.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QPushButton>
#include <QRandomGenerator>
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
    std::printf("%-62s median %9.3f ms  (min %9.3f, max %9.3f)", qPrintable(name), f.median, f.min, f.max);
    if (budgetMs >= 0)
        std::printf("  budget %7.1f ms  %s", budgetMs, f.median <= budgetMs ? "ok" : "over");
    std::printf("\n");
    std::fflush(stdout);
}

void reportValue(const QString &name, double value, const QString &unit, double budget)
{
    std::printf("%-62s %9.1f %s  budget %7.1f %s  %s\n", qPrintable(name), value, qPrintable(unit), budget,
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

double rssMib() { return statusKb("VmRSS:") / 1024.0; }
double peakRssMib() { return statusKb("VmHWM:") / 1024.0; }

// The peak starts again from the present use (Linux 4.0 on), so that a later figure is its own.
void resetPeakRss()
{
    QFile file(QStringLiteral("/proc/self/clear_refs"));
    if (file.open(QIODevice::WriteOnly))
        file.write("5");
}

const QString kMarker = QStringLiteral("маркер_поиска_у_конца");
const QString kToken = QStringLiteral("%bench_token");

// Script lines of the lengths real scripts have (30 to 50 bytes, as the corpus's average of about
// 50 with its indented short lines), ASCII and Cyrillic mixed, with CR LF: in Windows-1251, or in
// UTF-8 with more Russian lines among them (messages and comments), so that about half the bytes
// are Cyrillic. A marker line stands near the end, and tokenLines evenly spaced lines end with a
// token for Replace All.
QByteArray generatedScript(qint64 size, int tokenLines = 0, bool utf8 = false)
{
    static const char *const kLines[] = {
        "on *:TEXT:*привет*:#: {",
        "  msg $chan Привет, $nick! Как дела?",
        "  inc %greetings | halt",
        "}",
        "alias autojoin { join $1- }",
        "; Вход на канал: приветствие",
        "on *:JOIN:#: { notice $nick Здравствуй! }",
        "  if ($nick == $me) { return }",
        "  write $qt($logdir $+ chan.log) $1-",
        "dialog opts { title \"Настройки\" }",
        "  ban -u600 $chan $nick 2 | kick $chan $nick Флуд!",
        "menu channel { Тема:/topic # $$?=\"Тема:\" }",
        "raw 332:*: { echo -t $2 Тема: $3- }",
        "  var %i = 1 | while (%i <= 10) { inc %i }",
    };
    static const char *const kRussianLines[] = {
        "; Приветствие новых гостей канала",
        "  msg $nick Добро пожаловать, правила в топике!",
        "  notice $nick Не флудите и не ругайтесь.",
        "; Счётчик сообщений за сегодня",
        "  echo -a Всего сообщений: %счётчик",
    };
    const auto encoded = [utf8](const QString &text) { return utf8 ? text.toUtf8() : Win1251::encode(text); };
    QByteArray out;
    out.reserve(size + 200);
    const qint64 approximateLines = size / 34;
    const qint64 tokenEvery = tokenLines > 0 ? qMax<qint64>(1, approximateLines / tokenLines) : 0;
    int tokens = 0;
    bool marked = false;
    constexpr int kinds = int(std::size(kLines));
    constexpr int russianKinds = int(std::size(kRussianLines));
    for (qint64 i = 0; out.size() < size; ++i) {
        const bool russian = utf8 && i % 2 == 1;
        out += encoded(QString::fromUtf8(russian ? kRussianLines[(i / 2) % russianKinds] : kLines[i % kinds]));
        if (tokenEvery && i % tokenEvery == 0 && tokens < tokenLines) {
            out += encoded(QLatin1Char(' ') + kToken);
            ++tokens;
        }
        if (!marked && out.size() > size * 98 / 100) {
            out += encoded(QStringLiteral(" ; ") + kMarker);
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

    // "Открыть..." with the file chosen, until the text is drawn.
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

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
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

struct Budgets {
    double open = -1;
    double save = -1;
    double find = -1;
};

// Opening and saving; then, for the large texts, the edits every click and key makes, each alone
// and until the window has drawn it. Returns the median time to open and show.
double benchDocument(Bench &bench, const QString &label, const QString &path, const Budgets &budgets, bool edits)
{
    const int runs = QFileInfo(path).size() > 20'000'000 ? 3 : 7;
    const Figure open = measure(runs, [&] { bench.closeAll(); }, [&] { bench.open(path); });
    report(QStringLiteral("open and show %1").arg(label), open, budgets.open);
    TForm2 *window = Form2;
    ScriptMemo *memo = window->Memo1;
    std::printf("  %d lines, %s, highlighting %s\n", memo->lineCount(),
                qPrintable(ScriptText::encodingName(memo->document()->encoding())),
                window->Assist->highlighting() ? "on" : "off");

    const QString copy = bench.dir.filePath(QStringLiteral("saved.mrc"));
    bench.dialogs.chooseFile(copy);
    Orl->N7Click(); // the first save asks where; the later ones write to the window's file
    const Figure save = measure(runs, nullptr, [&] { Orl->N6Click(); });
    report(QStringLiteral("save %1").arg(label), save, budgets.save);
    if (!edits)
        return open.median;

    Orl->clientArea()->setActiveSubWindow(window);
    const auto painted = [memo] { memo->viewport()->repaint(); };
    Orl->Comands->setCurrentRow(-1);
    int row = 0;
    const Figure palette = measure(25, [&] { Orl->Comands->setCurrentRow(-1); },
                                   [&] { Orl->Comands->setCurrentRow(row++ % 200); });
    report(QStringLiteral("palette append with status, %1").arg(label), palette, 1);
    const Figure paletteShown = measure(25, [&] { Orl->Comands->setCurrentRow(-1); }, [&] {
        Orl->Comands->setCurrentRow(row++ % 200);
        painted();
    });
    report(QStringLiteral("  ... until drawn"), paletteShown);

    Form3->AliasName->setText(QStringLiteral("bench"));
    Form3->ListBox1->setCurrentRow(124);
    const Figure wizard = measure(25, nullptr, [] { Form3->Button1Click(); });
    report(QStringLiteral("wizard append with status, %1").arg(label), wizard, 1);

    memo->setSelStart(memo->textLength());
    const Figure typed = measure(25, nullptr, [&] { QTest::keyClick(memo, Qt::Key_A); });
    report(QStringLiteral("typed character at the end with status, %1").arg(label), typed, 1);
    const Figure typedShown = measure(25, nullptr, [&] {
        QTest::keyClick(memo, Qt::Key_A);
        painted();
    });
    report(QStringLiteral("  ... until drawn"), typedShown);
    memo->setSelStart(memo->lineStartOffset(memo->lineCount() / 2));
    memo->ensureCursorVisible();
    painted();
    const Figure typedMiddle = measure(25, nullptr, [&] {
        QTest::keyClick(memo, Qt::Key_B);
        painted();
    });
    report(QStringLiteral("typed character in the middle until drawn, %1").arg(label), typedMiddle, 1);

    window->FindDialog1->setFindText(kMarker);
    const Figure find = measure(7, [&] { memo->setSelStart(0); }, [&] { window->FindDialog1->FindNextButton->click(); });
    const bool found = memo->SelText() == kMarker;
    report(QStringLiteral("Find Next to a match near the end, %1%2").arg(label, found ? QString() : QStringLiteral(" (NOT FOUND)")),
           find, budgets.find);
    return open.median;
}

// A jump to the end of a script drawn in colour right after it was loaded, before idle time has
// worked out the lines' states: they are all worked out at that first drawing.
void benchHighlightedJump(Bench &bench, const QString &path)
{
    bench.closeAll();
    TForm2 *window = bench.open(path);
    ScriptMemo *memo = window->Memo1;
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    const Figure jump = measure(3, [&] { memo->loadFile(bytes); }, [&] {
        memo->setSelStart(memo->textLength());
        memo->ensureCursorVisible();
        memo->viewport()->repaint();
    });
    report(QStringLiteral("first jump to the end in colour, 5 MB, states not ready"), jump);
}

// Replace All of 10,000 occurrences in 5 MB, then the one undo that reverts it; Indent of 10,000 lines.
void benchBulkEdits(Bench &bench, bool utf8)
{
    bench.closeAll();
    const QString label = utf8 ? QStringLiteral(", UTF-8") : QString();
    TForm2 *window = bench.open(bench.write(QStringLiteral("tokens.mrc"), generatedScript(5'000'000, 10'000, utf8)));
    ScriptMemo *memo = window->Memo1;
    const QByteArray original = memo->fileBytes();

    window->ReplaceDialog1->setFindText(kToken);
    window->ReplaceDialog1->setReplaceText(QStringLiteral("%замена"));
    const Figure replaceAll = measure(
        5, [&] { memo->undo(); }, [&] { window->ReplaceDialog1->ReplaceAllButton->click(); });
    report(QStringLiteral("Replace All, 10,000 occurrences in 5 MB%1").arg(label), replaceAll, 300);
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
    report(QStringLiteral("Indent of a 10,000-line selection, 5 MB%1").arg(label), indent, 200);
}

QString largestCorpusScript()
{
    QString largest;
    qint64 size = 0;
    const QDir corpus(QStringLiteral(ORL_BENCH_CORPUS_DIR));
    for (const QFileInfo &info : corpus.entryInfoList(QDir::Files)) {
        if ((info.suffix() == QLatin1String("mrc") || info.suffix() == QLatin1String("ini")) && info.size() > size) {
            size = info.size();
            largest = info.absoluteFilePath();
        }
    }
    return largest;
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
    reportValue(QStringLiteral("memory: idle after start (RSS)"), rssMib(), QStringLiteral("MiB"), 60);

    benchStartUp();

    QString small = largestCorpusScript();
    if (small.isEmpty())
        small = bench.write(QStringLiteral("small.mrc"), generatedScript(250'000));
    const QString medium = bench.write(QStringLiteral("medium.mrc"), generatedScript(5'000'000));
    const QString large = bench.write(QStringLiteral("large.mrc"), generatedScript(50'000'000));

    benchDocument(bench, QStringLiteral("250 KB (%1)").arg(QFileInfo(small).fileName()), small, {60, -1, -1}, false);
    benchDocument(bench, QStringLiteral("5 MB"), medium, {200, -1, 30}, true);
    benchHighlightedJump(bench, medium);
    bench.closeAll();
    const double largeOpen = benchDocument(bench, QStringLiteral("50 MB"), large, {1500, 1000, 100}, true);
    reportValue(QStringLiteral("memory: peak with 50 MB open (RSS)"), peakRssMib(), QStringLiteral("MiB"), 300);
    benchBulkEdits(bench, false);

    // The same in UTF-8, half its bytes Cyrillic: opening within half as much again as Windows-1251,
    // edits, search and memory within the same budgets. The peak is counted afresh for it.
    bench.closeAll();
    const QString largeUtf8 = bench.write(QStringLiteral("large-utf8.mrc"), generatedScript(50'000'000, 0, true));
    resetPeakRss();
    benchDocument(bench, QStringLiteral("50 MB UTF-8"), largeUtf8, {1.5 * largeOpen, 1000, 100}, true);
    reportValue(QStringLiteral("memory: peak with 50 MB UTF-8 open (RSS)"), peakRssMib(), QStringLiteral("MiB"), 300);
    benchBulkEdits(bench, true);
    bench.closeAll();
    return 0;
}
