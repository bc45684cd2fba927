// What is typed at a caret, the catalogue entries offered for it, and the syntax tip under a column.
#include "language/completion.h"

#include <QTest>

namespace {

LexerState inBlock(LexerState::Block block)
{
    LexerState state;
    state.depth = 1;
    state.block = block;
    return state;
}

QStringList names(const QList<const VocabularyEntry *> &entries)
{
    QStringList out;
    for (const VocabularyEntry *entry : entries)
        out.append(entry->name);
    return out;
}

void expectWord(const TypedWord &word, TypedWord::Context context, int start, int length, const QString &prefix)
{
    QCOMPARE(word.context, context);
    QCOMPARE(word.start, start);
    QCOMPARE(word.length, length);
    QCOMPARE(word.prefix, prefix);
}

} // namespace

class TestCompletion : public QObject {
    Q_OBJECT

private slots:
    void commandsWhereACommandMayStand();
    void identifiersAfterDollar();
    void eventNamesInHeaders();
    void nothingOutsideAContext();
    void tipsForTheWordUnderAColumn();
};

void TestCompletion::commandsWhereACommandMayStand()
{
    const LexerState code = inBlock(LexerState::Code);
    const TypedWord hadd = Completion::wordAtCaret(u"  /had", 6, code);
    expectWord(hadd, TypedWord::Command, 3, 3, QStringLiteral("had"));
    const QList<const VocabularyEntry *> offered = Completion::candidates(hadd);
    QCOMPARE(names(offered), QStringList{"hadd"});
    QCOMPARE(offered.first()->rows, QStringList{"hadd -smbczuN <name> <item> [data|&binvar]"});

    // The caret inside a word: the whole word is what a choice replaces.
    expectWord(Completion::wordAtCaret(u"  hadd -m t i", 4, code), TypedWord::Command, 2, 4, QStringLiteral("ha"));
    // After "|", "{", an if's condition, else; any case.
    expectWord(Completion::wordAtCaret(u"  echo x | HAL", 14, code), TypedWord::Command, 11, 3, QStringLiteral("HAL"));
    QCOMPARE(names(Completion::candidates(Completion::wordAtCaret(u"  echo x | HAL", 14, code))),
             (QStringList{"halt", "haltdef"}));
    expectWord(Completion::wordAtCaret(u"  if ($1) ec", 12, code), TypedWord::Command, 10, 2, QStringLiteral("ec"));
    // Nothing typed yet: every command, the whole list (it scrolls).
    const TypedWord empty = Completion::wordAtCaret(u"  if ($1) { ", 12, code);
    expectWord(empty, TypedWord::Command, 12, 0, QString());
    QCOMPARE(Completion::candidates(empty).size(), ScriptVocabulary::instance().entries(WordKind::Command).size());
    QVERIFY(Completion::candidates(empty).size() > 250);
    // A blank line of a body, wherever the caret stands in it; not in a menu's items or at the top.
    expectWord(Completion::wordAtCaret(u"      ", 2, code), TypedWord::Command, 2, 0, QString());
    expectWord(Completion::wordAtCaret(u"n5=  ", 5, code), TypedWord::Command, 5, 0, QString());
    expectWord(Completion::wordAtCaret(u"", 0, inBlock(LexerState::Menu)), TypedWord::None, -1, 0, QString());
    expectWord(Completion::wordAtCaret(u"  ", 1), TypedWord::None, -1, 0, QString());
    expectWord(Completion::wordAtCaret(u"  //", 4, code), TypedWord::Command, 4, 0, QString());
    // A menu item's commands; a one-line alias body.
    expectWord(Completion::wordAtCaret(u"  .Info:/inf", 12, inBlock(LexerState::Menu)), TypedWord::Command, 9, 3,
               QStringLiteral("inf"));
    expectWord(Completion::wordAtCaret(u"alias x wri", 11), TypedWord::Command, 8, 3, QStringLiteral("wri"));
}

void TestCompletion::identifiersAfterDollar()
{
    const LexerState code = inBlock(LexerState::Code);
    const TypedWord address = Completion::wordAtCaret(u"  echo -a $addr", 15, code);
    expectWord(address, TypedWord::Identifier, 11, 4, QStringLiteral("addr"));
    QCOMPARE(Completion::candidates(address).first()->rows, (QStringList{"$address", "$address(nickname,type)"}));

    expectWord(Completion::wordAtCaret(u"  echo $", 8, code), TypedWord::Identifier, 8, 0, QString());
    expectWord(Completion::wordAtCaret(u"  if ($$ni == x)", 10, code), TypedWord::Identifier, 8, 2,
               QStringLiteral("ni"));
    expectWord(Completion::wordAtCaret(u"  echo $calc(1) $rea", 20, code), TypedWord::Identifier, 17, 3,
               QStringLiteral("rea"));
    QCOMPARE(names(Completion::candidates(Completion::wordAtCaret(u"  echo $rea", 11, code))),
             (QStringList{"read", "readini", "readn"}));
    // In an event header's fields too.
    expectWord(Completion::wordAtCaret(u"on *:TEXT:*:$ch", 15), TypedWord::Identifier, 13, 2, QStringLiteral("ch"));
}

