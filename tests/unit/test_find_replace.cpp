// The find, replace and replace-all steps on the whole CR LF text.
#include "editor/find_replace.h"
#include "editor/win1251_codec.h"

#include <QRandomGenerator>
#include <QTest>

using namespace FindReplace;

Q_DECLARE_METATYPE(FindReplace::Direction)

namespace {

Options options(bool matchCase, bool wholeWord, Direction direction = Direction::Down)
{
    Options o;
    o.matchCase = matchCase;
    o.wholeWord = wholeWord;
    o.direction = direction;
    return o;
}

// Every match by brute force: lower both sides, try every start.
QList<qsizetype> naiveMatches(const QString &text, const QString &what, const Options &o)
{
    QList<qsizetype> found;
    const QString hay = o.matchCase ? text : text.toLower();
    const QString needle = o.matchCase ? what : what.toLower();
    for (qsizetype i = 0; !needle.isEmpty() && i + needle.size() <= hay.size(); ++i) {
        if (QStringView(hay).sliced(i, needle.size()) != needle)
            continue;
        const qsizetype end = i + needle.size();
        const bool bounded = (i == 0 || !isWordCharacter(text[i - 1])) && (end == text.size() || !isWordCharacter(text[end]));
        if (!o.wholeWord || bounded)
            found.append(i);
    }
    return found;
}

QString randomText(QRandomGenerator &random, qsizetype length)
{
    static const QString alphabet = QStringLiteral("aAb_ 1яЯ\r\n");
    QString text(length, Qt::Uninitialized);
    for (QChar &c : text)
        c = alphabet[random.bounded(int(alphabet.size()))];
    return text;
}

} // namespace

class TestFindReplace : public QObject {
    Q_OBJECT
private slots:
    void findStep_data();
    void findStep();
    void successiveMatchesThenMessage();
    void replaceStep();
    void replaceAll_data();
    void replaceAll();
    void wordCharacters();
    void lowerCaseKeepsOffsets();
    void fieldTextIsCutTo255();
    void patternAgreesWithBruteForceOnLongTexts();
};

