// Classification of script lines, on lines as the corpus has them; the colours on both palettes.
#include "common/text_contrast.h"
#include "language/script_colours.h"
#include "language/script_lexer.h"
#include "support/corpus_lines.h"

#include <QElapsedTimer>
#include <QTest>

namespace {

QString kindName(TokenKind kind)
{
    static const char *const names[] = {
        "Comment",        "Keyword",    "BlockName",        "EventHeader", "Event",   "UnknownEvent",
        "Command",        "UnknownCommand", "Identifier",   "CustomIdentifier", "Variable", "Channel",
        "Number",         "ControlCode", "LinePrefix"};
    static_assert(std::size(names) == kTokenKindCount);
    return QLatin1String(names[int(kind)]);
}

// "Kind text | Kind text ..." for the tokens of a line.
QString described(const QString &line, LexerState state = {})
{
    QStringList out;
    for (const ScriptToken &token : ScriptLexer::tokensOf(line, state))
        out.append(kindName(token.kind) + u' ' + line.mid(token.start, token.length));
    return out.join(QLatin1String(" | "));
}

LexerState inBlock(LexerState::Block block, int depth = 1)
{
    LexerState state;
    state.block = block;
    state.depth = quint16(depth);
    return state;
}

LexerState after(const QString &line, LexerState state = {})
{
    return ScriptLexer::stateAfter({line}, state);
}

} // namespace

class TestScriptLexer : public QObject {
    Q_OBJECT

private slots:
    void eventHeaders();
    void aliasesAndBlocks();
    void commandPositions();
    void identifiers();
    void variablesChannelsNumbers();
    void controlCodes();
    void comments();
    void menusAndDialogs();
    void groupsSectionsAndIniLines();
    void continuedLines();
    void bracesOpenBlocksWhateverTheHeader();
    void mircWordsAndPropertyForms();
    void inlineCommentsEndAtBarAndClosingBrace();
    void iniPopupAndAliasSections();
    void statePacksIntoAnInt();
    void corpusScriptsLexCleanly();
    void coloursReadableOnBothPalettes();
};

void TestScriptLexer::eventHeaders()
{
    QCOMPARE(described(QStringLiteral("ON 50:TEXT:*does *:*:{ $use.skill($1, $2, $3, $4) }")),
             QStringLiteral("Keyword ON | EventHeader 50: | Event TEXT | EventHeader :*does *:*: | "
                            "CustomIdentifier $use.skill | Identifier $1 | Identifier $2 | Identifier $3 | "
                            "Identifier $4"));
    // "me:" belongs to the level; a one-line body follows the header.
    QCOMPARE(described(QStringLiteral("on me:*:JOIN:#: srn.drawbg $chan")),
             QStringLiteral("Keyword on | EventHeader me:*: | Event JOIN | EventHeader :#: | "
                            "UnknownCommand srn.drawbg | Identifier $chan"));
    // A variable as target; the dialog event's three fields.
    QCOMPARE(described(QStringLiteral("on ^*:TEXT:*:%chan_spam:{")),
             QStringLiteral("Keyword on | EventHeader ^*: | Event TEXT | EventHeader :*: | Variable %chan_spam | "
                            "EventHeader :"));
    QCOMPARE(described(QStringLiteral("on *:dialog:skins:init:*: {")),
             QStringLiteral("Keyword on | EventHeader *: | Event dialog | EventHeader :skins:init:*:"));
    // The body after the header's last field: "msg" is a command even though its text has colons.
    QCOMPARE(described(QStringLiteral("on 1:TEXT:hi:#:msg # time: 12")),
             QStringLiteral("Keyword on | EventHeader 1: | Event TEXT | EventHeader :hi:#: | Command msg | "
                            "Channel # | Number 12"));
    QCOMPARE(described(QStringLiteral("on *:LOGON:*:{")),
             QStringLiteral("Keyword on | EventHeader *: | Event LOGON | EventHeader :*:"));
    QCOMPARE(described(QStringLiteral("on *:MYEVENT:*:{")),
             QStringLiteral("Keyword on | EventHeader *: | UnknownEvent MYEVENT | EventHeader :*:"));
    QCOMPARE(described(QStringLiteral("ctcp *:PING:*:{ halt }")),
             QStringLiteral("Keyword ctcp | EventHeader *:PING:*: | Command halt"));
    QCOMPARE(described(QStringLiteral("raw 322:*:{")), QStringLiteral("Keyword raw | EventHeader 322:*:"));
    // A header still being written is header to its end; a DCC chat OPEN has no match field.
    QCOMPARE(described(QStringLiteral("on *:TEXT:hi there")),
             QStringLiteral("Keyword on | EventHeader *: | Event TEXT | EventHeader :hi there"));
    QCOMPARE(described(QStringLiteral("on *:OPEN:=:echo -a chat")),
             QStringLiteral("Keyword on | EventHeader *: | Event OPEN | EventHeader :=: | Command echo"));

    const LexerState state = after(QStringLiteral("on 3:TEXT:*does *:*:{ "));
    QCOMPARE(state.depth, quint16(1));
    QCOMPARE(state.block, LexerState::Code);
    QCOMPARE(after(QStringLiteral("ON 50:TEXT:*does *:*:{ $use.skill($1) }")), LexerState());
}

