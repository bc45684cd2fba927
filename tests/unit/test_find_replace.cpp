// The find, replace and replace-all steps on the whole CR LF text.
#include "common/win1251_codec.h"
#include "editor/find_replace.h"
#include "support/replace_all_oracle.h"

#include <QRandomGenerator>
#include <QTest>

using namespace FindReplace;

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
        const bool bounded =
            (i == 0 || !isWordCharacter(text[i - 1])) && (end == text.size() || !isWordCharacter(text[end]));
        if (!o.wholeWord || bounded)
            found.append(i);
    }
    return found;
}

// Lower case as the search applies it, byte for byte over the code page.
QString lowered(QStringView text)
{
    return Win1251::decode(loweredBytes(Win1251::encode(text)));
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
    void patternFindsALoneMatchWhereverItLies();
    void anyLineBreakInTheTextToFindIsALineBreak();
    void utf8SearchLowersCharacterByCharacter_data();
    void utf8SearchLowersCharacterByCharacter();
    void utf8SearchAgreesWithBruteForce();
};

void TestFindReplace::findStep_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("selStart");
    QTest::addColumn<qsizetype>("selLength");
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("flags"); // c: match case, w: whole word, u: up
    QTest::addColumn<qsizetype>("found"); // -1: the message

    const auto row = [](const char *name, const QString &text, qsizetype selStart, qsizetype selLength,
                        const QString &what, const QString &flags, qsizetype found) {
        QTest::newRow(name) << text << selStart << selLength << what << flags << found;
    };
    row("ALIAS finds alias", "x alias Alias", 0, 0, "ALIAS", "", 2);
    row("ALIAS finds Alias after alias", "x alias Alias", 2, 5, "ALIAS", "", 8);
    row("match case: Alias skips alias", "alias Alias", 0, 0, "Alias", "c", 6);
    row("match case: no Alias at all", "alias alias", 0, 0, "Alias", "c", -1);
    row("Cyrillic capitals find small letters", "echo привет мир", 0, 0, "ПРИВЕТ", "", 5);
    row("Cyrillic Ё finds ё", "ёлка", 0, 0, "ЁЛКА", "", 0);
    row("match case: Cyrillic capitals do not", "привет", 0, 0, "ПРИВЕТ", "c", -1);
    row("later line counts CR LF as two", "line one\r\nsecond\r\nfind me", 0, 0, "find", "", 18);
    row("aaa: aa at the start", "aaa", 0, 0, "aa", "", 0);
    row("aaa: nothing after aa", "aaa", 0, 2, "aa", "", -1);
    row("caret at the end: the message", "abc abc", 7, 0, "abc", "", -1);
    row("search starts at the caret", "abc abc", 1, 0, "abc", "", 4);
    row("a match beginning inside the selection is not found", "abcabc", 0, 3, "ca", "", -1);
    row("empty text to find", "abc", 0, 0, "", "", -1);
    row("text to find over a line break", "ab\r\ncd", 0, 0, "B\r\nC", "", 1);
    row("selection past the end of the text", "abc", 9, 0, "abc", "", -1);

    // Whole word: neither neighbour a letter, a digit or "_".
    row("whole word off: on inside upon", "upon on", 0, 0, "on", "", 2);
    row("whole word: on skips upon", "upon on", 0, 0, "on", "w", 5);
    row("whole word: underscore joins", "on_x on", 0, 0, "on", "w", 5);
    row("whole word: digit joins", "on1 on", 0, 0, "on", "w", 4);
    row("whole word: Cyrillic letter joins", "приветик привет", 0, 0, "ПРИВЕТ", "w", 9);
    row("whole word: punctuation bounds", "$nick(on)", 0, 0, "on", "w", 6);
    row("whole word: line breaks bound", "x\r\non\r\n", 0, 0, "on", "w", 3);
    row("whole word: none", "upon onto", 0, 0, "on", "w", -1);

    // Up: the nearest match that ends at or before the start of the selection.
    row("up from the end", "on bond on", 10, 0, "on", "u", 8);
    row("up from a match", "on bond on", 8, 2, "on", "u", 4);
    row("up, whole word", "on bond on", 8, 2, "on", "wu", 0);
    row("up from the start: the message", "on bond on", 0, 2, "on", "u", -1);
    row("up: aaa from the end", "aaa", 3, 0, "aa", "u", 1);
    row("up: nothing before aa", "aaa", 1, 2, "aa", "u", -1);
    row("up: a match overlapping the caret is not found", "abcd", 2, 0, "bc", "u", -1);
    row("up over lines, ignoring case", "Alias\r\nx\r\nalias", 10, 0, "ALIAS", "u", 0);
    row("up, match case", "alias Alias alias", 17, 0, "Alias", "cu", 6);
}