void TestFindReplace::findStep_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("selStart");
    QTest::addColumn<qsizetype>("selLength");
    QTest::addColumn<QString>("what");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("wholeWord");
    QTest::addColumn<Direction>("direction");
    QTest::addColumn<qsizetype>("found"); // -1: the message

    const Direction down = Direction::Down;
    const Direction up = Direction::Up;
    QTest::newRow("ALIAS finds alias") << "x alias Alias" << qsizetype(0) << qsizetype(0) << "ALIAS" << false << false << down << qsizetype(2);
    QTest::newRow("ALIAS finds Alias after alias") << "x alias Alias" << qsizetype(2) << qsizetype(5) << "ALIAS" << false << false << down << qsizetype(8);
    QTest::newRow("match case: Alias skips alias") << "alias Alias" << qsizetype(0) << qsizetype(0) << "Alias" << true << false << down << qsizetype(6);
    QTest::newRow("match case: no Alias at all") << "alias alias" << qsizetype(0) << qsizetype(0) << "Alias" << true << false << down << qsizetype(-1);
    QTest::newRow("Cyrillic capitals find small letters") << "echo привет мир" << qsizetype(0) << qsizetype(0) << "ПРИВЕТ" << false << false << down << qsizetype(5);
    QTest::newRow("Cyrillic Ё finds ё") << "ёлка" << qsizetype(0) << qsizetype(0) << "ЁЛКА" << false << false << down << qsizetype(0);
    QTest::newRow("match case: Cyrillic capitals do not") << "привет" << qsizetype(0) << qsizetype(0) << "ПРИВЕТ" << true << false << down << qsizetype(-1);
    QTest::newRow("later line counts CR LF as two") << "line one\r\nsecond\r\nfind me" << qsizetype(0) << qsizetype(0) << "find" << false << false << down << qsizetype(18);
    QTest::newRow("aaa: aa at the start") << "aaa" << qsizetype(0) << qsizetype(0) << "aa" << false << false << down << qsizetype(0);
    QTest::newRow("aaa: nothing after aa") << "aaa" << qsizetype(0) << qsizetype(2) << "aa" << false << false << down << qsizetype(-1);
    QTest::newRow("caret at the end: the message") << "abc abc" << qsizetype(7) << qsizetype(0) << "abc" << false << false << down << qsizetype(-1);
    QTest::newRow("search starts at the caret") << "abc abc" << qsizetype(1) << qsizetype(0) << "abc" << false << false << down << qsizetype(4);
    QTest::newRow("a match beginning inside the selection is not found") << "abcabc" << qsizetype(0) << qsizetype(3) << "ca" << false << false << down << qsizetype(-1);
    QTest::newRow("empty text to find") << "abc" << qsizetype(0) << qsizetype(0) << "" << false << false << down << qsizetype(-1);
    QTest::newRow("text to find over a line break") << "ab\r\ncd" << qsizetype(0) << qsizetype(0) << "B\r\nC" << false << false << down << qsizetype(1);
    QTest::newRow("selection past the end of the text") << "abc" << qsizetype(9) << qsizetype(0) << "abc" << false << false << down << qsizetype(-1);

    // Whole word: neither neighbour a letter, a digit or "_".
    QTest::newRow("whole word off: on inside upon") << "upon on" << qsizetype(0) << qsizetype(0) << "on" << false << false << down << qsizetype(2);
    QTest::newRow("whole word: on skips upon") << "upon on" << qsizetype(0) << qsizetype(0) << "on" << false << true << down << qsizetype(5);
    QTest::newRow("whole word: underscore joins") << "on_x on" << qsizetype(0) << qsizetype(0) << "on" << false << true << down << qsizetype(5);
    QTest::newRow("whole word: digit joins") << "on1 on" << qsizetype(0) << qsizetype(0) << "on" << false << true << down << qsizetype(4);
    QTest::newRow("whole word: Cyrillic letter joins") << "приветик привет" << qsizetype(0) << qsizetype(0) << "ПРИВЕТ" << false << true << down << qsizetype(9);
    QTest::newRow("whole word: punctuation bounds") << "$nick(on)" << qsizetype(0) << qsizetype(0) << "on" << false << true << down << qsizetype(6);
    QTest::newRow("whole word: line breaks bound") << "x\r\non\r\n" << qsizetype(0) << qsizetype(0) << "on" << false << true << down << qsizetype(3);
    QTest::newRow("whole word: none") << "upon onto" << qsizetype(0) << qsizetype(0) << "on" << false << true << down << qsizetype(-1);

    // Up: the nearest match that ends at or before the start of the selection.
    QTest::newRow("up from the end") << "on bond on" << qsizetype(10) << qsizetype(0) << "on" << false << false << up << qsizetype(8);
    QTest::newRow("up from a match") << "on bond on" << qsizetype(8) << qsizetype(2) << "on" << false << false << up << qsizetype(4);
    QTest::newRow("up, whole word") << "on bond on" << qsizetype(8) << qsizetype(2) << "on" << false << true << up << qsizetype(0);
    QTest::newRow("up from the start: the message") << "on bond on" << qsizetype(0) << qsizetype(2) << "on" << false << false << up << qsizetype(-1);
    QTest::newRow("up: aaa from the end") << "aaa" << qsizetype(3) << qsizetype(0) << "aa" << false << false << up << qsizetype(1);
    QTest::newRow("up: nothing before aa") << "aaa" << qsizetype(1) << qsizetype(2) << "aa" << false << false << up << qsizetype(-1);
    QTest::newRow("up: a match overlapping the caret is not found") << "abcd" << qsizetype(2) << qsizetype(0) << "bc" << false << false << up << qsizetype(-1);
    QTest::newRow("up over lines, ignoring case") << "Alias\r\nx\r\nalias" << qsizetype(10) << qsizetype(0) << "ALIAS" << false << false << up << qsizetype(0);
    QTest::newRow("up, match case") << "alias Alias alias" << qsizetype(17) << qsizetype(0) << "Alias" << true << false << up << qsizetype(6);
}