void TestScriptLexer::aliasesAndBlocks()
{
    QCOMPARE(described(QStringLiteral("alias use.skill { ")), QStringLiteral("Keyword alias | BlockName use.skill"));
    QCOMPARE(described(QStringLiteral("alias -l tell echo -a $1-")),
             QStringLiteral("Keyword alias | BlockName tell | Command echo | Identifier $1-"));
    QCOMPARE(after(QStringLiteral("alias use.skill { ")), inBlock(LexerState::Code));

    // Inside a block the same words are commands; "alias" too.
    QCOMPARE(described(QStringLiteral("  alias foo echo hi"), inBlock(LexerState::Code)),
             QStringLiteral("Command alias"));
    // Braces that are no words count for nothing: "$+({,x)" stays inside the block.
    QCOMPARE(after(QStringLiteral("  echo $+({,x) {x}"), inBlock(LexerState::Code)), inBlock(LexerState::Code));
    QCOMPARE(after(QStringLiteral("}"), inBlock(LexerState::Code)), LexerState());
    QCOMPARE(after(QStringLiteral("  } }"), inBlock(LexerState::Code, 3)), inBlock(LexerState::Code));
    // Aliases-file form: "name commands".
    QCOMPARE(described(QStringLiteral("hello say Hi, I'm $me")),
             QStringLiteral("BlockName hello | Command say | Identifier $me"));
}

void TestScriptLexer::commandPositions()
{
    const LexerState code = inBlock(LexerState::Code);
    QCOMPARE(described(QStringLiteral("  if ($3 = aggressor) { $skill.aggressor($1) } "), code),
             QStringLiteral("Command if | Identifier $3 | CustomIdentifier $skill.aggressor | Identifier $1"));
    QCOMPARE(described(QStringLiteral("  if (%x) halt"), code), QStringLiteral("Command if | Variable %x | "
                                      "Command halt"));
    QCOMPARE(described(QStringLiteral("  if !$dialog(skins) { dialog -m skins skins }"), code),
             QStringLiteral("Command if | Identifier $dialog | Command dialog"));
    QCOMPARE(described(QStringLiteral("  } else { /notconnected } | !echo -a x"), code),
             QStringLiteral("Command else | UnknownCommand /notconnected | Command !echo"));
    QCOMPARE(described(QStringLiteral("    .timer1 %i 5 /msg $nick($chan,%i) %msg"), code),
             QStringLiteral("Command .timer1 | Variable %i | Number 5 | Identifier $nick | Identifier $chan | "
                            "Variable %i | Variable %msg"));
    QCOMPARE(described(QStringLiteral("  while (($1 != $null) && (%i < 3)) { inc %i | goto next }"), code),
             QStringLiteral("Command while | Identifier $1 | Identifier $null | Variable %i | Number 3 | "
                            "Command inc | Variable %i | Command goto"));
    // "||" is an operator, no separator; a "|" glued to a word is text.
    QCOMPARE(described(QStringLiteral("  echo a || halt|halt"), code), QStringLiteral("Command echo"));
    QCOMPARE(described(QStringLiteral("  %skins.totallines = $lines(list.ini)"), code),
             QStringLiteral("Variable %skins.totallines | Identifier $lines"));

    QList<ScriptToken> tokens;
    QList<int> starts;
    ScriptLexer::classifyLine(QStringLiteral("  if (x) { echo | "), code, &tokens, &starts);
    QCOMPARE(starts, (QList<int>{2, 11, 18}));
}