void TestFindReplace::findStep()
{
    QFETCH(QString, text);
    QFETCH(qsizetype, selStart);
    QFETCH(qsizetype, selLength);
    QFETCH(QString, what);
    QFETCH(QString, flags);
    QFETCH(qsizetype, found);

    const Direction direction = flags.contains(u'u') ? Direction::Up : Direction::Down;
    const Options o = options(flags.contains(u'c'), flags.contains(u'w'), direction);
    const std::optional<Selection> result = FindReplace::findStep(text, {selStart, selLength}, what, o);
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
    QTest::addColumn<QString>("flags"); // c: match case, w: whole word
    QTest::addColumn<QString>("expected");
    QTest::addColumn<qsizetype>("count");

    const auto row = [](const char *name, const QString &text, const QString &what, const QString &replacement,
                        const QString &flags, const QString &expected, qsizetype count) {
        QTest::newRow(name) << text << what << replacement << flags << expected << count;
    };
    row("every occurrence", "on bond on", "on", "ON", "", "ON bONd ON", 3);
    row("whole word", "on bond on", "on", "ON", "w", "ON bond ON", 2);
    row("ignoring case", "On on ON", "on", "x", "", "x x x", 3);
    row("match case", "On on ON", "on", "x", "c", "On x ON", 1);
    row("Cyrillic", "Мир мир МИР", "мир", "world", "", "world world world", 3);
    row("occurrences do not overlap", "aaaaa", "aa", "b", "", "bba", 2);
    row("the replacement is not searched again", "a a", "a", "aa", "", "aa aa", 2);
    row("empty replacement deletes", "x, y, z", ", ", "", "", "xyz", 2);
    row("over line breaks", "a\r\nb\r\nc", "\r\n", " ", "", "a b c", 2);
    row("none: the text stays", "abc", "x", "y", "", "abc", 0);
    row("empty text to find replaces nothing", "abc", "", "y", "", "abc", 0);
}

void TestFindReplace::replaceAll()
{
    QFETCH(QString, text);
    QFETCH(QString, what);
    QFETCH(QString, replacement);
    QFETCH(QString, flags);
    QFETCH(QString, expected);
    QFETCH(qsizetype, count);

    const Options o = options(flags.contains(u'c'), flags.contains(u'w'));
    const ReplaceAllOracle::Result result = ReplaceAllOracle::replaceAll(text, what, replacement, o);
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
        const QByteArray bytes = Win1251::encode(text);
        for (const QString &needle : needles) {
            for (int flags = 0; flags < 4; ++flags) {
                const Options o = options(flags & 1, flags & 2);
                const QList<qsizetype> expected = naiveMatches(text, needle, o);
                const Pattern pattern(needle, o);
                const QString where = QStringLiteral("needle %1, flags %2").arg(needle).arg(flags);

                // Every match, and the first and last around a few points.
                QList<qsizetype> all = pattern.allIn(bytes);
                QList<qsizetype> nonOverlapping;
                for (qsizetype at : expected) {
                    if (nonOverlapping.isEmpty() || at >= nonOverlapping.last() + needle.size())
                        nonOverlapping.append(at);
                }
                QVERIFY2(all == nonOverlapping, qPrintable(where));
                for (int probe = 0; probe < 20; ++probe) {
                    const qsizetype from = random.bounded(int(text.size()));
                    const auto next =
                        std::find_if(expected.begin(), expected.end(), [&](qsizetype at) { return at >= from; });
                    QVERIFY2(pattern.indexIn(bytes, from) == (next == expected.end() ? -1 : *next), qPrintable(where));
                    qsizetype previous = -1;
                    for (qsizetype at : expected) {
                        if (at + needle.size() <= from)
                            previous = at;
                    }
                    QVERIFY2(pattern.lastIndexIn(bytes, from) == previous, qPrintable(where));
                }
            }
        }
    }
}

