// Random and mangled text fed to the dialog table reader and checks for a bounded time: nothing
// crashes, hangs or reports a line outside the table it read.
#include "language/dialog_checks.h"
#include "language/dialog_table.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QtTest>

using namespace DialogTable;

namespace {

const QStringList kSeedTable{
    u"dialog -l demo {"_qs,
    u"  title \"Demo\""_qs,
    u"  size -1 -1 200 150"_qs,
    u"  option dbu notheme"_qs,
    u"  icon app.ico, 0"_qs,
    u"  tab \"One\", 1, 5 5 190 120"_qs,
    u"  tab \"Two\", 2"_qs,
    u"  button \"OK\", 3, 25 25 37 12, ok default tab 1"_qs,
    u"  edit \"Name\", 4, 10 20 100 12, limit 10 read vsbar tab 2"_qs,
    u"  combo 5, -1 -1 0 0, size drop"_qs,
    u"  list 6, 10 40 60 50, sort check"_qs,
    u"  icon 7, 10 10 32 32, \"pics\\logo.bmp\", 0, noborder"_qs,
    u"  scroll \"\", 8, 150 10 10 80, range 0 100"_qs,
    u"  menu \"&File\", 60"_qs,
    u"  item \"&Open\", 70"_qs,
    u"  item break, 71, 60"_qs,
    u"  ; comment"_qs,
    u"  /* block"_qs,
    u"  */"_qs,
    u"}"_qs,
    u"alias demo { dialog -m demo demo }"_qs,
};

const QStringList kPieces{u"dialog"_qs, u"-l"_qs, u"{"_qs,      u"}"_qs,     u"\""_qs,     u","_qs,
                          u" "_qs,      u"tab"_qs, u"limit"_qs, u"range"_qs, u"%v"_qs,     u"$id"_qs,
                          u"-1"_qs,     u"0"_qs,   u"999999999999"_qs, u"text"_qs, u"item"_qs, u"menu"_qs,
                          u"icon"_qs,   u"size"_qs, u"option"_qs, u"/*"_qs,    u"*/"_qs,     u";"_qs,
                          u"\t"_qs,     u"ё"_qs,   u"\u0000"_qs, u"alias x {"_qs, u"12"_qs,  u"break"_qs,
                          u"n7="_qs,    u"$calc("_qs, u"("_qs,   u")"_qs};

QString randomLine(QRandomGenerator &random)
{
    QString line;
    const int pieces = random.bounded(12);
    for (int i = 0; i < pieces; ++i) {
        if (random.bounded(4) == 0)
            line += QChar(char16_t(random.bounded(32, 0x500)));
        else
            line += kPieces.at(random.bounded(int(kPieces.size())));
    }
    return line;
}

QString mutated(QString line, QRandomGenerator &random)
{
    const int edits = 1 + random.bounded(3);
    for (int e = 0; e < edits; ++e) {
        const int at = line.isEmpty() ? 0 : random.bounded(int(line.size()) + 1);
        switch (random.bounded(3)) {
        case 0:
            if (at < line.size())
                line.remove(at, 1 + random.bounded(3));
            break;
        case 1:
            line.insert(at, kPieces.at(random.bounded(int(kPieces.size()))));
            break;
        default:
            if (at < line.size())
                line[at] = QChar(char16_t(random.bounded(32, 127)));
            break;
        }
    }
    return line;
}

QStringList randomText(QRandomGenerator &random)
{
    QStringList lines;
    if (random.bounded(2) == 0) {
        for (const QString &line : kSeedTable) {
            const int roll = random.bounded(10);
            if (roll == 0)
                continue;
            lines.append(roll < 4 ? mutated(line, random) : line);
            if (roll == 9)
                lines.append(line);
        }
    } else {
        const int count = random.bounded(30);
        for (int i = 0; i < count; ++i)
            lines.append(randomLine(random));
    }
    return lines;
}

} // namespace

class DialogFuzzTest : public QObject {
    Q_OBJECT
private slots:
    void randomTextNeverBreaksTheReader()
    {
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        QElapsedTimer clock;
        clock.start();
        int texts = 0;
        while (clock.elapsed() < 1500) {
            const QStringList lines = randomText(random);
            const StringListLines source(lines);
            ++texts;
            const int probe = lines.isEmpty() ? 0 : random.bounded(int(lines.size()));
            std::optional<Span> span = tableAround(source, probe);
            if (!span)
                span = tableNamed(source, u"demo"_qs, probe);
            if (!span)
                continue;
            QVERIFY2(span->headerLine <= span->lastLine && span->lastLine < lines.size(),
                     qPrintable(u"seed %1"_qs.arg(seed)));
            const DialogModel model = readTable(source, *span);
            for (const DialogChecks::Problem &problem : DialogChecks::check(model)) {
                QVERIFY2(span->contains(problem.line), qPrintable(u"seed %1"_qs.arg(seed)));
                QVERIFY(!problem.reason.isEmpty());
            }
        }
        QVERIFY(texts > 100);
    }

    void readingOutOfRangeLinesFindsNothing()
    {
        const StringListLines source(kSeedTable);
        QVERIFY(!tableAround(source, -1));
        QVERIFY(!tableAround(source, int(kSeedTable.size())));
        QVERIFY(!tableAt(source, 1000));
        QVERIFY(readTable(source, Span{}).controls.isEmpty());
        const QStringList empty;
        QVERIFY(!tableAround(StringListLines(empty), 0));
        QVERIFY(!tableNamed(StringListLines(empty), u"demo"_qs, 0));
        QCOMPARE(tableNamed(source, u"DEMO"_qs, 500)->headerLine, 0);
    }
};

QTEST_GUILESS_MAIN(DialogFuzzTest)
#include "test_dialog_fuzz.moc"