void TestScriptLexer::identifiers()
{
    const LexerState code = inBlock(LexerState::Code);
    QCOMPARE(described(QStringLiteral("  echo $$2 $2- $3-5 $0 $!nick $~calc(1) $+ $& "), code),
             QStringLiteral("Command echo | Identifier $$2 | Identifier $2- | Identifier $3-5 | Identifier $0 | "
                            "Identifier $!nick | Identifier $~calc | Number 1 | Identifier $+ | Identifier $&"));
    QCOMPARE(described(QStringLiteral("  topic # $$?=\"Topic:\" $?*!=\"x\" $(%a) $! $"), code),
             QStringLiteral("Command topic | Channel # | Identifier $$?= | Identifier $?*!= | Identifier $ | "
                            "Variable %a | Identifier $! | CustomIdentifier $"));
    // Known names in any case; a sentence's full stop is not part of the name.
    QCOMPARE(described(QStringLiteral("  say Hello $NICK."), code), QStringLiteral("Command say | Identifier $NICK"));
    QCOMPARE(described(QStringLiteral("  say $skill.konzen-ittai($1) $null"), code),
             QStringLiteral("Command say | CustomIdentifier $skill.konzen-ittai | Identifier $1 | "
                            "Identifier $null"));
}

void TestScriptLexer::variablesChannelsNumbers()
{
    const LexerState code = inBlock(LexerState::Code);
    QCOMPARE(described(QStringLiteral("  var %a = 1, %b = -2.5, %c = 100%"), code),
             QStringLiteral("Command var | Variable %a | Number 1 | Variable %b | Number -2.5 | Variable %c | "
                            "Number 100"));
    QCOMPARE(described(QStringLiteral("  bset &bin 1 65 | if (a && b) noop"), code),
             QStringLiteral("Command bset | Variable &bin | Number 1 | Number 65 | Command if | Command noop"));
    QCOMPARE(described(QStringLiteral("  join #mirc,#$1 | part #"), code),
             QStringLiteral("Command join | Channel #mirc | Channel # | Identifier $1 | Command part | Channel #"));
    // Digits inside words are no numbers.
    QCOMPARE(described(QStringLiteral("  run file2.txt 3rd x-1 $calc(5-3)"), code),
             QStringLiteral("Command run | Identifier $calc | Number 5 | Number 3"));
}

void TestScriptLexer::controlCodes()
{
    const LexerState code = inBlock(LexerState::Code);
    const QString line =
        QStringLiteral("  echo \x03" "12,4red\x03" "4,\x02" "b\x1f" "u\x16" "r\x1d" "i\x0f" "p\x03" ",5");
    QCOMPARE(described(line, code),
             QStringLiteral("Command echo | ControlCode \x03" "12,4 | ControlCode \x03" "4 | ControlCode \x02 | "
                            "ControlCode \x1f | ControlCode \x16 | ControlCode \x1d | ControlCode \x0f | "
                            "ControlCode \x03 | Number 5"));
    // Colour takes at most two digits each side; in comments the codes show as well.
    QCOMPARE(described(QStringLiteral("  say \x03" "123"), code), QStringLiteral("Command say | "
                                      "ControlCode \x03" "12"));
    QCOMPARE(described(QStringLiteral("; a \x02" "bold\x02" " note")),
             QStringLiteral("Comment ; a  | ControlCode \x02 | Comment bold | ControlCode \x02 | Comment  note"));
}

