// Reading dialog tables out of script text and checking their lines: the designer's own output is
// accepted, lines mIRC refuses are named with their reasons, and real scripts read as their authors
// wrote them.
#include "common/win1251_codec.h"
#include "designer/dialog_lines.h"
#include "language/dialog_checks.h"
#include "language/dialog_table.h"
#include "support/corpus_lines.h"

#include <QFile>
#include <QtTest>

using namespace DialogTable;
using DialogChecks::Problem;

namespace DialogChecks {
char *toString(const Problem &problem)
{
    return QTest::toString(u"%1: %2"_qs.arg(problem.line + 1).arg(problem.reason));
}
} // namespace DialogChecks

namespace {

QString spaces(int count)
{
    return QString(count, QLatin1Char(' '));
}

DialogLines::SlotWords slotsWith(std::initializer_list<std::pair<int, QString>> words)
{
    DialogLines::SlotWords slotWords;
    for (const auto &[n, word] : words)
        slotWords[n - 1] = word;
    return slotWords;
}

// The table that starts at line 0 of `lines`, read and checked.
struct Checked {
    DialogModel model;
    QList<Problem> problems;
};
Checked readAndCheck(const QStringList &lines)
{
    const StringListLines source(lines);
    Checked result;
    const std::optional<Span> span = tableAt(source, 0);
    if (span) {
        result.model = readTable(source, *span);
        result.problems = DialogChecks::check(result.model);
    }
    return result;
}

QStringList tableWith(const QStringList &body, const QString &size = u"size -1 -1 200 100"_qs)
{
    return QStringList{u"dialog probe {"_qs, u"title \"Probe\""_qs, size} + body + QStringList{u"}"_qs};
}

QString describe(const QList<Problem> &problems)
{
    QStringList parts;
    for (const Problem &problem : problems)
        parts.append(u"%1: %2"_qs.arg(problem.line + 1).arg(problem.reason));
    return parts.join(u"; "_qs);
}

// Every dialog table of a file's lines, read and checked.
struct FileTable {
    DialogModel model;
    QList<Problem> problems;
};
QList<FileTable> tablesOf(const QStringList &lines)
{
    const StringListLines source(lines);
    QList<FileTable> tables;
    for (int i = 0; i < source.lineCount(); ++i) {
        if (const std::optional<Span> span = tableAt(source, i)) {
            FileTable table{readTable(source, *span), {}};
            table.problems = DialogChecks::check(table.model);
            tables.append(table);
            i = span->lastLine;
        }
    }
    return tables;
}

} // namespace

