#pragma once

#include "language/script_lexer.h"
#include "language/script_vocabulary.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// What is being typed at a caret, found by Completion::wordAtCaret.
struct TypedWord {
    enum Context {
        None,
        Command,    // a command name where a command may stand
        Identifier, // the name after "$"
        Event,      // the event name of an "on" header
    };
    Context context = None;
    int start = -1;  // column of the name's first character, after "/", "!", "." or "$"
    int length = 0;  // the whole name, also past the caret: what choosing an entry replaces
    QString prefix;  // the name's characters before the caret
};

// Completion and syntax tips from the catalogue for one line of script.
namespace Completion {

// The word being typed at caret on line, the line starting in state (the lexer's state for
// the line before it).
TypedWord wordAtCaret(QStringView line, int caret, LexerState state = {});

// The vocabulary entries for the typed word: names starting with its prefix, any case, sorted,
// all of them; none outside a context.
QList<const VocabularyEntry *> candidates(const TypedWord &word);

// The known command, identifier, event or dialog table word at column (on it or just after
// it), or nullptr.
const VocabularyEntry *entryAt(QStringView line, int column, LexerState state = {});

// Its syntax tip (VocabularyEntry::tipLines); empty where there is no known word.
QStringList tipRows(QStringView line, int column, LexerState state = {});

} // namespace Completion