void TestScriptLexer::comments()
{
    const LexerState code = inBlock(LexerState::Code);
    QCOMPARE(described(QStringLiteral("  ; $1 = user"), code), QStringLiteral("Comment ; $1 = user"));
    QCOMPARE(described(QStringLiteral("  echo hi | ; halt { "), code),
             QStringLiteral("Command echo | Comment ; halt { "));
    QCOMPARE(after(QStringLiteral("  echo hi | ; halt { "), code), code);
    // A ';' further on in a command is text.
    QCOMPARE(described(QStringLiteral("  echo a;b"), code), QStringLiteral("Command echo"));

    // "/*" opens a block only first on a line; only a line starting with "*/" closes it, and
    // the rest of that line is comment too.
    const QStringList block = {QStringLiteral("/* old code"), QStringLiteral("  alias x { */ still"),
                               QStringLiteral("*/ echo trailing"), QStringLiteral("alias y {")};
    LexerState state;
    QStringList kinds;
    for (const QString &line : block) {
        const QList<ScriptToken> tokens = ScriptLexer::tokensOf(line, state);
        kinds.append(tokens.isEmpty() ? QString() : kindName(tokens.first().kind));
        state = after(line, state);
    }
    QCOMPARE(kinds.join(u" | "), QStringLiteral("Comment | Comment | Comment | Keyword"));
    QCOMPARE(state, inBlock(LexerState::Code));
    QVERIFY(after(QStringLiteral("/* one line */")).inBlockComment());
    QVERIFY(!after(QStringLiteral("  echo /* no comment")).inBlockComment());
}

void TestScriptLexer::menusAndDialogs()
{
    QCOMPARE(described(QStringLiteral("menu channel,query {")), QStringLiteral("Keyword menu | "
                                      "BlockName channel,query"));
    const LexerState menu = after(QStringLiteral("menu status {"));
    QCOMPARE(menu, inBlock(LexerState::Menu));
    // Item lines: a label, then commands after the first colon outside parentheses.
    QCOMPARE(described(QStringLiteral("  .Сервер:/server $$?=\"Адрес:\""), menu),
             QStringLiteral("Command /server | Identifier $$?="));
    QCOMPARE(described(QStringLiteral("  $iif($me isop #,Op:):mode # +o $1"), menu),
             QStringLiteral("Identifier $iif | Identifier $me | Channel # | Command mode | Channel # | Identifier $1"));
    QCOMPARE(described(QStringLiteral("  Список каналов"), menu), QString());
    const LexerState item = after(QStringLiteral("  Новое подключение...:{"), menu);
    QCOMPARE(item, inBlock(LexerState::Menu, 2));
    QCOMPARE(described(QStringLiteral("    var %newserver 1"), item),
             QStringLiteral("Command var | Variable %newserver | Number 1"));
    QCOMPARE(after(QStringLiteral("  }"), item), menu);

    const LexerState dialog = after(QStringLiteral("dialog -l skins {"));
    QCOMPARE(dialog, inBlock(LexerState::Dialog));
    QCOMPARE(described(QStringLiteral("  button \"Применить\", 10, 180 5 170 30, ok"), dialog),
             QStringLiteral("Keyword button | Number 10 | Number 180 | Number 5 | Number 170 | Number 30"));
    QCOMPARE(described(QStringLiteral("  size -1 -1 530 158"), dialog),
             QStringLiteral("Keyword size | Number -1 | Number -1 | Number 530 | Number 158"));
    QCOMPARE(after(QStringLiteral("}"), dialog), LexerState());
}

void TestScriptLexer::groupsSectionsAndIniLines()
{
    QCOMPARE(described(QStringLiteral("#kesanspam off")), QStringLiteral("Keyword #kesanspam | Keyword off"));
    QCOMPARE(described(QStringLiteral("#kesanspam end")), QStringLiteral("Keyword #kesanspam | Keyword end"));
    QCOMPARE(described(QStringLiteral("[script]")), QStringLiteral("Keyword [script]"));
    QCOMPARE(described(QStringLiteral("  enable #kesanspam"), inBlock(LexerState::Code)),
             QStringLiteral("Command enable | Channel #kesanspam"));

    QCOMPARE(described(QStringLiteral("n4=alias skins { if !$dialog(skins) { dialog -m skins skins } } ")),
             QStringLiteral("LinePrefix n4= | Keyword alias | BlockName skins | Command if | Identifier $dialog | "
                            "Command dialog"));
    QCOMPARE(after(QStringLiteral("n4=alias skins { if !$dialog(skins) { dialog -m skins skins } } ")), LexerState());
    // The prefix is the line's margin: a } right after it closes.
    QCOMPARE(after(QStringLiteral("n17=}"), inBlock(LexerState::Dialog)), LexerState());
    QCOMPARE(described(QStringLiteral("n1=;comment")), QStringLiteral("LinePrefix n1= | Comment ;comment"));
    QCOMPARE(described(QStringLiteral("n5=%arise_state 1")), QStringLiteral("LinePrefix n5= | Variable %arise_state | "
                                                                          "Number 1"));
    QCOMPARE(described(QStringLiteral("nick=x")), QStringLiteral("BlockName nick=x"));
    // A brace inside the brackets: no section, and nothing read past the stretch before the brace.
    for (const QString &odd : {u"[ { ]"_qs, u"[ } ]"_qs, u"n5=[ { ]"_qs})
        QVERIFY2(!described(odd).contains(u"Keyword ["_qs), qPrintable(described(odd)));
}