class DialogTableTest : public QObject {
    Q_OBJECT
private slots:
    void designerExamplesAreAccepted_data()
    {
        using namespace DialogLines;
        QTest::addColumn<QStringList>("table");
        QTest::addColumn<int>("controls");

        const HeaderFields header{.title = u"\"Test\""_qs, .size = {u"-1"_qs, u"-1"_qs, u"0"_qs, u"0"_qs}};
        QTest::newRow("header, XP style") << (headerLines(header) << u"}"_qs) << 0;
        HeaderFields win98 = header;
        win98.win98Style = true;
        QTest::newRow("header, Win98 style") << (headerLines(win98) << u"}"_qs) << 0;
        HeaderFields withIcon = header;
        withIcon.withIcon = true;
        withIcon.iconFile = u"C:\\pics\\app.ico"_qs;
        QTest::newRow("header with its icon line") << (headerLines(withIcon) << u"}"_qs) << 0;

        const Geometry minusOne{u"-1"_qs, u"-1"_qs, u"0"_qs, u"0"_qs};
        const QStringList lines{
            buttonLine({.text = u"\"OK\""_qs, .id = u"1"_qs, .geometry = {u"25"_qs, u"25"_qs, u"37"_qs, u"12"_qs},
                        .type = u"ok"_qs}),
            buttonLine({.text = u"\"OK\""_qs, .id = u"1"_qs, .geometry = {u"25"_qs, u"25"_qs, u"37"_qs, u"12"_qs},
                        .slotWords = slotsWith({{1, u"disable"_qs}, {5, u"default"_qs}}), .type = u"ok"_qs}),
            radioLine({.text = u"\"One\""_qs, .id = u"2"_qs, .geometry = minusOne, .type = u"Push"_qs,
                       .alignment = u"Left"_qs}),
            comboLine({.id = u"3"_qs, .geometry = minusOne, .type = u"size drop"_qs}),
            listLine({.id = u"4"_qs, .geometry = minusOne, .slotWords = slotsWith({{5, u"sort"_qs}, {6, u"vsbar"_qs}})}),
            editLine({.text = u"Name"_qs, .id = u"5"_qs, .geometry = {u"10"_qs, u"20"_qs, u"100"_qs, u"12"_qs},
                      .limit = u"10"_qs, .slotWords = slotsWith({{5, u"read"_qs}, {10, u"vsbar"_qs}})}),
            editLine({.text = u"Name"_qs, .id = u"5"_qs, .geometry = {u"10"_qs, u"20"_qs, u"100"_qs, u"12"_qs},
                      .withLimit = false, .slotWords = slotsWith({{5, u"read"_qs}, {10, u"vsbar"_qs}})}),
            linkLine({.text = u"Home"_qs, .id = u"3"_qs, .geometry = {u"5"_qs, u"5"_qs, u"40"_qs, u"10"_qs},
                      .slotWords = slotsWith({{4, u"hide"_qs}})}),
            tabLine({.title = u"Main"_qs, .id = u"100"_qs, .geometry = {u"0"_qs, u"0"_qs, u"200"_qs, u"150"_qs},
                     .slotWords = slotsWith({{1, u"disable"_qs}})}),
            iconLine({.id = u"7"_qs, .geometry = {u"10"_qs, u"10"_qs, u"32"_qs, u"32"_qs},
                      .file = u"C:\\pics\\logo.bmp"_qs}),
            checkLine({.text = u"Remember"_qs, .id = u"4"_qs, .geometry = {u"10"_qs, u"40"_qs, u"80"_qs, u"12"_qs},
                       .type = u"push"_qs, .alignment = u"left"_qs, .slotWords = slotsWith({{5, u"flat"_qs}})}),
            scrollLine({.text = u"Vol"_qs, .id = u"9"_qs, .geometry = {u"10"_qs, u"60"_qs, u"100"_qs, u"12"_qs},
                        .orientation = u"horizontal"_qs, .alignment = u"bottom"_qs,
                        .slotWords = slotsWith({{1, u"disable"_qs}})}),
            textLine({.text = u"Nick:"_qs, .id = u"2"_qs, .geometry = {u"10"_qs, u"10"_qs, u"30"_qs, u"10"_qs},
                      .alignment = u"Right"_qs}),
            panelLine({.text = u"Options"_qs, .id = u"12"_qs, .geometry = {u"5"_qs, u"5"_qs, u"190"_qs, u"90"_qs},
                       .slotWords = slotsWith({{3, u"group"_qs}})}),
        };
        for (const QString &line : lines)
            QTest::newRow(qPrintable(line)) << (headerLines(header) << line << u"}"_qs) << 1;
    }
    void designerExamplesAreAccepted()
    {
        QFETCH(QStringList, table);
        QFETCH(int, controls);
        const Checked checked = readAndCheck(table);
        QVERIFY2(checked.problems.isEmpty(), qPrintable(describe(checked.problems)));
        QCOMPARE(checked.model.span.name, u"new_table"_qs);
        QCOMPARE(checked.model.controls.size(), controls);
    }

    void designerDefaultsLackTheirIds()
    {
        const Checked checked = readAndCheck(tableWith({u"check , , -1 -1 0 0 ,"_qs + spaces(6)}));
        QCOMPARE(checked.problems, (QList<Problem>{{3, u"не указан id элемента"_qs}}));
    }

