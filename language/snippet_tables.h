#pragma once

#include <QStringList>

// The snippet catalogue: five read-only tables of one-line texts, indexed from 0. Row i of a
// table is the text that row i of its palette appends to the current editor, exactly as held.
enum class SnippetTable {
    DialogTemplates, // 19 rows, behind the "Диалог. Окна" palette
    Symbols,         // 224 rows, behind "Символы"
    Commands,        // 220 rows, behind "Команды"
    EventHeaders,    // 68 rows, behind "ON Панель"
    Identifiers,     // 301 rows, behind "Идентифи."
};

// The rows of a table; built once, on first use, and never changed.
const QStringList &snippetTable(SnippetTable table);
