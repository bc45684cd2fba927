// Bracket partners and the whole-text brace check: nesting, comments, mIRC's word rule, the
// missing } of a real script found and named.
#include "language/brace_scan.h"
#include "language/script_lexer.h"
#include "support/corpus_lines.h"

#include <QElapsedTimer>
#include <QTest>

namespace {

const QStringList kAlias = {
    QStringLiteral("alias use.skill { "),                                           // 0
    QStringLiteral("  ; $1 = user { not a brace"),                                 // 1
    QStringLiteral("  if ($3 = aggressor) { $skill.aggressor($1) } "),             // 2
    QStringLiteral("  if ($4 != $null) {"),                                        // 3
    QStringLiteral("/* if (x) {"),                                                 // 4
    QStringLiteral("*/ }"),                                                        // 5
    QStringLiteral("    $partial.name.match($1, $4)"),                             // 6
    QStringLiteral("  }"),                                                         // 7
    QStringLiteral("}"),                                                           // 8
    QStringLiteral("on 3:TEXT:*does *:*:{ $use.skill($1, $2, $3, $4) | echo :) }"), // 9
};

BracketMatch partner(const QStringList &lines, int line, int column, int reach = BraceScan::kDefaultReach)
{
    const StringListLines text(lines);
    return BraceScan::findPartner(text, line, column, reach);
}

BraceCheck check(const QStringList &lines)
{
    const StringListLines text(lines);
    return BraceScan::checkBraces(text);
}

void expectMatch(const BracketMatch &match, int line, int column)
{
    QCOMPARE(match.status, BracketMatch::Matched);
    QCOMPARE(match.line, line);
    QCOMPARE(match.column, column);
}

} // namespace

// How QCOMPARE shows a check's outcome.
char *toString(const BraceCheck &check)
{
    const QString text = QStringLiteral("status %1 at line %2, column %3").arg(check.status).arg(check.line);
    return QTest::toString(text.arg(check.column));
}

class TestBraceScan : public QObject {
    Q_OBJECT

private slots:
    void bracketBesideCaret();
    void partnersAcrossLinesSkipComments();
    void partnersWithinALine();
    void whatIsNoBracket();
    void partnerSearchIsBounded();
    void checkFindsUnbalancedBraces();
    void checkFindsUnclosedParentheses();
    void inlineCommentsAndRawCommandsInBlocks();
    void aMissingOpenBraceIsNamedAtTheCloseOutOfLine();
    void corpusIsBalancedAndEveryRemovedBraceIsNamed();
    void colouringAndCheckAgreeOnEveryCorpusBlock();
};

void TestBraceScan::bracketBesideCaret()
{
    QCOMPARE(BraceScan::bracketBesideCaret(u"if (x) {", 3), 3);  // after the caret first
    QCOMPARE(BraceScan::bracketBesideCaret(u"if (x) {", 8), 7);  // else before it
    QCOMPARE(BraceScan::bracketBesideCaret(u"if (x) {", 6), 5);
    QCOMPARE(BraceScan::bracketBesideCaret(u"if (x) {", 1), -1);
    QCOMPARE(BraceScan::bracketBesideCaret(u"", 0), -1);
}

void TestBraceScan::partnersAcrossLinesSkipComments()
{
    expectMatch(partner(kAlias, 0, 16), 8, 0);
    expectMatch(partner(kAlias, 8, 0), 0, 16);
    // The { of line 3 skips the /* */ block with its brace and the } after "*/".
    expectMatch(partner(kAlias, 3, 19), 7, 2);
    expectMatch(partner(kAlias, 7, 2), 3, 19);
    expectMatch(partner(kAlias, 2, 22), 2, 45);
    expectMatch(partner(kAlias, 9, 20), 9, 59);

    const QStringList unclosed = {QStringLiteral("alias x {"), QStringLiteral("  echo }x")};
    QCOMPARE(partner(unclosed, 0, 8).status, BracketMatch::Unmatched);
    const QStringList ini = {QStringLiteral("n0=alias x {"), QStringLiteral("n1=}")};
    expectMatch(partner(ini, 1, 3), 0, 11);
}