    void refusedLines_data()
    {
        QTest::addColumn<QStringList>("body");
        QTest::addColumn<int>("line"); // of the problem, counted from the table's first body line
        QTest::addColumn<QString>("reason");

        QTest::newRow("unknown control") << QStringList{u"label Nick:, 2, 10 10 30 10"_qs} << 0
                                         << u"mIRC не знает элемента «label»: надпись пишется словом text"_qs;
        QTest::newRow("missing id") << QStringList{u"button \"OK\", , 10 10 30 10"_qs} << 0
                                    << u"не указан id элемента"_qs;
        QTest::newRow("id not a number") << QStringList{u"button \"OK\", one, 10 10 30 10"_qs} << 0
                                         << u"id «one» должен быть целым неотрицательным числом"_qs;
        QTest::newRow("id used twice")
            << QStringList{u"text \"a\", 7, 0 0 10 10"_qs, u"; a comment"_qs, u"edit \"b\", 7, 0 20 10 10"_qs} << 2
            << u"id 7 уже занят в строке 4"_qs;
        QTest::newRow("three coordinates") << QStringList{u"button \"OK\", 1, 10 10 30"_qs} << 0
                                           << u"нужно четыре координаты x y w h, а указано 3"_qs;
        QTest::newRow("coordinate not a number") << QStringList{u"button \"OK\", 1, 10 10 3O 10"_qs} << 0
                                                 << u"координата «3O» не целое число"_qs;
        QTest::newRow("negative width") << QStringList{u"box \"\", 1, 10 10 -30 10"_qs} << 0
                                        << u"ширина и высота не могут быть отрицательными"_qs;
        QTest::newRow("pieces missing") << QStringList{u"button \"OK\", 1"_qs} << 0
                                        << u"в строке не хватает частей: нужно button \"текст\", id, x y w h"_qs;
        QTest::newRow("style the control does not take") << QStringList{u"button \"OK\", 1, 10 10 30 10, sort"_qs}
                                                         << 0 << u"button не принимает стиль «sort»"_qs;
        QTest::newRow("misspelt style") << QStringList{u"edit \"\", 1, 10 10 30 10, disabled, multi"_qs} << 0
                                        << u"edit не принимает стиль «disabled» (может быть, «disable»?)"_qs;
        QTest::newRow("text with spaces unquoted") << QStringList{u"text Nick name, 1, 10 10 30 10"_qs} << 0
                                                   << u"текст с пробелами нужно взять в кавычки"_qs;
        QTest::newRow("quote not closed") << QStringList{u"text \"Nick, 1, 10 10 30 10"_qs} << 0
                                          << u"кавычка не закрыта"_qs;
        QTest::newRow("quote inside bare text") << QStringList{u"text Ni\"ck, 1, 10 10 30 10"_qs} << 0
                                                << u"кавычка должна стоять в начале текста"_qs;
        QTest::newRow("comma missing after the text") << QStringList{u"text \"Nick:\" 10, 40 115 55 15"_qs} << 0
                                                      << u"после текста пропущена запятая"_qs;
        QTest::newRow("words after the closing quote") << QStringList{u"text \"Nick\" name, 1, 0 0 9 9"_qs} << 0
                                                       << u"после закрывающей кавычки лишнее: «name»"_qs;
        QTest::newRow("outside the dialog") << QStringList{u"button \"OK\", 1, 500 10 30 10"_qs} << 0
                                            << u"элемент лежит за пределами окна диалога (200 × 100)"_qs;
        QTest::newRow("over the edge") << QStringList{u"button \"OK\", 1, 190 10 30 10"_qs} << 0
                                       << u"элемент выходит за край окна диалога (200 × 100)"_qs;
        QTest::newRow("limit without a number") << QStringList{u"edit \"\", 1, 10 10 30 10, limit read"_qs} << 0
                                                << u"после limit нужно число"_qs;
        QTest::newRow("range with one number") << QStringList{u"scroll \"\", 1, 10 10 10 60, range 5"_qs} << 0
                                               << u"после range нужны два числа"_qs;
        QTest::newRow("tab without its id") << QStringList{u"button \"x\", 1, 10 10 30 10, tab"_qs} << 0
                                            << u"после tab нужен id вкладки"_qs;
        QTest::newRow("no such tab")
            << QStringList{u"tab \"One\", 1, 0 0 200 100"_qs, u"button \"x\", 2, 10 30 30 10, tab 7"_qs} << 1
            << u"вкладки с id 7 в таблице нет"_qs;
        QTest::newRow("tab page before any tab control") << QStringList{u"tab \"Page\", 1"_qs} << 0
                                                         << u"вкладка без координат должна идти после вкладки с координатами"_qs;
        QTest::newRow("item before any menu") << QStringList{u"item \"Open\", 1"_qs} << 0
                                              << u"пункт item стоит раньше первой строки menu"_qs;
        QTest::newRow("no such menu") << QStringList{u"menu \"File\", 1"_qs, u"item \"Open\", 2, 99"_qs} << 1
                                      << u"меню с id 99 в таблице нет"_qs;
        QTest::newRow("unknown option") << QStringList{u"option dbu big"_qs} << 0
                                        << u"mIRC не знает параметра option «big»"_qs;
        QTest::newRow("second size line") << QStringList{u"size -1 -1 10 10"_qs} << 0
                                          << u"строка size уже была в строке 3"_qs;
        QTest::newRow("icon index not a number") << QStringList{u"icon app.ico, first"_qs} << 0
                                                 << u"номер значка «first» должен быть числом"_qs;
    }
    void refusedLines()
    {
        QFETCH(QStringList, body);
        QFETCH(int, line);
        QFETCH(QString, reason);
        const Checked checked = readAndCheck(tableWith(body));
        QCOMPARE(checked.problems, (QList<Problem>{{3 + line, reason}}));
    }