void TestFindReplace::findStep()
{
    QFETCH(QString, text);
    QFETCH(qsizetype, selStart);
    QFETCH(qsizetype, selLength);
    QFETCH(QString, what);
    QFETCH(bool, matchCase);
    QFETCH(bool, wholeWord);
    QFETCH(Direction, direction);
    QFETCH(qsizetype, found);

    const std::optional<Selection> result =
        FindReplace::findStep(text, {selStart, selLength}, what, options(matchCase, wholeWord, direction));
    if (found < 0) {
        QVERIFY2(!result, qPrintable(QStringLiteral("found at %1").arg(result ? result->start : -1)));
    } else {
        QVERIFY(result);
        QCOMPARE(result->start, found);
        QCOMPARE(result->length, what.size());
    }
}

void TestFindReplace::successiveMatchesThenMessage()
{
    const QString text = QStringLiteral("echo a\r\necho b\r\nEcho c");
    const Options o = options(false, false);
    Selection selection{0, 0};
    QList<qsizetype> starts;
    while (const std::optional<Selection> next = FindReplace::findStep(text, selection, u"echo", o)) {
        starts.append(next->start);
        selection = *next;
    }
    QCOMPARE(starts, (QList<qsizetype>{0, 8, 16}));
    QCOMPARE(selection, (Selection{16, 4})); // the last match stays selected

    // Going up from there meets the same matches in reverse.
    const Options upward = options(false, false, Direction::Up);
    starts.clear();
    while (const std::optional<Selection> previous = FindReplace::findStep(text, selection, u"echo", upward)) {
        starts.append(previous->start);
        selection = *previous;
    }
    QCOMPARE(starts, (QList<qsizetype>{8, 0}));
}

void TestFindReplace::replaceStep()
{
    // Whatever the selection holds is replaced; nothing selected gives the message.
    QCOMPARE(FindReplace::replaceStep({4, 3}, QStringLiteral("new")), (Replacement{4, 3, QStringLiteral("new")}));
    QCOMPARE(FindReplace::replaceStep({4, 3}, QString()), (Replacement{4, 3, QString()}));
    QVERIFY(!FindReplace::replaceStep({4, 0}, QStringLiteral("new")));
}

void TestFindReplace::replaceAll_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("wholeWord");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<qsizetype>("count");

    QTest::newRow("every occurrence") << "on bond on" << "on" << "ON" << false << false << "ON bONd ON" << qsizetype(3);
    QTest::newRow("whole word") << "on bond on" << "on" << "ON" << false << true << "ON bond ON" << qsizetype(2);
    QTest::newRow("ignoring case") << "On on ON" << "on" << "x" << false << false << "x x x" << qsizetype(3);
    QTest::newRow("match case") << "On on ON" << "on" << "x" << true << false << "On x ON" << qsizetype(1);
    QTest::newRow("Cyrillic") << "Мир мир МИР" << "мир" << "world" << false << false << "world world world" << qsizetype(3);
    QTest::newRow("occurrences do not overlap") << "aaaaa" << "aa" << "b" << false << false << "bba" << qsizetype(2);
    QTest::newRow("the replacement is not searched again") << "a a" << "a" << "aa" << false << false << "aa aa" << qsizetype(2);
    QTest::newRow("empty replacement deletes") << "x, y, z" << ", " << "" << false << false << "xyz" << qsizetype(2);
    QTest::newRow("over line breaks") << "a\r\nb\r\nc" << "\r\n" << " " << false << false << "a b c" << qsizetype(2);
    QTest::newRow("none: the text stays") << "abc" << "x" << "y" << false << false << "abc" << qsizetype(0);
    QTest::newRow("empty text to find replaces nothing") << "abc" << "" << "y" << false << false << "abc" << qsizetype(0);
}