void TestCompletion::eventNamesInHeaders()
{
    const TypedWord join = Completion::wordAtCaret(u"on *:jo", 7);
    expectWord(join, TypedWord::Event, 5, 2, QStringLiteral("jo"));
    QCOMPARE(names(Completion::candidates(join)), QStringList{"join"});
    QCOMPARE(Completion::candidates(join).first()->rows, QStringList{"on *:join:"});

    expectWord(Completion::wordAtCaret(u"on me:*:", 8), TypedWord::Event, 8, 0, QString());
    expectWord(Completion::wordAtCaret(u"ON 50:TEXT:*does *:*:{", 8), TypedWord::Event, 6, 4, QStringLiteral("TE"));
    expectWord(Completion::wordAtCaret(u"n3=on *:so", 10), TypedWord::Event, 8, 2, QStringLiteral("so"));
    // Past the event name the fields are no event.
    QCOMPARE(Completion::wordAtCaret(u"on *:TEXT:hi", 12).context, TypedWord::None);
    // "on" inside a block is no header but a word at command position, its argument nothing.
    QCOMPARE(Completion::wordAtCaret(u"  on *:jo", 9, inBlock(LexerState::Code)).context, TypedWord::None);
    QCOMPARE(Completion::wordAtCaret(u"  on *:jo", 3, inBlock(LexerState::Code)).context, TypedWord::Command);
}

void TestCompletion::nothingOutsideAContext()
{
    const LexerState code = inBlock(LexerState::Code);
    QCOMPARE(Completion::wordAtCaret(u"  echo hello", 12, code).context, TypedWord::None);
    QCOMPARE(Completion::wordAtCaret(u"  ; /hadd", 9, code).context, TypedWord::None);
    QCOMPARE(Completion::wordAtCaret(u"  echo %var", 11, code).context, TypedWord::None);
    QCOMPARE(Completion::wordAtCaret(u"  echo", 99, code).context, TypedWord::None);
    QVERIFY(Completion::candidates(TypedWord()).isEmpty());
    LexerState comment;
    comment.flags = LexerState::InBlockComment;
    QCOMPARE(Completion::wordAtCaret(u"on *:jo", 7, comment).context, TypedWord::None);
}

void TestCompletion::tipsForTheWordUnderAColumn()
{
    const LexerState code = inBlock(LexerState::Code);
    const QStringList hadd = {QStringLiteral("hadd -smbczuN <name> <item> [data|&binvar]")};
    QCOMPARE(Completion::tipRows(u"  hadd -m t i v", 3, code), hadd);
    // Just after the word counts too, as the caret rests there after typing.
    QCOMPARE(Completion::tipRows(u"  /hadd", 7, code), hadd);
    QCOMPARE(Completion::tipRows(u"  .timer1 0 5 echo", 4, code).first().left(12), QStringLiteral("timer[Nname]"));
    QCOMPARE(Completion::tipRows(u"  echo $address($nick,2)", 10, code),
             (QStringList{"$address", "$address(nickname,type)"}));
    QCOMPARE(Completion::tipRows(u"  echo $3-", 9, code), QStringList{"$1-"});
    QCOMPARE(Completion::tipRows(u"on *:TEXT:*:#:{", 6), QStringList{"on *:text:"});
    // Words the catalogue lacks show their syntax from mIRC's vocabulary; the catalogue's if row
    // shows one statement a line.
    QCOMPARE(Completion::tipRows(u"  noop $regsubex(a,/a/g,b)", 3, code), QStringList{"noop [commands]"});
    QCOMPARE(Completion::tipRows(u"  noop $regsubex(a,/a/g,b)", 10, code),
             QStringList{"$regsubex([name],text,re,subtext)"});
    QCOMPARE(Completion::tipRows(u"on *:LOGON:*:{", 7), QStringList{"on <level>:LOGON:<*>:<commands>"});
    QCOMPARE(Completion::tipRows(u"  if (x) halt", 3, code),
             (QStringList{"if ( ) { }", "elseif ( ) { }", "else { }"}));
    QCOMPARE(Completion::tipRows(u"  button \"OK\", 1, 5 5 40 12, ok", 4, inBlock(LexerState::Dialog)),
             QStringList{"button \"[text]\", id, x y w h, default ok cancel flat multi"});
    // No tip for unknown words, arguments, or a dialog word outside a dialog.
    QVERIFY(Completion::tipRows(u"  mycommand x", 3, code).isEmpty());
    QVERIFY(Completion::tipRows(u"  echo hadd", 9, code).isEmpty());
    QVERIFY(Completion::tipRows(u"  echo $mything", 9, code).isEmpty());
    QVERIFY(Completion::tipRows(u"  button x", 4, code).isEmpty());
}

QTEST_APPLESS_MAIN(TestCompletion)
#include "test_completion.moc"