    void brokenTables()
    {
        Checked checked = readAndCheck({u"dialog {"_qs, u"size -1 -1 10 10"_qs, u"}"_qs});
        QCOMPARE(checked.problems, (QList<Problem>{{0, u"у таблицы нет имени: нужно dialog имя {"_qs}}));

        checked = readAndCheck({u"dialog a {"_qs, u"title \"x"_qs, u"size -1 -1 200"_qs, u"}"_qs});
        QCOMPARE(checked.problems, (QList<Problem>{{1, u"кавычка не закрыта"_qs},
                                                   {2, u"нужно четыре координаты x y w h, а указано 3"_qs}}));

        // Without its brace the table ends where the next block begins.
        checked = readAndCheck({u"dialog a {"_qs, u"text \"x\", 1, 0 0 10 10"_qs, u""_qs, u"alias go {"_qs,
                                u"  text \"y\", 1, 0 0 1 1"_qs, u"}"_qs});
        QCOMPARE(checked.model.span.lastLine, 2);
        QCOMPARE(checked.problems, (QList<Problem>{{0, u"у таблицы нет закрывающей скобки «}»"_qs},
                                                   {0, u"нет строки size: без неё mIRC не откроет диалог"_qs}}));
    }

    void readsTheModel()
    {
        const QStringList lines{
            u"alias x { dialog -m demo demo }"_qs,
            u"dialog -l Demo {"_qs,
            u"  title \"Demo, with a comma\""_qs,
            u"  size -1 -1 110 100"_qs,
            u"  option dbu notheme"_qs,
            u"  icon app.ico, 2"_qs,
            u"  /* a comment block"_qs,
            u"  button \"not read\", 1, 0 0 1 1"_qs,
            u"  */"_qs,
            u"  tab \"One\", 1, 5 5 100 90"_qs,
            u"  tab \"Two\", 2"_qs,
            u"  Button \"Go, now\", 11, 30 50 50 24, OK tab 2"_qs,
            u"  combo 12, 10 20 60 50, drop, edit, %pick"_qs,
            u"  icon 13, 0 -21 115 70,  \" pics\\first.gif \", 0, noborder"_qs,
            u"  menu \"&File\", 60"_qs,
            u"  item \"&New\", 70"_qs,
            u"  menu \"&Load\", 80, 60"_qs,
            u"  item break, 100"_qs,
            u"  item \"&Save\", 150, 60"_qs,
            u"  item \"E&xit\", 160, ok"_qs,
            u"}"_qs,
        };
        const StringListLines source(lines);
        QVERIFY(!tableAround(source, 0));
        const std::optional<Span> span = tableAround(source, 11);
        QVERIFY(span);
        QCOMPARE(span->headerLine, 1);
        QCOMPARE(span->lastLine, 20);
        QVERIFY(span->closed && span->local);
        QCOMPARE(tableNamed(source, u"demo"_qs)->headerLine, 1);
        QVERIFY(!tableNamed(source, u"demo"_qs, 20, 18));
        QCOMPARE(tableNamed(source, u"demo"_qs, 20, 19)->headerLine, 1);
        QCOMPARE(tableAround(source, 20)->headerLine, 1);

        const DialogModel model = readTable(source, *span);
        QCOMPARE(model.title, u"Demo, with a comma"_qs);
        QCOMPARE(model.units, Units::Dbu);
        QVERIFY(model.notheme);
        QCOMPARE(model.iconFile, u"app.ico"_qs);
        QVERIFY(model.sizeKnown());
        QCOMPARE(model.width(), 110);
        QCOMPARE(model.controls.size(), 11);

        const Control &page2 = model.controls.at(1);
        QCOMPARE(page2.tabControl, 0);
        const Control &button = model.controls.at(2);
        QCOMPARE(button.kind, u"button"_qs);
        QCOMPARE(button.text.text, u"Go, now"_qs);
        QCOMPARE(button.id.value, 11);
        QCOMPARE(QList<int>({button.x(), button.y(), button.width(), button.height()}), QList<int>({30, 50, 50, 24}));
        QVERIFY(button.hasStyle(u"ok"_qs));
        QCOMPARE(button.tabPage(), 2);
        QCOMPARE(model.tabPageIndex(2), 1);

        const Control &combo = model.controls.at(3);
        QVERIFY(combo.hasStyle(u"drop"_qs) && combo.hasStyle(u"edit"_qs));
        QVERIFY(combo.styles.last().isVariable);

        const Control &icon = model.controls.at(4);
        QCOMPARE(icon.file, u" pics\\first.gif "_qs);
        QVERIFY(icon.hasIconIndex && icon.hasStyle(u"noborder"_qs));
        QCOMPARE(icon.y(), -21);

        QCOMPARE(model.controls.at(6).parentMenu, 60);   // New, in File
        QCOMPARE(model.controls.at(7).parentMenu, 60);   // Load, a submenu of File
        QCOMPARE(model.controls.at(8).parentMenu, 80);   // break, in Load
        QVERIFY(model.controls.at(8).isBreak);
        QCOMPARE(model.controls.at(10).parentMenu, 60);  // Exit follows Save back into File
        QVERIFY(model.controls.at(10).hasStyle(u"ok"_qs));

        const QList<Problem> problems = DialogChecks::check(model);
        QVERIFY2(problems.size() == 1, qPrintable(describe(problems)));
        QCOMPARE(problems.first().line, 13); // the icon reaches above the dialog
    }