void TestBraceScan::partnersWithinALine()
{
    const QString line = kAlias.at(9);
    const int open = int(line.indexOf(u'('));
    expectMatch(partner(kAlias, 9, open), 9, int(line.indexOf(u')')));
    expectMatch(partner(kAlias, 2, 5), 2, 20);
    expectMatch(partner(kAlias, 2, 43), 2, 40);
    const QStringList brackets = {QStringLiteral("  say % [ $+ [ $1 ] ] ("), QStringLiteral(")")};
    expectMatch(partner(brackets, 0, 8), 0, 20);
    expectMatch(partner(brackets, 0, 18), 0, 13);
    // ( ) never pair across lines.
    QCOMPARE(partner(brackets, 0, 22).status, BracketMatch::Unmatched);
    QCOMPARE(partner(kAlias, 9, int(line.indexOf(u":)")) + 1).status, BracketMatch::Unmatched);
}

void TestBraceScan::whatIsNoBracket()
{
    QCOMPARE(partner(kAlias, 1, 14).status, BracketMatch::NoBracket); // in a ; comment
    QCOMPARE(partner(kAlias, 4, 10).status, BracketMatch::NoBracket); // on a /* line
    QCOMPARE(partner(kAlias, 0, 2).status, BracketMatch::NoBracket);  // a letter
    QCOMPARE(partner(kAlias, 42, 0).status, BracketMatch::NoBracket);
    // mIRC counts { } only standing as words: these are text.
    const QStringList glued = {QStringLiteral("  echo $+({,x) {x} | ; { }")};
    QCOMPARE(partner(glued, 0, 10).status, BracketMatch::NoBracket);
    QCOMPARE(partner(glued, 0, 15).status, BracketMatch::NoBracket);
    QCOMPARE(partner(glued, 0, 23).status, BracketMatch::NoBracket); // in the " ; " comment
    // The comment ends before a closing "}", which closes (here: nothing).
    QCOMPARE(partner(glued, 0, 25).status, BracketMatch::Unmatched);
}

void TestBraceScan::partnerSearchIsBounded()
{
    QStringList lines(100000, QStringLiteral("  echo -a line"));
    lines.first() = QStringLiteral("alias big {");
    lines.last() = QStringLiteral("}");
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(partner(lines, 0, 10).status, BracketMatch::BeyondReach);
    qInfo("A search to the reach of %d lines: %.2f ms", BraceScan::kDefaultReach, double(timer.nsecsElapsed()) / 1e6);
    expectMatch(partner(lines, 0, 10, int(lines.size())), int(lines.size()) - 1, 0);
    QCOMPARE(partner(lines, int(lines.size()) - 1, 0, 500).status, BracketMatch::BeyondReach);
}

void TestBraceScan::checkFindsUnbalancedBraces()
{
    QCOMPARE(check(kAlias), BraceCheck());

    QStringList extra = kAlias;
    extra.insert(9, QStringLiteral("  } "));
    QCOMPARE(check(extra), (BraceCheck{BraceCheck::UnexpectedClose, 9, 2}));

    // A missing } at the end names the block whose } is out of line with its {.
    QStringList missingInner = kAlias.mid(0, 9);
    missingInner.removeAt(7);
    QCOMPARE(check(missingInner), (BraceCheck{BraceCheck::UnclosedBrace, 3, 19}));
    // Named before the next block that starts at the margin, not at the end of the text.
    QStringList beforeNext = kAlias;
    beforeNext.removeAt(8);
    beforeNext.append(QStringLiteral("}"));
    QCOMPARE(check(beforeNext), (BraceCheck{BraceCheck::UnclosedBrace, 0, 16}));
    // With no indentation to go by, the innermost open block is named.
    const QStringList flat = {QStringLiteral("alias a {"), QStringLiteral("if (x) {"), QStringLiteral("echo")};
    QCOMPARE(check(flat), (BraceCheck{BraceCheck::UnclosedBrace, 1, 7}));
    // Untidy indentation is no clue once the enclosing block's } lines up again.
    const QStringList untidy = {QStringLiteral("alias a {"),     QStringLiteral("  item {"),
                                QStringLiteral("    while (x) {"), QStringLiteral("      echo"),
                                QStringLiteral("  dec %i } }"),  QStringLiteral("  echo"),
                                QStringLiteral("alias b {"),     QStringLiteral("}")};
    QCOMPARE(check(untidy), (BraceCheck{BraceCheck::UnclosedBrace, 0, 8}));
}