void TestScriptLexer::continuedLines()
{
    const LexerState code = inBlock(LexerState::Code);
    const LexerState continued = after(QStringLiteral("  echo -a This is a really long$&"), code);
    QVERIFY(continued.continued());
    QCOMPARE(continued.depth, code.depth);
    // The next line goes on with the arguments: its first word is no command.
    QCOMPARE(described(QStringLiteral("    line that is broken up $me"), continued), QStringLiteral("Identifier $me"));
    QVERIFY(!after(QStringLiteral("    line that is broken up"), continued).continued());
}

// Lines read one after another from the state the previous one left: "Kind text | ..." each.
QStringList describedLines(const QStringList &lines, LexerState *end = nullptr)
{
    LexerState state;
    QStringList out;
    for (const QString &line : lines) {
        out.append(described(line, state));
        state = after(line, state);
    }
    if (end)
        *end = state;
    return out;
}

void TestScriptLexer::bracesOpenBlocksWhateverTheHeader()
{
    // A header with a field missing still opens its block at its "{".
    QCOMPARE(described(QStringLiteral("ctcp ^1:PING: {")), QStringLiteral("Keyword ctcp | EventHeader ^1:PING:"));
    QCOMPARE(after(QStringLiteral("ctcp ^1:PING: {")), inBlock(LexerState::Code));
    QCOMPARE(described(QStringLiteral("raw 352:* { echo $4 }")),
             QStringLiteral("Keyword raw | EventHeader 352:* | Command echo | Identifier $4"));
    QCOMPARE(after(QStringLiteral("raw 352:* {")), inBlock(LexerState::Code));
    // A regular expression's colons belong to its match text.
    QCOMPARE(described(QStringLiteral("on $*:TEXT:/^!a:(\\d+)$/Si:#:{")),
             QStringLiteral("Keyword on | EventHeader $*: | Event TEXT | EventHeader :/^!a:(\\d+)$/Si:#:"));
    QCOMPARE(after(QStringLiteral("on $*:TEXT:/^!a:(\\d+)$/Si:#:{")), inBlock(LexerState::Code));

    // Menu items written "Label {" and "$iif(...) {" open their blocks; the menu goes on after them.
    LexerState end;
    const QStringList menu = describedLines({QStringLiteral("menu nicklist {"), QStringLiteral("  .Mass greet {"),
                                             QStringLiteral("    var %i = 1"), QStringLiteral("  }"),
                                             QStringLiteral("  $iif($me isop #,Op) {"),
                                             QStringLiteral("    mode # +o $1"), QStringLiteral("  }"),
                                             QStringLiteral("  Next:echo -a $1"), QStringLiteral("}")},
                                            &end);
    QCOMPARE(menu.at(2), QStringLiteral("Command var | Variable %i | Number 1"));
    QCOMPARE(menu.at(4), QStringLiteral("Identifier $iif | Identifier $me | Channel #"));
    QCOMPARE(menu.at(5), QStringLiteral("Command mode | Channel # | Identifier $1"));
    QCOMPARE(menu.at(7), QStringLiteral("Command echo | Identifier $1"));
    QCOMPARE(end, LexerState());
    QCOMPARE(after(QStringLiteral("  .Mass greet {"), inBlock(LexerState::Menu)), inBlock(LexerState::Menu, 2));
}