    void dialogUnitsBecomePixels()
    {
        QCOMPARE(dbuToPixelsX(4), 6);
        QCOMPARE(dbuToPixelsY(8), 13);
        QCOMPARE(dbuToPixelsX(185), 278); // 277.5 rounds away from zero, as Windows does
        QCOMPARE(dbuToPixelsY(138), 224); // 224.25
        QCOMPARE(dbuToPixelsX(-1), -2);
    }

    void corpusTables_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("qblock") << u"neon-qblock-qblock.mrc"_qs << QStringList{u"kesanspam"_qs, u"spam.error"_qs};
        QTest::newRow("script1") << u"neon-qblock-script1.mrc"_qs << QStringList{u"scanaway"_qs, u"warn"_qs};
        QTest::newRow("awayscan") << u"neon-awayscan.mrc"_qs << QStringList{u"scanaway"_qs, u"warn"_qs};
        QTest::newRow("chname") << u"neon-chname.mrc"_qs << QStringList{u"srn.options"_qs};
        QTest::newRow("start") << u"neon-start.mrc"_qs << QStringList{u"first"_qs};
        QTest::newRow("tb") << u"neon-tb-tb.mrc"_qs
                            << QStringList{u"toolbar_opts"_qs, u"tbicon_add"_qs, u"tbicon_edit"_qs};
    }
    void corpusTables()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, names);
        QFile in(QStringLiteral(ORL_CORPUS_DIR) + u'/' + file);
        if (!in.exists())
            QSKIP("corpus folder absent");
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QStringList lines = CorpusLines::split(Win1251::decode(in.readAll()));
        const QList<FileTable> tables = tablesOf(lines);
        QStringList found;
        for (const FileTable &table : tables) {
            found.append(table.model.span.name);
            QVERIFY(table.model.span.closed);
            QVERIFY(table.model.sizeKnown());
            QVERIFY(!table.model.controls.isEmpty());
            // Real tables hold only what mIRC knows and parse into their pieces: whatever the checks
            // find is about style words and placement, never about the shape of a line.
            for (const Problem &problem : table.problems) {
                const bool aboutStyleOrPlace = problem.reason.contains(u"стиль"_qs)
                                               || problem.reason.contains(u"окна диалога"_qs);
                QVERIFY2(aboutStyleOrPlace, qPrintable(file + u": "_qs + describe({problem})));
            }
        }
        QCOMPARE(found, names);
    }

    void corpusFindings()
    {
        const QString dir = QStringLiteral(ORL_CORPUS_DIR);
        if (!QFile::exists(dir + u"/neon-qblock-script1.mrc"_qs) || !QFile::exists(dir + u"/neon-qblock-qblock.mrc"_qs))
            QSKIP("corpus folder absent");
        auto linesOf = [&](const QString &name) {
            QFile in(dir + u'/' + name);
            if (!in.open(QIODevice::ReadOnly))
                return QStringList();
            return CorpusLines::split(Win1251::decode(in.readAll()));
        };
        // "disabled" is no style word: mIRC leaves that edit box enabled.
        const QList<FileTable> away = tablesOf(linesOf(u"neon-qblock-script1.mrc"_qs));
        QCOMPARE(away.first().problems,
                 (QList<Problem>{{8, u"edit не принимает стиль «disabled» (может быть, «disable»?)"_qs}}));
        // The error box of Qblock (in pixels, 187 by 75) puts a frame below its bottom edge.
        const QList<FileTable> qblock = tablesOf(linesOf(u"neon-qblock-qblock.mrc"_qs));
        const QList<Problem> &errorBox = qblock.at(1).problems;
        QVERIFY(errorBox.contains(Problem{203, u"элемент лежит за пределами окна диалога (187 × 75)"_qs}));
    }
};

QTEST_GUILESS_MAIN(DialogTableTest)
#include "test_dialog_table.moc"