void TestBraceScan::checkFindsUnclosedParentheses()
{
    const QStringList condition = {QStringLiteral("alias a {"), QStringLiteral("  if (($1 == x) { halt }"),
                                   QStringLiteral("}")};
    QCOMPARE(check(condition), (BraceCheck{BraceCheck::UnclosedParenthesis, 1, 5}));
    const QStringList identifier = {QStringLiteral("alias a { echo $calc(1 + $len($1) }")};
    QCOMPARE(check(identifier), (BraceCheck{BraceCheck::UnclosedParenthesis, 0, 20}));
    // Parentheses of text, and an identifier continued on the next line with $&, are fine.
    const QStringList fine = {QStringLiteral("alias a { echo -a :( | echo $+(a,$&"), QStringLiteral("  b) }")};
    QCOMPARE(check(fine), BraceCheck());
}

void TestBraceScan::inlineCommentsAndRawCommandsInBlocks()
{
    // A ';' comment ends at " | " and before a closing "}"; a "{" inside it opens nothing.
    QCOMPARE(check({QStringLiteral("alias a { ;join }")}), BraceCheck());
    QCOMPARE(check({QStringLiteral("alias a {"), QStringLiteral("  if (x) { ; old { code } | echo :( "),
                    QStringLiteral("}")}),
             BraceCheck());
    const QStringList commented = {QStringLiteral("  if (x) { ; a ( b } | echo (c)")};
    QCOMPARE(partner(commented, 0, 15).status, BracketMatch::NoBracket);
    expectMatch(partner(commented, 0, 28), 0, 30);
    expectMatch(partner(commented, 0, 9), 0, 19);
    // The raw command at the margin inside a block is no raw event's header.
    QCOMPARE(check({QStringLiteral("alias a {"), QStringLiteral("raw -q PRIVMSG #chan :text"), QStringLiteral("}")}),
             BraceCheck());
    // A raw event's header at the margin still shows that a } is missing above it.
    QCOMPARE(check({QStringLiteral("alias a {"), QStringLiteral("  echo"), QStringLiteral("raw 352:* {"),
                    QStringLiteral("}")}),
             (BraceCheck{BraceCheck::UnclosedBrace, 0, 8}));
}

void TestBraceScan::aMissingOpenBraceIsNamedAtTheCloseOutOfLine()
{
    // The "{" of line 1 went: line 3's "}" closes the alias early, out of line with its "{", and
    // line 5's "}" closes nothing. Line 3 is named.
    const QStringList missingOpen = {QStringLiteral("alias a {"),        QStringLiteral("  if ($1)"),
                                     QStringLiteral("    echo -a one"),  QStringLiteral("  }"),
                                     QStringLiteral("  echo -a two"),    QStringLiteral("}"),
                                     QStringLiteral("alias b {"),        QStringLiteral("}")};
    QCOMPARE(check(missingOpen), (BraceCheck{BraceCheck::UnexpectedClose, 3, 2}));
    // An untidy } of an earlier block is forgotten once a new block starts at the margin.
    const QStringList untidy = {QStringLiteral("alias a {"), QStringLiteral("  echo"), QStringLiteral("  }"),
                                QStringLiteral("alias b {"), QStringLiteral("  echo"), QStringLiteral("}"),
                                QStringLiteral("}")};
    QCOMPARE(check(untidy), (BraceCheck{BraceCheck::UnexpectedClose, 6, 0}));
    const QStringList oneLineEvent = {QStringLiteral("alias a {"), QStringLiteral("  echo"), QStringLiteral("  }"),
                                      QStringLiteral("on *:TEXT:*:#:echo hi"), QStringLiteral("}")};
    QCOMPARE(check(oneLineEvent), (BraceCheck{BraceCheck::UnexpectedClose, 4, 0}));
}

