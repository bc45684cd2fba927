#pragma once

#include "language/line_source.h"

#include <QStringView>

// Where the partner of a bracket is, found by BraceScan::findPartner.
struct BracketMatch {
    enum Status {
        NoBracket,   // no counted bracket there: another character, a comment, a { that is no block brace
        Matched,     // the partner is at (line, column)
        Unmatched,   // the bracket has no partner
        BeyondReach, // no partner within the lines scanned; it may lie further
    };
    Status status = NoBracket;
    int line = -1;
    int column = -1;
};

// The outcome of checking a whole text's braces, lines and columns from 0.
struct BraceCheck {
    enum Status {
        Balanced,
        UnexpectedClose,     // a } at (line, column) closes nothing
        UnclosedBrace,       // the { at (line, column) is never closed
        UnclosedParenthesis, // the ( at (line, column) of an identifier or condition is not closed on its line
    };
    Status status = Balanced;
    int line = -1;
    int column = -1;
    friend bool operator==(const BraceCheck &, const BraceCheck &) = default;
};

// Bracket matching and the brace check over mIRC script text, skipping comments. Block braces
// count as mIRC counts them (see ScriptLexer::codeLayout), as the colouring counts them too;
// ( ) and [ ] pair within a line.
namespace BraceScan {

// Lines scanned at most for a partner, so that a key press never waits on a huge file.
constexpr int kDefaultReach = 20000;

// The column of the bracket beside a caret: the character after it first, then the one before;
// -1 when neither is one of { } ( ) [ ].
int bracketBesideCaret(QStringView line, int caret);

// The partner of the bracket at (line, column). The line is taken to be code: where the lexer
// puts it inside a /* */ block, there is nothing to match.
BracketMatch findPartner(const LineSource &text, int line, int column, int reach = kDefaultReach);

// The first unbalanced brace of the whole text, or Balanced. An unclosed { is reported where
// the next block (alias, on, menu, dialog, #group ...) starts at the left margin while it is
// still open, or at the end; among its inner blocks, the one whose } does not line up with it
// (by indentation) is named, as the likeliest place of the missing }. A } that closes nothing is
// reported at the } that closed its top-level block out of line with its { where there is one,
// the likeliest place of a missing {.
BraceCheck checkBraces(const LineSource &text);

} // namespace BraceScan