void TestScriptLexer::mircWordsAndPropertyForms()
{
    const LexerState code = inBlock(LexerState::Code);
    QCOMPARE(described(QStringLiteral("  noop $regsubex(a,/a/g,b) | notice $nick $v1 $cid $qt(x)"), code),
             QStringLiteral("Command noop | Identifier $regsubex | Command notice | Identifier $nick | "
                            "Identifier $v1 | Identifier $cid | Identifier $qt"));
    // A property after the name or after the arguments is the identifier's; one it lacks is not.
    QCOMPARE(described(QStringLiteral("  echo $mouse.x $chan(#).topic $nick.lower $mouse.y."), code),
             QStringLiteral("Command echo | Identifier $mouse.x | Identifier $chan | Channel # | Identifier .topic | "
                            "CustomIdentifier $nick.lower | Identifier $mouse.y"));
    // The folder identifiers written together with a file name.
    QCOMPARE(described(QStringLiteral("  write $scriptdirlog.txt $mircdirdata\\x.ini $mircdir"), code),
             QStringLiteral("Command write | Identifier $scriptdir | Identifier $mircdir | Identifier $mircdir"));
    QCOMPARE(described(QStringLiteral("on *:TABCOMP:*:{")),
             QStringLiteral("Keyword on | EventHeader *: | Event TABCOMP | EventHeader :*:"));
}

void TestScriptLexer::inlineCommentsEndAtBarAndClosingBrace()
{
    QCOMPARE(described(QStringLiteral("alias a { ;join }")),
             QStringLiteral("Keyword alias | BlockName a | Comment ;join "));
    QCOMPARE(after(QStringLiteral("alias a { ;join }")), LexerState());
    QCOMPARE(described(QStringLiteral("alias b { ; comment } | !echo -a test")),
             QStringLiteral("Keyword alias | BlockName b | Comment ; comment  | Command !echo"));
    QCOMPARE(after(QStringLiteral("alias b { ; comment } | !echo -a test")), LexerState());
    // A "{" inside the comment opens nothing.
    const LexerState code = inBlock(LexerState::Code);
    QCOMPARE(after(QStringLiteral("  if (x) { ; old { code } "), code), code);
    // rem is a comment statement as ';' is.
    QCOMPARE(described(QStringLiteral("  rem note { x | echo hi"), code),
             QStringLiteral("Comment rem note { x  | Command echo"));
    QCOMPARE(after(QStringLiteral("  rem note { x | echo hi"), code), code);
    QCOMPARE(described(QStringLiteral("  .REM quiet"), code), QStringLiteral("Comment .REM quiet"));
    QCOMPARE(described(QStringLiteral("  remove file.txt"), code), QStringLiteral("Command remove"));
}

void TestScriptLexer::iniPopupAndAliasSections()
{
    LexerState end;
    const QStringList popups = describedLines(
        {QStringLiteral("[mpopup]"), QStringLiteral("n0=Server"), QStringLiteral("n1=.Join:/join #$$?=\"Channel\""),
         QStringLiteral("n2=.Part:{"), QStringLiteral("n3=  part # | halt"), QStringLiteral("n4=}"),
         QStringLiteral("n5=Quit:quit")},
        &end);
    QCOMPARE(popups.at(1), QStringLiteral("LinePrefix n0="));
    QCOMPARE(popups.at(2), QStringLiteral("LinePrefix n1= | Command /join | Channel # | Identifier $$?="));
    QCOMPARE(popups.at(4), QStringLiteral("LinePrefix n3= | Command part | Channel # | Command halt"));
    QCOMPARE(popups.at(6), QStringLiteral("LinePrefix n5= | Command quit"));
    QCOMPARE(end.flags, quint8(LexerState::PopupSection));

    const QStringList aliases = describedLines({QStringLiteral("[aliases]"), QStringLiteral("n0=/op /mode # +ooo $$1"),
                                                QStringLiteral("n1=/j {"), QStringLiteral("n2=  join #$1"),
                                                QStringLiteral("n3=}"), QStringLiteral("[script]"),
                                                QStringLiteral("n0=alias x echo")},
                                               &end);
    QCOMPARE(aliases.at(1),
             QStringLiteral("LinePrefix n0= | BlockName /op | Command /mode | Channel # | Identifier $$1"));
    QCOMPARE(aliases.at(3), QStringLiteral("LinePrefix n2= | Command join | Channel # | Identifier $1"));
    // Another section ends the aliases.
    QCOMPARE(aliases.at(6), QStringLiteral("LinePrefix n0= | Keyword alias | BlockName x | Command echo"));
    QCOMPARE(end, LexerState());
}

