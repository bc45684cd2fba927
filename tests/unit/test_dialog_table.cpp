// Reading dialog tables out of script text and checking their lines: the designer's own output is
// accepted, lines mIRC refuses are errors and lines it reads otherwise than meant are warnings,
// each with its reason, and real scripts read as their authors wrote them.
#include "common/win1251_codec.h"
#include "designer/dialog_lines.h"
#include "language/dialog_checks.h"
#include "language/dialog_table.h"
#include "support/corpus_lines.h"
#include "support/kb_dialog_examples.h"

#include <QFile>
#include <QtTest>

using namespace DialogTable;
using DialogChecks::Problem;
using DialogChecks::Severity;

namespace DialogChecks {
char *toString(const Problem &problem)
{
    static const char *const kinds[] = {"error", "warning", "note"};
    return QTest::toString(u"%1 %2: %3"_qs.arg(problem.line + 1).arg(QLatin1String(kinds[int(problem.severity)]),
                                                                   problem.reason));
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
Checked readAndCheck(const QStringList &lines, const DialogChecks::Options &options = {})
{
    const StringListLines source(lines);
    Checked result;
    const std::optional<Span> span = tableAt(source, 0);
    if (span) {
        result.model = readTable(source, *span);
        result.problems = DialogChecks::check(result.model, options);
    }
    return result;
}

QList<Problem> ofSeverity(const QList<Problem> &problems, Severity severity)
{
    QList<Problem> chosen;
    for (const Problem &problem : problems) {
        if (problem.severity == severity)
            chosen.append(problem);
    }
    return chosen;
}

Problem warning(int line, const QString &reason)
{
    return {line, reason, Severity::Warning};
}

QStringList tableWith(const QStringList &body, const QString &size = u"size -1 -1 200 100"_qs)
{
    return QStringList{u"dialog probe {"_qs, u"title \"Probe\""_qs, size} + body + QStringList{u"}"_qs};
}

QString describe(const QList<Problem> &problems)
{
    QStringList parts;
    for (const Problem &problem : problems)
        parts.append(QString::fromLatin1(QScopedArrayPointer<char>(DialogChecks::toString(problem)).data()));
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

    // Every page with the words its lists and boxes offer, as the code box holds the result: the
    // header and the line, no closing brace, a last empty line.
    void designerPagesGiveTablesWithoutProblems_data()
    {
        using namespace DialogLines;
        QTest::addColumn<QString>("line");
        const Geometry at{u"10"_qs, u"10"_qs, u"60"_qs, u"12"_qs};
        QTest::newRow("button") << buttonLine({.text = u"\"OK\""_qs, .id = u"1"_qs, .geometry = at,
                                               .slotWords = slotsWith({{3, u"group"_qs}, {5, u"default"_qs}, {6, u"flat"_qs}}),
                                               .type = u"ok cancel"_qs});
        QTest::newRow("radio, Right") << radioLine({.text = u"\"One\""_qs, .id = u"2"_qs, .geometry = at,
                                                    .slotWords = slotsWith({{5, u"flat"_qs}}), .type = u"Push"_qs,
                                                    .alignment = u"Right"_qs});
        QTest::newRow("radio, Left") << radioLine({.text = u"\"One\""_qs, .id = u"2"_qs, .geometry = at,
                                                   .slotWords = slotsWith({{2, u"result"_qs}}), .alignment = u"Left"_qs});
        QTest::newRow("combo") << comboLine({.id = u"3"_qs, .geometry = at,
                                             .slotWords = slotsWith({{5, u"hsbar"_qs}, {6, u"vsbar"_qs}}),
                                             .type = u"size drop"_qs});
        QTest::newRow("list") << listLine({.id = u"4"_qs, .geometry = at,
                                           .slotWords = slotsWith({{5, u"sort"_qs}, {6, u"vsbar"_qs}, {7, u"hsbar"_qs}})});
        QTest::newRow("edit") << editLine({.text = u"\"Name\""_qs, .id = u"5"_qs, .geometry = at, .limit = u"10"_qs,
                                           .slotWords = slotsWith({{5, u"read"_qs}, {6, u"pass"_qs}, {7, u"multi"_qs},
                                                                   {8, u"autohs"_qs}, {9, u"autovs"_qs}})});
        QTest::newRow("link") << linkLine({.text = u"Home"_qs, .id = u"6"_qs, .geometry = at,
                                           .slotWords = slotsWith({{4, u"hide"_qs}})});
        QTest::newRow("tab") << tabLine({.title = u"Main"_qs, .id = u"100"_qs,
                                         .geometry = {u"0"_qs, u"0"_qs, u"200"_qs, u"150"_qs},
                                         .slotWords = slotsWith({{1, u"disable"_qs}})});
        QTest::newRow("icon") << iconLine({.id = u"7"_qs, .geometry = at, .file = u"C:\\pics\\logo.bmp"_qs});
        QTest::newRow("check, standart right") << checkLine({.text = u"\"Remember\""_qs, .id = u"8"_qs, .geometry = at,
                                                             .type = u"standart"_qs, .alignment = u"right"_qs,
                                                             .slotWords = slotsWith({{5, u"flat"_qs}})});
        QTest::newRow("check, push left") << checkLine({.text = u"Remember"_qs, .id = u"8"_qs, .geometry = at,
                                                        .type = u"push"_qs, .alignment = u"left"_qs});
        QTest::newRow("scroll, vertical") << scrollLine({.text = u"\"\""_qs, .id = u"9"_qs, .geometry = at,
                                                         .orientation = u"vertical"_qs, .alignment = u"bottom"_qs});
        QTest::newRow("scroll, horizontal") << scrollLine({.text = u"Vol"_qs, .id = u"9"_qs, .geometry = at,
                                                           .orientation = u"horizontal"_qs, .alignment = u"top"_qs,
                                                           .slotWords = slotsWith({{1, u"disable"_qs}})});
        for (const QString &alignment : {u"Left"_qs, u"Center"_qs, u"Right"_qs})
            QTest::newRow(qPrintable(u"text, "_qs + alignment))
                << textLine({.text = u"Nick:"_qs, .id = u"10"_qs, .geometry = at, .alignment = alignment});
        QTest::newRow("panel") << panelLine({.text = u"\"Options\""_qs, .id = u"12"_qs,
                                             .geometry = {u"5"_qs, u"5"_qs, u"190"_qs, u"90"_qs},
                                             .slotWords = slotsWith({{3, u"group"_qs}})});
    }
    void designerPagesGiveTablesWithoutProblems()
    {
        QFETCH(QString, line);
        using namespace DialogLines;
        const HeaderFields header{.title = u"\"Built\""_qs, .size = {u"-1"_qs, u"-1"_qs, u"300"_qs, u"200"_qs}};
        const QStringList codeBox = headerLines(header) << line << QString();
        const Checked checked = readAndCheck(codeBox, {.textEndClosesTable = true});
        QVERIFY2(checked.problems.isEmpty(), qPrintable(describe(checked.problems)));
        QCOMPARE(checked.model.controls.size(), 1);
        // The same lines in a script lack their brace.
        QCOMPARE(readAndCheck(codeBox).problems, (QList<Problem>{{0, u"у таблицы нет закрывающей скобки «}»"_qs}}));
    }

    void refusedLines_data()
    {
        QTest::addColumn<QStringList>("body");
        QTest::addColumn<int>("line"); // of the problem, counted from the table's first body line
        QTest::addColumn<QString>("reason");
        QTest::addColumn<Severity>("severity");

        QTest::newRow("unknown control") << QStringList{u"label Nick:, 2, 10 10 30 10"_qs} << 0
                                         << u"mIRC не знает элемента «label»: надпись пишется словом text"_qs << Severity::Error;
        QTest::newRow("missing id") << QStringList{u"button \"OK\", , 10 10 30 10"_qs} << 0
                                    << u"не указан id элемента"_qs << Severity::Error;
        QTest::newRow("id not a number") << QStringList{u"button \"OK\", one, 10 10 30 10"_qs} << 0
                                         << u"id «one» должен быть целым неотрицательным числом"_qs << Severity::Error;
        QTest::newRow("id used twice")
            << QStringList{u"text \"a\", 7, 0 0 10 10"_qs, u"; a comment"_qs, u"edit \"b\", 7, 0 20 10 10"_qs} << 2
            << u"id 7 уже занят в строке 4"_qs << Severity::Error;
        QTest::newRow("three coordinates") << QStringList{u"button \"OK\", 1, 10 10 30"_qs} << 0
                                           << u"нужно четыре координаты x y w h, а указано 3"_qs << Severity::Error;
        QTest::newRow("coordinate not a number") << QStringList{u"button \"OK\", 1, 10 10 3O 10"_qs} << 0
                                                 << u"координата «3O» не целое число"_qs << Severity::Error;
        QTest::newRow("negative width") << QStringList{u"box \"\", 1, 10 10 -30 10"_qs} << 0
                                        << u"ширина и высота не могут быть отрицательными"_qs << Severity::Error;
        QTest::newRow("pieces missing") << QStringList{u"button \"OK\", 1"_qs} << 0
                                        << u"в строке не хватает частей: нужно button \"текст\", id, x y w h"_qs << Severity::Error;
        QTest::newRow("style the control does not take") << QStringList{u"button \"OK\", 1, 10 10 30 10, sort"_qs}
                                                         << 0 << u"button не принимает стиль «sort», mIRC его пропустит"_qs << Severity::Warning;
        QTest::newRow("misspelt style") << QStringList{u"edit \"\", 1, 10 10 30 10, disabled, multi"_qs} << 0
                                        << u"edit не принимает стиль «disabled», mIRC его пропустит (может быть, «disable»?)"_qs << Severity::Warning;
        QTest::newRow("text with spaces unquoted") << QStringList{u"text Nick name, 1, 10 10 30 10"_qs} << 0
                                                   << u"текст с пробелами нужно взять в кавычки"_qs << Severity::Error;
        QTest::newRow("quote not closed") << QStringList{u"text \"Nick, 1, 10 10 30 10"_qs} << 0
                                          << u"кавычка не закрыта"_qs << Severity::Error;
        QTest::newRow("quote inside bare text") << QStringList{u"text Ni\"ck, 1, 10 10 30 10"_qs} << 0
                                                << u"кавычка должна стоять в начале текста"_qs << Severity::Error;
        QTest::newRow("comma missing after the text") << QStringList{u"text \"Nick:\" 10, 40 15 55 15"_qs} << 0
                                                      << u"после текста пропущена запятая: mIRC читает строку так, будто она есть"_qs << Severity::Warning;
        QTest::newRow("words after the closing quote") << QStringList{u"text \"Nick\" name, 1, 0 0 9 9"_qs} << 0
                                                       << u"после закрывающей кавычки лишнее: «name»"_qs << Severity::Error;
        QTest::newRow("outside the dialog") << QStringList{u"text \"OK\", 1, 500 10 30 10"_qs} << 0
                                            << u"элемент лежит за пределами окна диалога (200 × 100)"_qs << Severity::Warning;
        QTest::newRow("over the edge") << QStringList{u"button \"OK\", 1, 190 10 30 10"_qs} << 0
                                       << u"элемент выходит за край окна диалога (200 × 100)"_qs << Severity::Warning;
        QTest::newRow("limit without a number") << QStringList{u"edit \"\", 1, 10 10 30 10, limit read"_qs} << 0
                                                << u"после limit нужно число"_qs << Severity::Warning;
        QTest::newRow("range with one number") << QStringList{u"scroll \"\", 1, 10 10 10 60, range 5"_qs} << 0
                                               << u"после range нужны два числа"_qs << Severity::Warning;
        QTest::newRow("tab without its id") << QStringList{u"button \"x\", 1, 10 10 30 10, tab"_qs} << 0
                                            << u"после tab нужен id вкладки"_qs << Severity::Error;
        QTest::newRow("no such tab")
            << QStringList{u"tab \"One\", 1, 0 0 200 100"_qs, u"button \"x\", 2, 10 30 30 10, tab 7"_qs} << 1
            << u"вкладки с id 7 в таблице нет"_qs << Severity::Error;
        QTest::newRow("tab page before any tab control") << QStringList{u"tab \"Page\", 1"_qs} << 0
                                                         << u"вкладка без координат должна идти после вкладки с координатами"_qs << Severity::Error;
        QTest::newRow("item before any menu") << QStringList{u"item \"Open\", 1"_qs} << 0
                                              << u"пункт item стоит раньше первой строки menu"_qs << Severity::Error;
        QTest::newRow("no such menu") << QStringList{u"menu \"File\", 1"_qs, u"item \"Open\", 2, 99"_qs} << 1
                                      << u"меню с id 99 в таблице нет"_qs << Severity::Error;
        QTest::newRow("unknown option") << QStringList{u"option dbu big"_qs} << 0
                                        << u"mIRC не знает параметра option «big» и пропустит его"_qs << Severity::Warning;
        QTest::newRow("second size line") << QStringList{u"size -1 -1 10 10"_qs} << 0
                                          << u"строка size уже была в строке 3"_qs << Severity::Error;
        QTest::newRow("icon index not a number") << QStringList{u"icon app.ico, first"_qs} << 0
                                                 << u"номер значка «first» должен быть числом"_qs << Severity::Error;
    }
    void refusedLines()
    {
        QFETCH(QStringList, body);
        QFETCH(int, line);
        QFETCH(QString, reason);
        QFETCH(Severity, severity);
        const Checked checked = readAndCheck(tableWith(body));
        QCOMPARE(checked.problems, (QList<Problem>{{3 + line, reason, severity}}));
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
        const QList<Problem> expected{{0, u"у таблицы нет закрывающей скобки «}»"_qs},
                                      {0, u"нет строки size: без неё mIRC не откроет диалог"_qs}};
        QCOMPARE(checked.problems, expected);
        // Complete at the end of the text is not complete before another block.
        QCOMPARE(readAndCheck({u"dialog a {"_qs, u"text \"x\", 1, 0 0 10 10"_qs, u""_qs, u"alias go {"_qs, u"}"_qs},
                              {.textEndClosesTable = true})
                     .problems,
                 expected);
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

    // A dbu is 2 pixels each way; "map" units are not dbu.
    void unitsBecomePixels()
    {
        QCOMPARE(pixelsX(Units::Dbu, 100), 200);
        QCOMPARE(pixelsY(Units::Dbu, 50), 100);
        QCOMPARE(pixelsX(Units::Dbu, -1), -2);
        QCOMPARE(pixelsX(Units::Pixels, 185), 185);
        QCOMPARE(pixelsX(Units::Map, 4), 6);
        QCOMPARE(pixelsY(Units::Map, 8), 13);
        QCOMPARE(pixelsX(Units::Map, 185), 278); // 277.5 rounds away from zero, as Windows does
        QCOMPARE(pixelsY(Units::Map, 138), 224); // 224.25
        QCOMPARE(readAndCheck({u"dialog m {"_qs, u"size -1 -1 10 10"_qs, u"option map"_qs, u"}"_qs}).model.units,
                 Units::Map);
    }

    void knowledgeBaseExamplesAreAccepted()
    {
        for (const KbDialogExamples::Example &example : KbDialogExamples::all()) {
            const Checked checked = readAndCheck(example.table);
            QVERIFY2(checked.problems.isEmpty(), qPrintable(example.name + u": "_qs + describe(checked.problems)));
            QCOMPARE(checked.model.units, Units::Dbu);
            QVERIFY(checked.model.controls.size() >= 2);
        }
    }

    // "text "Name:" 12, ...": drawn and checked as if the comma were there, with a warning.
    void aMissingCommaAfterTheTextIsReadAsIfPresent()
    {
        const Checked checked = readAndCheck(
            {u"dialog clock {"_qs, u"size -1 -1 300 200"_qs, u"tab \"Server\" 36, 2 0 266 180"_qs,
             u"tab \"Ports\"   37"_qs, u"text \"Введите время:\" 112, 14 25 120 16, tab 37"_qs,
             u"edit \"00\" %id, 19 45 30 18, center limit 2 tab 36"_qs, u"}"_qs});
        const QString comma = u"после текста пропущена запятая: mIRC читает строку так, будто она есть"_qs;
        QCOMPARE(checked.problems, (QList<Problem>{warning(2, comma), warning(3, comma), warning(4, comma),
                                                   warning(5, comma)}));
        const QList<Control> &controls = checked.model.controls;
        QCOMPARE(controls.at(0).tabControl, 0);
        QCOMPARE(controls.at(1).tabControl, 0); // the second page stays a page of the first
        QCOMPARE(checked.model.tabPageIndex(37), 1);
        const Control &text = controls.at(2);
        QCOMPARE(text.text.text, u"Введите время:"_qs);
        QCOMPARE(text.id.value, 112);
        QVERIFY(text.geometryKnown() && text.x() == 14 && text.height() == 16);
        QCOMPARE(text.tabPage(), 37);
        QCOMPARE(controls.at(3).id.kind, Number::Dynamic);
        // Words after the quote that are no id still hide the line.
        QCOMPARE(readAndCheck(tableWith({u"text \"Nick\" 10 20, 1, 0 0 9 9"_qs})).problems,
                 (QList<Problem>{{3, u"после закрывающей кавычки лишнее: «10 20»"_qs}}));
    }

    // Each control's styles as mIRC's help and knowledge base list them.
    void documentedStylesAreAccepted_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("check multi") << u"check \"Long text\", 1, 0 0 50 30, multi 3state left"_qs;
        for (const QString &side : {u"left"_qs, u"center"_qs, u"right"_qs})
            QTest::newRow(qPrintable(u"box "_qs + side)) << u"box \"Frame\", 1, 0 0 90 60, "_qs + side;
        for (const QString &side : {u"left"_qs, u"right"_qs, u"top"_qs, u"bottom"_qs})
            QTest::newRow(qPrintable(u"scroll "_qs + side)) << u"scroll \"\", 1, 0 0 90 60, range 0 9 "_qs + side;
        QTest::newRow("icon sides and sizes")
            << u"icon 1, 0 0 90 60, pic.bmp, 0, top left bottom right small large actual noborder"_qs;
        QTest::newRow("edit") << u"edit \"\", 1, 0 0 90 60, right center multi pass read return hsbar vsbar autohs "
                                 u"autovs limit 5 rich"_qs;
        QTest::newRow("list") << u"list 1, 0 0 90 60, sort extsel multsel size vsbar hsbar check radio"_qs;
        QTest::newRow("combo") << u"combo 1, 0 0 90 60, sort edit drop size vsbar hsbar"_qs;
        QTest::newRow("$calc coordinates") << u"text \"x\", 1, $calc(%w - 10) 0 $calc( 5 * 2 ) 10"_qs;
    }
    void documentedStylesAreAccepted()
    {
        QFETCH(QString, line);
        const Checked checked = readAndCheck(tableWith({line}));
        QVERIFY2(checked.problems.isEmpty(), qPrintable(describe(checked.problems)));
    }

    // mIRC passes over words it does not know: warnings, not errors.
    void undocumentedWordsAreWarnings()
    {
        const Checked checked = readAndCheck(tableWith({u"edit \"\", 1, 0 0 90 20, disabled limit3"_qs,
                                                        u"radio \"On\", 2, 0 30 90 20, 1 group"_qs,
                                                        u"box \"\", 3, 0 60 90 20, 1"_qs}));
        QCOMPARE(checked.problems,
                 (QList<Problem>{
                     warning(3, u"edit не принимает стиль «disabled», mIRC его пропустит (может быть, «disable»?)"_qs),
                     warning(3, u"mIRC не знает стиля «limit3»: число пишется через пробел, «limit 3»"_qs),
                     warning(4, u"radio не принимает стиль «1», mIRC его пропустит"_qs),
                     warning(5, u"box не принимает стиль «1», mIRC его пропустит"_qs)}));
        QCOMPARE(DialogChecks::countOf(checked.problems, Severity::Warning), 4);
        QCOMPARE(DialogChecks::countOf(checked.problems, Severity::Error), 0);
    }

    // What lies off the dialog is a warning; a hidden control and a button put wholly off it are meant
    // to be unseen; a dialog sized by its script has no edges to be off.
    void controlsOffTheDialog()
    {
        Checked checked = readAndCheck(tableWith({u"button ,1,-50 -50 1 1,ok"_qs, u"button \"Esc\", 2, 300 300 9 9, cancel"_qs,
                                                  u"text \"Hidden\", 3, 500 10 30 10, hide"_qs,
                                                  u"button \"Half\", 4, 190 10 30 10"_qs,
                                                  u"text \"Gone\", 5, 500 10 30 10"_qs}));
        QCOMPARE(checked.problems,
                 (QList<Problem>{warning(6, u"элемент выходит за край окна диалога (200 × 100)"_qs),
                                 warning(7, u"элемент лежит за пределами окна диалога (200 × 100)"_qs)}));

        checked = readAndCheck(tableWith({u"text \"Far\", 1, 500 400 30 10"_qs}, u"size -1 -1 1 1"_qs));
        QCOMPARE(checked.problems,
                 (QList<Problem>{{2, u"размер 1 × 1 задаёт скрипт, когда диалог открывается (dialog -s): диалог "
                                     u"нарисован по его элементам"_qs, Severity::Note}}));
        QVERIFY(checked.model.sizeLeftToScript() && !checked.model.declaresWidth());
        QVERIFY(readAndCheck(tableWith({}, u"size -1 -1 0 0"_qs)).problems.isEmpty());
    }

    // An identifier with spaces in its brackets is one value of the geometry.
    void valuesSplitOutsideParentheses()
    {
        QCOMPARE(valuesOf(u" $calc($dialog($dname).cw - 180) 5  175 $calc(%h - (2 * 3)) "_qs),
                 (QStringList{u"$calc($dialog($dname).cw - 180)"_qs, u"5"_qs, u"175"_qs, u"$calc(%h - (2 * 3))"_qs}));
        QCOMPARE(valuesOf(u"a ) b (c d"_qs), (QStringList{u"a"_qs, u")"_qs, u"b"_qs, u"(c d"_qs}));
        const Checked checked = readAndCheck(tableWith({u"list 100, $calc($dialog($dname).cw - 180) 5 175 $calc(%h - 13)"_qs}));
        QVERIFY2(checked.problems.isEmpty(), qPrintable(describe(checked.problems)));
        QCOMPARE(checked.model.controls.first().geometry.size(), 4);
    }

    // INI-format scripts: each line's text follows its "nN=".
    void iniScriptLinesAreReadAsTheirText()
    {
        const QStringList lines{u"[script]"_qs,
                                u"n0=alias skins { dialog -m skins skins }"_qs,
                                u"n1=dialog skins {"_qs,
                                u"n2=  title \"Skins\""_qs,
                                u"n3=  size -1 -1 530 158"_qs,
                                u"n4=  list 100, 5 5 170 150"_qs,
                                u"n5=  button \"Apply\", 10, 180 5 170 30"_qs,
                                u"n6=}"_qs,
                                u"n7=on *:dialog:skins:init:*: { did -a skins 100 x }"_qs};
        const StringListLines source(lines);
        QVERIFY(!tableAround(source, 1));
        const std::optional<Span> span = tableAround(source, 5);
        QVERIFY(span && span->headerLine == 2 && span->lastLine == 7 && span->closed);
        QCOMPARE(span->name, u"skins"_qs);
        QCOMPARE(tableNamed(source, u"SKINS"_qs, 8)->headerLine, 2);
        QCOMPARE(firstTable(source, 10)->headerLine, 2);
        const DialogModel model = readTable(source, *span);
        QCOMPARE(model.title, u"Skins"_qs);
        QCOMPARE(model.controls.size(), 2);
        QCOMPARE(model.controls.at(1).id.value, 10);
        QVERIFY(DialogChecks::check(model).isEmpty());
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
        QTest::newRow("tools, an INI script")
            << u"neon-tools.ini"_qs
            << QStringList{u"skins"_qs, u"alarm"_qs, u"ctcpoptions"_qs, u"systeminfo"_qs, u"nickaccess"_qs, u"logs"_qs,
                           u"clones"_qs, u"whitelist"_qs, u"blacklist"_qs, u"antivirus"_qs, u"fkeys"_qs, u"browser"_qs,
                           u"favorites"_qs, u"searchfind"_qs, u"winampcontrol"_qs, u"winamptaghelp"_qs, u"nickgen"_qs, u"charlist"_qs,
                           u"volume"_qs, u"helpbrowser"_qs, u"memos"_qs, u"colortb"_qs, u"irc1"_qs, u"avtootvetchik"_qs,
                           u"calctime"_qs, u"cnotice"_qs, u"anketa"_qs};
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
            QCOMPARE(table.model.size.size(), 4); // numbers, or %variables set before the dialog opens
            QVERIFY(!table.model.controls.isEmpty());
            // mIRC opens every one of them: whatever the checks find is a warning.
            const QList<Problem> errors = ofSeverity(table.problems, Severity::Error);
            QVERIFY2(errors.isEmpty(), qPrintable(file + u": "_qs + describe(errors)));
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
                 (QList<Problem>{
                     warning(8, u"edit не принимает стиль «disabled», mIRC его пропустит (может быть, «disable»?)"_qs)}));
        // The error box of Qblock (in pixels, 187 by 75) puts a frame below its bottom edge.
        const QList<FileTable> qblock = tablesOf(linesOf(u"neon-qblock-qblock.mrc"_qs));
        const QList<Problem> &errorBox = qblock.at(1).problems;
        QVERIFY(errorBox.contains(warning(203, u"элемент лежит за пределами окна диалога (187 × 75)"_qs)));
    }
};

QTEST_GUILESS_MAIN(DialogTableTest)
#include "test_dialog_table.moc"