void TestFindReplace::patternFindsALoneMatchWhereverItLies()
{
    // The one match of a long text, put near every multiple of 1024 characters from either end,
    // where the search may cut the text into pieces: it is found going down and going up.
    const qsizetype size = 128 * 1024;
    const Pattern ignoringCase(u"aB", options(false, true));
    for (qsizetype k = 1; k < 128; ++k) {
        for (qsizetype at = k * 1024 - 2; at <= k * 1024 + 1; ++at) {
            QByteArray text(size, ' ');
            text[at] = 'A';
            text[at + 1] = 'b';
            QCOMPARE(ignoringCase.indexIn(text, 0), at);
            QCOMPARE(ignoringCase.lastIndexIn(text, size), at);
            QCOMPARE(ignoringCase.indexIn(text, at + 1), qsizetype(-1));
            QCOMPARE(ignoringCase.lastIndexIn(text, at + 1), qsizetype(-1));
        }
    }
}

void TestFindReplace::anyLineBreakInTheTextToFindIsALineBreak()
{
    // Text pasted from the desktop's clipboard has LF breaks; the text searched has CR LF.
    const QString text = QStringLiteral("ab\r\ncd\r\nef");
    const Options o = options(false, false);
    for (const QString &what : {u"b\ncd"_qs, u"b\rcd"_qs, u"b\r\ncd"_qs})
        QCOMPARE(FindReplace::findStep(text, {0, 0}, what, o), (Selection{1, 5}));

    // A line break alone is found break after break, each selected whole.
    Selection selection{0, 0};
    QList<Selection> found;
    while (const std::optional<Selection> next = FindReplace::findStep(text, selection, u"\n", o)) {
        found.append(*next);
        selection = *next;
    }
    QCOMPARE(found, (QList<Selection>{{2, 2}, {6, 2}}));
    const Options up = options(false, false, Direction::Up);
    QCOMPARE(FindReplace::findStep(text, {10, 0}, u"\r", up), (Selection{6, 2}));

    // A text that starts with a break selects exactly the break and what follows it.
    QCOMPARE(FindReplace::findStep(u"x\r\nfoo", {0, 0}, u"\nfoo", o), (Selection{1, 5}));
    QCOMPARE(ReplaceAllOracle::replaceAll(text, u"\n", u" ", o).text, u"ab cd ef"_qs);
}

