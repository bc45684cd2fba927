#pragma once

#include "language/dialog_table.h"

#include <QList>
#include <QString>

// The lines of a dialog table that mIRC would refuse or misread, each with the reason in plain
// Russian. The rules follow mIRC's own description of dialog tables: which controls exist, the
// pieces of each line, and the style words each control takes.
namespace DialogChecks {

// An error is what mIRC refuses; a warning what it accepts but reads otherwise than the author may
// think (a word it ignores, a control it leaves off the dialog); a note says how the preview reads
// the table.
enum class Severity { Error, Warning, Note };

struct Problem {
    int line = -1; // from 0
    QString reason;
    Severity severity = Severity::Error;

    bool operator==(const Problem &other) const = default;
};

struct Options {
    // A table that runs to the end of the text without its "}" is complete there (the dialog
    // designer's code box holds one table, and the designer writes no closing brace).
    bool textEndClosesTable = false;
};

// Every problem of the table, ordered by line.
QList<Problem> check(const DialogTable::DialogModel &model, const Options &options = {});

qsizetype countOf(const QList<Problem> &problems, Severity severity);

// Whether mIRC knows `word` (lower case) as a style of a control of this kind, or lets it pass as a
// word for the look it gives anyway.
bool takesStyle(const QString &kind, const QString &word);

} // namespace DialogChecks
