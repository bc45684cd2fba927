#pragma once

#include "language/dialog_table.h"

#include <QList>
#include <QString>

// The lines of a dialog table that mIRC would refuse or misread, each with the reason in plain
// Russian. The rules follow mIRC's own description of dialog tables: which controls exist, the
// pieces of each line, and the style words each control takes.
namespace DialogChecks {

struct Problem {
    int line = -1; // from 0
    QString reason;

    bool operator==(const Problem &other) const = default;
};

// Every problem of the table, ordered by line.
QList<Problem> check(const DialogTable::DialogModel &model);

// Whether mIRC knows `word` (lower case) as a style of a control of this kind.
bool takesStyle(const QString &kind, const QString &word);

} // namespace DialogChecks