void TestFindReplace::utf8SearchLowersCharacterByCharacter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("what");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("wholeWord");
    QTest::addColumn<QList<qsizetype>>("found");
    const QString emoji = QString::fromUcs4(U"\U0001F600");
    QTest::newRow("А to П") << u"ПРИВЕТ мир Привет привет"_qs << u"привет"_qs << false << false << QList<qsizetype>{0, 11, 18};
    QTest::newRow("Р to Я, whose lead byte changes") << u"ЯБЛОКО яблоко"_qs << u"Яблоко"_qs << false << false
                                                      << QList<qsizetype>{0, 7};
    QTest::newRow("Ё") << u"Ёжик ёжик"_qs << u"ЁЖИК"_qs << false << false << QList<qsizetype>{0, 5};
    QTest::newRow("Ukrainian") << u"ҐАНОК Їжак ґанок їжак"_qs << u"ґанок їжак"_qs << false << false
                               << QList<qsizetype>{0, 11};
    QTest::newRow("Greek and Latin") << u"ΑΒΓ αβγ Éé"_qs << u"αβγ é"_qs << false << false << QList<qsizetype>{4};
    QTest::newRow("match case") << u"Привет привет"_qs << u"привет"_qs << true << false << QList<qsizetype>{7};
    QTest::newRow("whole word") << u"приветик привет"_qs << u"ПРИВЕТ"_qs << false << true << QList<qsizetype>{9};
    QTest::newRow("emoji, two units each") << u"a"_qs + emoji + u"b"_qs + emoji << emoji << false << false
                                           << QList<qsizetype>{1, 4};
    QTest::newRow("three bytes") << u"€ж€"_qs << u"€"_qs << false << false << QList<qsizetype>{0, 2};
    // A lower case of another length is not taken: the match would cover other bytes.
    QTest::newRow("dotted capital I") << u"İi"_qs << u"i"_qs << false << false << QList<qsizetype>{1};
}

void TestFindReplace::utf8SearchLowersCharacterByCharacter()
{
    QFETCH(QString, text);
    QFETCH(QString, what);
    QFETCH(bool, matchCase);
    QFETCH(bool, wholeWord);
    QFETCH(QList<qsizetype>, found);
    const Options o = options(matchCase, wholeWord);
    QCOMPARE(occurrences(text, what, o, ScriptEncoding::Utf8), found);
    // Going down from the start, and up from the end, the first and the last of them.
    const auto first = FindReplace::findStep(text, {0, 0}, what, o, ScriptEncoding::Utf8);
    const auto last = FindReplace::findStep(text, {text.size(), 0}, what, options(matchCase, wholeWord, Direction::Up),
                                            ScriptEncoding::Utf8);
    QCOMPARE(first ? first->start : -1, found.isEmpty() ? -1 : found.first());
    QCOMPARE(last ? last->start : -1, found.isEmpty() ? -1 : found.last());
    if (first)
        QCOMPARE(first->length, what.size());
}

void TestFindReplace::utf8SearchAgreesWithBruteForce()
{
    // Cyrillic of both cases on either side of the lead byte's change, Ё, an emoji, ASCII and line
    // breaks: every match of a piece of the text, as lowering whole strings finds them.
    QRandomGenerator random(26);
    const QString alphabet = u"aAяЯпПрРёЁ_ 1\r\n"_qs;
    const QString emoji = QString::fromUcs4(U"\U0001F44D");
    for (int round = 0; round < 400; ++round) {
        QString text;
        for (int i = random.bounded(200); i > 0; --i)
            text += random.bounded(12) == 0 ? emoji : QString(alphabet.at(random.bounded(int(alphabet.size()))));
        const qsizetype from = text.isEmpty() ? 0 : random.bounded(int(text.size()));
        QString what = text.mid(from, 1 + random.bounded(4));
        if (what.isEmpty() || what.back().isHighSurrogate() || what.front().isLowSurrogate() || what.contains(u'\r')
            || what.contains(u'\n'))
            what = u"Я"_qs;
        const Options o = options(random.bounded(2), random.bounded(2));
        const QList<qsizetype> expected = naiveMatches(text, what, o);
        // Replace All's matches do not overlap: from the brute-force list, each after the one before.
        QList<qsizetype> disjoint;
        for (qsizetype at : expected) {
            if (disjoint.isEmpty() || at >= disjoint.last() + what.size())
                disjoint.append(at);
        }
        QVERIFY2(occurrences(text, what, o, ScriptEncoding::Utf8) == disjoint,
                 qPrintable(u"\"%1\" in \"%2\""_qs.arg(what, text)));
    }
}

QTEST_APPLESS_MAIN(TestFindReplace)
#include "test_find_replace.moc"