void TestFindReplace::replaceAll()
{
    QFETCH(QString, text);
    QFETCH(QString, what);
    QFETCH(QString, replacement);
    QFETCH(bool, matchCase);
    QFETCH(bool, wholeWord);
    QFETCH(QString, expected);
    QFETCH(qsizetype, count);

    const ReplaceAllResult result = FindReplace::replaceAll(text, what, replacement, options(matchCase, wholeWord));
    QCOMPARE(result.text, expected);
    QCOMPARE(result.count, count);
}

void TestFindReplace::wordCharacters()
{
    for (QChar c : QStringLiteral("azAZ09_жЖёЁ"))
        QVERIFY2(isWordCharacter(c), qPrintable(QString(c)));
    for (QChar c : QStringLiteral(" \r\n\t-.,$%#(){}[]<>|\"'«»№"))
        QVERIFY2(!isWordCharacter(c), qPrintable(QString(c)));
}

void TestFindReplace::lowerCaseKeepsOffsets()
{
    QCOMPARE(lowered(u"ПРИВЕТ Ёж ABC ЇЎЂ"), QStringLiteral("привет ёж abc їўђ"));
    // Over the whole code page, lowering character by character agrees with Unicode's lower case,
    // which therefore never changes a length there.
    QByteArray codePage;
    for (int b = 0; b < 256; ++b)
        codePage.append(char(b));
    const QString all = Win1251::decode(codePage);
    QCOMPARE(lowered(all), all.toLower());
}

void TestFindReplace::fieldTextIsCutTo255()
{
    const QString longText(300, QLatin1Char('x'));
    QCOMPARE(fieldText(longText), QString(255, QLatin1Char('x')));
    QCOMPARE(fieldText(QString(255, QLatin1Char('y'))).size(), 255);
    QCOMPARE(fieldText(QStringLiteral("short")), QStringLiteral("short"));
}

void TestFindReplace::patternAgreesWithBruteForceOnLongTexts()
{
    // Long enough that the search lowers the text in several pieces, so matches fall on their seams.
    QRandomGenerator random(20240501);
    const QStringList needles{QStringLiteral("a"), QStringLiteral("Ab"), QStringLiteral("я_"),
                              QStringLiteral("ab a"), QStringLiteral("\r\nA"), QStringLiteral("aaaaaaa")};
    for (int round = 0; round < 4; ++round) {
        const QString text = randomText(random, 200000 + random.bounded(50000));
        for (const QString &needle : needles) {
            for (int flags = 0; flags < 4; ++flags) {
                const Options o = options(flags & 1, flags & 2);
                const QList<qsizetype> expected = naiveMatches(text, needle, o);
                const Pattern pattern(needle, o);
                const QString where = QStringLiteral("needle %1, flags %2").arg(needle).arg(flags);

                // Every match, and the first and last around a few points.
                QList<qsizetype> all = pattern.allIn(text);
                QList<qsizetype> nonOverlapping;
                for (qsizetype at : expected) {
                    if (nonOverlapping.isEmpty() || at >= nonOverlapping.last() + needle.size())
                        nonOverlapping.append(at);
                }
                QVERIFY2(all == nonOverlapping, qPrintable(where));
                for (int probe = 0; probe < 20; ++probe) {
                    const qsizetype from = random.bounded(int(text.size()));
                    const auto next = std::find_if(expected.begin(), expected.end(), [&](qsizetype at) { return at >= from; });
                    QVERIFY2(pattern.indexIn(text, from) == (next == expected.end() ? -1 : *next), qPrintable(where));
                    qsizetype previous = -1;
                    for (qsizetype at : expected) {
                        if (at + needle.size() <= from)
                            previous = at;
                    }
                    QVERIFY2(pattern.lastIndexIn(text, from) == previous, qPrintable(where));
                }
            }
        }
    }
}

QTEST_APPLESS_MAIN(TestFindReplace)
#include "test_find_replace.moc"
