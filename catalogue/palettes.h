#pragma once

#include "language/snippet_tables.h"

#include <QList>
#include <QString>

#include <optional>

class QListWidget;

// The reference palettes' two jobs apart from the window that shows them: filling a palette with
// the labels of its data file, and finding the snippet its selected row stands for.
namespace Palettes {

struct Source {
    QListWidget *palette = nullptr;
    QString dataFile;
};

// Fills the palettes in the order given, each from its data file. The first file that cannot be
// opened throws "Cannot open file <path>"; that palette and the ones after it stay as they were.
void fill(const QList<Source> &sources);

// The row of the table that the palette's selected row stands for, or nothing when no row is
// selected. A row beyond the table throws the list index error.
std::optional<QString> selectedSnippet(const QListWidget &palette, SnippetTable table);

} // namespace Palettes