void TestBraceScan::corpusIsBalancedAndEveryRemovedBraceIsNamed()
{
    if (CorpusLines::folder().isEmpty())
        QSKIP("The corpus folder is absent");
    for (const QString &name : CorpusLines::scripts())
        QVERIFY2(check(CorpusLines::read(name)) == BraceCheck(), qPrintable(name));

    // Each } standing alone on a line of the largest script, removed in turn: the check names
    // the { that } closed.
    const QStringList lines = CorpusLines::read(QStringLiteral("battlearena-skills.mrc"));
    QVERIFY(!lines.isEmpty());
    const StringListLines whole(lines);
    int removed = 0;
    for (int n = 0; n < lines.size(); ++n) {
        if (lines.at(n).trimmed() != QLatin1String("}"))
            continue;
        const BracketMatch opener = BraceScan::findPartner(whole, n, int(lines.at(n).indexOf(u'}')));
        QCOMPARE(opener.status, BracketMatch::Matched);
        QStringList broken = lines;
        broken.removeAt(n);
        const BraceCheck found = check(broken);
        QVERIFY2(found == (BraceCheck{BraceCheck::UnclosedBrace, opener.line, opener.column}),
                 qPrintable(QStringLiteral("} of line %1: found line %2").arg(n + 1).arg(found.line + 1)));
        ++removed;
    }
    QVERIFY(removed > 200);

    // A { with no partner before the script: the search reads every line (a figure, not a limit).
    QStringList unmatched = lines;
    unmatched.prepend(QStringLiteral("alias broken {"));
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(partner(unmatched, 0, 13).status, BracketMatch::Unmatched);
    qInfo("An unmatched { over %lld corpus lines: %.2f ms", qlonglong(unmatched.size()),
          double(timer.nsecsElapsed()) / 1e6);
}

// The colouring opens and closes a block at every brace the check pairs, and at no other, on
// every line of every corpus script; a line inside a block is never coloured as a header.
void TestBraceScan::colouringAndCheckAgreeOnEveryCorpusBlock()
{
    if (CorpusLines::folder().isEmpty())
        QSKIP("The corpus folder is absent");
    int blocks = 0;
    for (const QString &name : CorpusLines::scripts()) {
        const QStringList lines = CorpusLines::read(name);
        const StringListLines text(lines);
        LexerState state;
        for (int n = 0; n < lines.size(); ++n) {
            const QString &line = lines.at(n);
            const QString where = QStringLiteral("%1:%2").arg(name).arg(n + 1);
            QList<ScriptToken> tokens;
            const LexerState after = ScriptLexer::classifyLine(line, state, &tokens);
            if (!state.inBlockComment()) {
                int paired = 0;
                for (int column = 0; column < line.size(); ++column) {
                    if ((line[column] == u'{' || line[column] == u'}')
                        && BraceScan::findPartner(text, n, column).status == BracketMatch::Matched) {
                        paired += line[column] == u'{' ? 1 : -1;
                        blocks += line[column] == u'{' ? 1 : 0;
                    }
                }
                QVERIFY2(int(after.depth) - int(state.depth) == paired, qPrintable(where));
            }
            if (state.depth > 0) {
                for (const ScriptToken &token : tokens) {
                    const bool header = token.kind == TokenKind::BlockName || token.kind == TokenKind::EventHeader
                        || token.kind == TokenKind::Event || token.kind == TokenKind::UnknownEvent
                        || (token.kind == TokenKind::Keyword && state.block != LexerState::Dialog);
                    QVERIFY2(!header, qPrintable(where));
                }
            }
            state = after;
        }
        QVERIFY2(state == LexerState(), qPrintable(name));
    }
    QVERIFY(blocks > 2000);
}

QTEST_APPLESS_MAIN(TestBraceScan)
#include "test_brace_scan.moc"
