// The word lists drawn from the catalogue: names from odd rows, every row kept, case-blind lookup.
#include "language/script_vocabulary.h"
#include "language/snippet_tables.h"

#include <QSet>
#include <QTest>

class TestScriptVocabulary : public QObject {
    Q_OBJECT

private slots:
    void commandNamesFromOddRows();
    void identifierNamesFromOddRows();
    void everyRowDocumentsSomeWord();
    void lookupIgnoresCaseAndKeepsAllRows();
    void parametersFindTheirRows();
    void prefixesAreSortedAndLimited();
    void eventsAndDialogItems();
};

void TestScriptVocabulary::commandNamesFromOddRows()
{
    using VocabularyRows::commandNames;
    QCOMPARE(commandNames(QStringLiteral("hadd -smbczuN <name> <item> [data|&binvar]")), QStringList{"hadd"});
    QCOMPARE(commandNames(QStringLiteral("timer[Nname] [-ceomhipr] [time] <repetitions> <interval> <command>")),
             QStringList{"timer"});
    QCOMPARE(commandNames(QStringLiteral("if ( ) { }&elseif ( ) { }$else { }")),
             (QStringList{"if", "elseif", "else"}));
    // An '&' inside a row's arguments starts nothing.
    QCOMPARE(commandNames(QStringLiteral("bcopy [-zc] <&binvar> <N> <&binvar> <S> <M>")), QStringList{"bcopy"});
}

void TestScriptVocabulary::identifierNamesFromOddRows()
{
    using VocabularyRows::identifierNames;
    QCOMPARE(identifierNames(QStringLiteral("$abook(nick,N)")), QStringList{"abook"});
    QCOMPARE(identifierNames(QStringLiteral("$(...)")), QStringList{});
    QCOMPARE(identifierNames(QStringLiteral("$+(n1,...,nN)")), QStringList{"+"});
    QCOMPARE(identifierNames(QStringLiteral("$1-")), QStringList{"1-"});
    QCOMPARE(identifierNames(QStringLiteral("$?*!=\"message\"")), QStringList{"?"});
    QCOMPARE(identifierNames(QStringLiteral("$agent(N).char")), QStringList{"agent"});
    QCOMPARE(identifierNames(QStringLiteral("$cos(N), $acos(N)")), (QStringList{"cos", "acos"}));
    QCOMPARE(identifierNames(QStringLiteral("$width=$width(text,font,size,B,C)")), QStringList{"width"});
    QCOMPARE(identifierNames(QStringLiteral("$bfind(&binvar, N, M)")), QStringList{"bfind"});
    QCOMPARE(identifierNames(QStringLiteral("$submenu(<|>$id($1))")), QStringList{"submenu"});
    QCOMPARE(identifierNames(QStringLiteral("$ansi2mirc(text)")), QStringList{"ansi2mirc"});
}

void TestScriptVocabulary::everyRowDocumentsSomeWord()
{
    const ScriptVocabulary &vocabulary = ScriptVocabulary::instance();
    const std::pair<SnippetTable, WordKind> tables[] = {{SnippetTable::Commands, WordKind::Command},
                                                        {SnippetTable::Identifiers, WordKind::Identifier},
                                                        {SnippetTable::EventHeaders, WordKind::Event}};
    for (const auto &[table, kind] : tables) {
        QSet<QString> documented;
        for (const VocabularyEntry &entry : vocabulary.entries(kind)) {
            QVERIFY2(!entry.rows.isEmpty(), qPrintable(entry.name));
            for (const QString &row : entry.rows)
                documented.insert(row);
        }
        for (const QString &row : snippetTable(table)) {
            if (row != QLatin1String("$(...)")) // $( is "$eval" written short: no name of its own
                QVERIFY2(documented.contains(row), qPrintable(row));
        }
    }
    QCOMPARE(vocabulary.entries(WordKind::Event).size(), 68);
}

void TestScriptVocabulary::lookupIgnoresCaseAndKeepsAllRows()
{
    const ScriptVocabulary &vocabulary = ScriptVocabulary::instance();
    const VocabularyEntry *hadd = vocabulary.find(WordKind::Command, u"HaDd");
    QVERIFY(hadd);
    QCOMPARE(hadd->name, QStringLiteral("hadd"));
    QCOMPARE(hadd->rows, QStringList{"hadd -smbczuN <name> <item> [data|&binvar]"});

    const VocabularyEntry *dcc = vocabulary.find(WordKind::Command, u"dcc");
    QVERIFY(dcc);
    QCOMPARE(dcc->rows.size(), 5);
    QCOMPARE(dcc->rows.first(), QStringLiteral("dcc chat <nick>"));

    const VocabularyEntry *address = vocabulary.find(WordKind::Identifier, u"ADDRESS");
    QVERIFY(address);
    QCOMPARE(address->rows, (QStringList{"$address", "$address(nickname,type)"}));
    // A row the catalogue holds twice is one tip.
    QCOMPARE(vocabulary.find(WordKind::Identifier, u"filtered")->rows, QStringList{"$filtered"});

    QVERIFY(!vocabulary.find(WordKind::Command, u"hadd2"));
    QVERIFY(!vocabulary.find(WordKind::Identifier, u""));
    QVERIFY(!vocabulary.find(WordKind::Identifier, u"null")); // not in the catalogue
}

void TestScriptVocabulary::parametersFindTheirRows()
{
    const ScriptVocabulary &vocabulary = ScriptVocabulary::instance();
    for (QStringView parameter : {u"1", u"3", u"2-", u"12-15"})
        QCOMPARE(vocabulary.find(WordKind::Identifier, parameter)->rows, QStringList{"$1-"});
    QCOMPARE(vocabulary.find(WordKind::Identifier, u"0")->rows, QStringList{"$0"});
    QVERIFY(!vocabulary.find(WordKind::Identifier, u"1-2-3"));
}

void TestScriptVocabulary::prefixesAreSortedAndLimited()
{
    const ScriptVocabulary &vocabulary = ScriptVocabulary::instance();
    QStringList names;
    for (const VocabularyEntry *entry : vocabulary.withPrefix(WordKind::Command, u"HA", 10))
        names.append(entry->name);
    QCOMPARE(names, (QStringList{"hadd", "halt", "haltdef"}));

    QCOMPARE(vocabulary.withPrefix(WordKind::Identifier, u"", 7).size(), 7);
    QCOMPARE(vocabulary.withPrefix(WordKind::Identifier, u"addr", 50).size(), 1);
    QVERIFY(vocabulary.withPrefix(WordKind::Command, u"zz", 50).isEmpty());

    QStringList all = vocabulary.names(WordKind::Identifier);
    QStringList sorted = all;
    std::sort(sorted.begin(), sorted.end());
    QCOMPARE(all, sorted);
    QCOMPARE(all.removeDuplicates(), 0);
}

void TestScriptVocabulary::eventsAndDialogItems()
{
    const ScriptVocabulary &vocabulary = ScriptVocabulary::instance();
    QCOMPARE(vocabulary.find(WordKind::Event, u"TEXT")->rows, QStringList{"on *:text:"});
    QVERIFY(!vocabulary.contains(WordKind::Event, u"logon"));

    const QStringList items = vocabulary.names(WordKind::DialogItem);
    for (const char *item : {"title", "size", "option", "button", "edit", "combo", "tab", "item", "menu"})
        QVERIFY2(items.contains(QLatin1String(item)), item);
    QVERIFY(!items.contains(QStringLiteral("on")));
}

QTEST_APPLESS_MAIN(TestScriptVocabulary)
#include "test_script_vocabulary.moc"
