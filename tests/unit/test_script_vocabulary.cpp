// The word lists drawn from the catalogue and mIRC's vocabulary file: names from odd rows, every row
// kept, case-blind lookup, a word's forms together, and the faults a damaged vocabulary file shows.
#include "language/script_vocabulary.h"
#include "language/snippet_tables.h"

#include <QFile>
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
    void vocabularyFileLines();
    void vocabularyFileHoldsMircsWords();
    void wordFormsMerge();
    void vocabularyFileIsSound();
    void damagedVocabularyFiles_data();
    void damagedVocabularyFiles();
};

namespace {

QString shippedVocabulary()
{
    QFile file(QStringLiteral(":/language/mirc_vocabulary.txt"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

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
            QVERIFY2(!entry.rows.isEmpty() || !entry.syntax.isEmpty(), qPrintable(entry.name));
            for (const QString &row : entry.rows)
                documented.insert(row);
        }
        for (const QString &row : snippetTable(table)) {
            if (row != QLatin1String("$(...)")) // $( is "$eval" written short: no name of its own
                QVERIFY2(documented.contains(row), qPrintable(row));
        }
    }
    // The catalogue's 68 events and mIRC's further ones.
    QCOMPARE(vocabulary.entries(WordKind::Event).size(), 77);
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
    // Words only mIRC's vocabulary has: no catalogue rows, a syntax row.
    const VocabularyEntry *null = vocabulary.find(WordKind::Identifier, u"null");
    QVERIFY(null && null->rows.isEmpty());
    QCOMPARE(null->tipLines(), QStringList{"$null"});
    QCOMPARE(null->syntax, QStringList{"$null"});
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
    QCOMPARE(vocabulary.find(WordKind::Event, u"TEXT")->fields, 2);
    QCOMPARE(vocabulary.find(WordKind::Event, u"logon")->fields, 1);

    const QStringList items = vocabulary.names(WordKind::DialogItem);
    for (const char *item : {"title", "size", "option", "button", "edit", "combo", "tab", "item", "menu"})
        QVERIFY2(items.contains(QLatin1String(item)), item);
    QVERIFY(!items.contains(QStringLiteral("on")));
}

void TestScriptVocabulary::vocabularyFileLines()
{
    const QList<VocabularyWord> words = VocabularyRows::vocabularyWords(QStringLiteral(
        "# a comment\n[commands]\nnoop [commands]\n\ntimer[N|name] [-ceomhipr] <reps> <interval> <command>\n"
        "[identifiers]\n$chan(N|#channel) props: topic Mode\n$?=\"prompt\"\n[sounds]\nnot a word\n"
        "[events]\non <level>:DIALOG:<name>:<event>:<id>:<commands>\non <level>:START:<commands>\r\n"));
    QStringList described;
    for (const VocabularyWord &word : words)
        described.append(QStringLiteral("%1 %2 %3 %4").arg(int(word.kind)).arg(word.name, word.properties.join(u','))
                             .arg(word.fields));
    QCOMPARE(described, (QStringList{"0 noop  -1", "0 timer  -1", "1 chan topic,mode -1", "1 ?  -1", "2 dialog  3",
                                     "2 start  0"}));
    QCOMPARE(words.at(2).syntax, QStringLiteral("$chan(N|#channel)"));
    QCOMPARE(words.at(5).syntax, QStringLiteral("on <level>:START:<commands>"));
}

void TestScriptVocabulary::vocabularyFileHoldsMircsWords()
{
    const ScriptVocabulary &vocabulary = ScriptVocabulary::instance();
    // The file's own words, each counted once over its forms.
    QSet<QString> described[3];
    for (const VocabularyWord &word : VocabularyRows::vocabularyWords(shippedVocabulary()))
        described[int(word.kind)].insert(word.name);
    QCOMPARE(described[int(WordKind::Command)].size(), 288);
    QCOMPARE(described[int(WordKind::Identifier)].size(), 493);
    QCOMPARE(described[int(WordKind::Event)].size(), 77);
    QVERIFY(vocabulary.entries(WordKind::Command).size() >= 288);
    QVERIFY(vocabulary.entries(WordKind::Identifier).size() >= 493);
    // Words of mIRC's knowledge base the first list lacked, and words only other clients have.
    for (QStringView name : {u"donotdisturb", u"privmsg", u"wallvoices", u"drawsize", u"fnord", u"iuser"})
        QVERIFY2(vocabulary.contains(WordKind::Command, name), qPrintable(name.toString()));
    for (QStringView name : {u"zip", u"sslhash", u"max", u"fromeditbox", u"parms", u"cosh"})
        QVERIFY2(vocabulary.contains(WordKind::Identifier, name), qPrintable(name.toString()));
    QVERIFY(vocabulary.contains(WordKind::Event, u"songend"));
    QVERIFY(!vocabulary.contains(WordKind::Identifier, u"calcint"));
    QVERIFY(!vocabulary.contains(WordKind::Event, u"queryopen"));
    // Words that published scripts use and the catalogue lacks.
    for (QStringView name : {u"null", u"v1", u"v2", u"cid", u"prop", u"true", u"false", u"qt", u"regsubex",
                             u"filename", u"newnick"})
        QVERIFY2(!vocabulary.find(WordKind::Identifier, name)->syntax.isEmpty(), qPrintable(name.toString()));
    for (QStringView name : {u"notice", u"ctcp", u"noop", u"toolbar", u"didtok", u"fopen"})
        QVERIFY2(!vocabulary.find(WordKind::Command, name)->syntax.isEmpty(), qPrintable(name.toString()));
    for (QStringView name : {u"logon", u"tabcomp", u"connectfail", u"parseline", u"owner", u"deowner", u"udpwrite",
                             u"char"})
        QVERIFY2(vocabulary.contains(WordKind::Event, name), qPrintable(name.toString()));
    // An event's fields, as its header holds them.
    const std::pair<const char16_t *, int> fields[] = {{u"dialog", 3}, {u"open", 2}, {u"keydown", 2}, {u"notice", 2},
                                                       {u"join", 1}, {u"connect", 0}, {u"parseline", 2},
                                                       {u"vcmd", 2}, {u"char", 2}, {u"songend", 0}};
    for (const auto &[event, count] : fields)
        QCOMPARE(vocabulary.find(WordKind::Event, QStringView(event))->fields, count);
    QCOMPARE(vocabulary.find(WordKind::Identifier, u"mouse")->properties.first(), QStringLiteral("x"));
}

void TestScriptVocabulary::wordFormsMerge()
{
    const ScriptVocabulary &vocabulary = ScriptVocabulary::instance();
    // $nick alone in an event and $nick(#,N) over a channel: both rows, in the file's order.
    const VocabularyEntry *nick = vocabulary.find(WordKind::Identifier, u"nick");
    QCOMPARE(nick->syntax.size(), 2);
    QCOMPARE(nick->syntax.first(), QStringLiteral("$nick"));
    QVERIFY(nick->hasProperty(u"pnick"));
    // $zip's four forms, its properties written on the first only, each property once.
    const VocabularyEntry *zip = vocabulary.find(WordKind::Identifier, u"zip");
    QCOMPARE(zip->syntax.size(), 4);
    QCOMPARE(zip->tipLines(), zip->syntax);
    QCOMPARE(zip->properties, (QStringList{"size", "mtime", "crc", "em"}));
    QVERIFY(vocabulary.find(WordKind::Identifier, u"chan")->hasProperty(u"banlist"));
    QCOMPARE(vocabulary.find(WordKind::Identifier, u"tempfn")->syntax,
             (QStringList{"$tempfn", "$tempfn([folder])"}));
}

void TestScriptVocabulary::vocabularyFileIsSound()
{
    const QString text = shippedVocabulary();
    QVERIFY(!text.isEmpty());
    const QStringList problems = VocabularyRows::vocabularyProblems(text);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

void TestScriptVocabulary::damagedVocabularyFiles_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("problems");
    const auto row = [](const char *name, const char *text, QStringList problems) {
        QTest::newRow(name) << QString::fromUtf8(text) << problems;
    };
    row("sound", "# forms side by side\n[commands]\nhadd -m <name>\nhalt\n[identifiers]\n$nick\n$nick(#,N) props: pnick\n"
        "[events]\non <level>:MP3END:<commands>\non <level>:OPEN:<?>:<matchtext>:<commands>\n",
        {});
    row("row before any section", "hadd -m <name>\n[commands]\nhalt\n",
        {"line 1: outside the [commands], [identifiers] and [events] sections"});
    row("unknown section", "[sounds]\nbeep\n", {"line 2: outside the [commands], [identifiers] and [events] sections"});
    row("identifier without its sigil", "[identifiers]\nnull\n", {"line 2: names no word"});
    row("command row of symbols", "[commands]\n-m <name>\n", {"line 2: names no word"});
    row("empty properties", "[identifiers]\n$chan(N) props:\n", {"line 2: \"props:\" lists no property"});
    row("event without commands", "[events]\non <level>:TEXT:<matchtext>:<*>\n",
        {"line 2: not an \"on <level>:NAME:<field>:...:<commands>\" row"});
    row("event field left bare", "[events]\non <level>:TEXT:matchtext:<*>:<commands>\n",
        {"line 2: not an \"on <level>:NAME:<field>:...:<commands>\" row"});
    row("event name only", "[events]\non <level>:TEXT\n", {"line 2: names no word"});
    row("row twice", "[identifiers]\n$nick\n$nick\n", {"line 3: the same row twice"});
    row("word apart from its forms", "[commands]\nhadd -m <name>\nhalt\nhadd -s <name>\n",
        {"line 4: hadd again, apart from its other forms"});
    row("event forms disagree", "[events]\non <level>:OPEN:<?>:<matchtext>:<commands>\non <level>:OPEN:<=>:<commands>\n",
        {"line 3: a form of open with another number of fields"});
}

void TestScriptVocabulary::damagedVocabularyFiles()
{
    QFETCH(QString, text);
    QFETCH(QStringList, problems);
    QCOMPARE(VocabularyRows::vocabularyProblems(text), problems);
}

QTEST_APPLESS_MAIN(TestScriptVocabulary)
#include "test_script_vocabulary.moc"