void TestScriptLexer::statePacksIntoAnInt()
{
    LexerState state = inBlock(LexerState::Menu, 65535);
    state.flags = LexerState::InBlockComment | LexerState::Continued;
    QVERIFY(state.packed() >= 0);
    QCOMPARE(LexerState::unpacked(state.packed()), state);
    QCOMPARE(LexerState::unpacked(-1), LexerState());
    QCOMPARE(sizeof(LexerState), size_t(4));
}

void TestScriptLexer::corpusScriptsLexCleanly()
{
    if (CorpusLines::folder().isEmpty())
        QSKIP("The corpus folder is absent");
    QString largest;
    qsizetype largestLines = 0;
    QSet<TokenKind> kinds;
    for (const QString &name : CorpusLines::scripts()) {
        const QStringList lines = CorpusLines::read(name);
        QVERIFY2(!lines.isEmpty(), qPrintable(name));
        LexerState state;
        QList<ScriptToken> tokens;
        for (qsizetype n = 0; n < lines.size(); ++n) {
            tokens.clear();
            state = ScriptLexer::classifyLine(lines.at(n), state, &tokens);
            int end = 0;
            for (const ScriptToken &token : tokens) {
                QVERIFY2(token.length > 0 && token.start >= end && token.start + token.length <= lines.at(n).size(),
                         qPrintable(QStringLiteral("%1:%2").arg(name).arg(n + 1)));
                end = token.start + token.length;
                kinds.insert(token.kind);
            }
        }
        // Every script closes all its blocks and comments.
        QVERIFY2(state == LexerState(), qPrintable(name));
        if (lines.size() > largestLines) {
            largestLines = lines.size();
            largest = name;
        }
    }

    // The corpus shows every kind but an event the catalogue lacks.
    QCOMPARE(kinds.size(), kTokenKindCount - 1);
    QVERIFY(!kinds.contains(TokenKind::UnknownEvent));

    // How long a line takes, over the largest script (a figure, not a limit).
    const QStringList lines = CorpusLines::read(largest);
    QList<ScriptToken> tokens;
    tokens.reserve(256);
    QElapsedTimer timer;
    timer.start();
    constexpr int rounds = 20;
    for (int round = 0; round < rounds; ++round) {
        LexerState state;
        for (const QString &line : lines) {
            tokens.clear();
            state = ScriptLexer::classifyLine(line, state, &tokens);
        }
    }
    const double perLine = double(timer.nsecsElapsed()) / 1000.0 / double(rounds * lines.size());
    qInfo("Classification of %s: %lld lines, %.3f us a line", qPrintable(largest), qlonglong(lines.size()), perLine);
}

void TestScriptLexer::coloursReadableOnBothPalettes()
{
    for (ScriptPalette palette : {ScriptPalette::Light, ScriptPalette::Dark}) {
        const QColor background = ScriptColours::background(palette);
        QVERIFY(TextContrast::ratio(ScriptColours::text(palette), background) >= 7.0);
        QSet<QRgb> known;
        for (int k = 0; k < kTokenKindCount; ++k) {
            const TokenKind kind = TokenKind(k);
            const TokenStyle style = ScriptColours::style(kind, palette);
            const QColor behind = style.background.isValid() ? style.background : background;
            const double ratio = TextContrast::ratio(style.foreground, behind);
            const QString where =
                QStringLiteral("%1 on palette %2: %3").arg(kindName(kind)).arg(int(palette)).arg(ratio);
            QVERIFY2(ratio >= 4.5, qPrintable(where));
            if (kind == TokenKind::Command || kind == TokenKind::Identifier || kind == TokenKind::CustomIdentifier
                || kind == TokenKind::Variable || kind == TokenKind::Comment || kind == TokenKind::Number)
                known.insert(style.foreground.rgb());
        }
        QCOMPARE(known.size(), 6); // the kinds read side by side in a line differ in colour
    }
    QCOMPARE(TextContrast::ratio(Qt::black, Qt::white), 21.0);
    QCOMPARE(ScriptColours::paletteFor(QColor(0x1e, 0x1e, 0x1e)), ScriptPalette::Dark);
    QCOMPARE(ScriptColours::paletteFor(QColor(0xf0, 0xf0, 0xf0)), ScriptPalette::Light);
}

QTEST_APPLESS_MAIN(TestScriptLexer)
#include "test_script_lexer.moc"
