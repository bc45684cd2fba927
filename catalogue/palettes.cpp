#include "catalogue/palettes.h"

#include "catalogue/catalogue_file.h"
#include "common/handler_guard.h"

#include <QItemSelectionModel>
#include <QListWidget>

namespace Palettes {
namespace {

void fillOne(QListWidget *palette, const QString &path)
{
    const std::optional<QStringList> labels = CatalogueFile::read(path);
    if (!labels)
        throw OrlError(QStringLiteral("Cannot open file %1").arg(path));
    palette->clear();
    palette->addItems(*labels);
    // No row is current until the user picks one. Saying so explicitly keeps the view from making
    // the first row current when the palette gets the focus, so the first arrow key selects row 0.
    palette->setCurrentIndex(QModelIndex());
}

} // namespace

void fill(const QList<Source> &sources)
{
    for (const Source &source : sources)
        fillOne(source.palette, source.dataFile);
}

std::optional<QString> selectedSnippet(const QListWidget &palette, SnippetTable table)
{
    const QModelIndexList selected = palette.selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return std::nullopt;
    const int row = selected.first().row();
    const QStringList &snippets = snippetTable(table);
    // The error box adds no full stop after a closing parenthesis, so the message carries its own.
    if (row >= snippets.size())
        throw OrlError(QStringLiteral("List index out of bounds (%1).").arg(row));
    return snippets.at(row);
}

} // namespace Palettes
