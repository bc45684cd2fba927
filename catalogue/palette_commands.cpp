// Filling the five palettes at start-up and appending a palette row's snippet.
#include "app/main_window.h"
#include "catalogue/catalogue_file.h"
#include "common/handler_guard.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"
#include "language/snippet_tables.h"

#include <QItemSelectionModel>
#include <QListWidget>

namespace {

// Replaces a palette's rows by the labels of its data file; throws when the file cannot be opened.
void fillPalette(QListWidget *palette, const QString &path)
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

// Appends row i of the table to the current editor as a new last line, i being the palette's
// selected row. A palette row beyond the table reports the list index error and appends nothing.
void insertSelectedSnippet(TOrl *orl, const QListWidget *palette, SnippetTable table)
{
    if (!orl->applyActiveEditorRule())
        return;
    const QModelIndexList selected = palette->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return;
    const int row = selected.first().row();
    const QStringList &snippets = snippetTable(table);
    // The error box adds no full stop after a closing parenthesis, so the message carries its own.
    if (row >= snippets.size())
        throw OrlError(QStringLiteral("List index out of bounds (%1).").arg(row));
    Form2->Memo1->appendAsLine(snippets.at(row));
}

} // namespace

void TOrl::FormCreate()
{
    // The first file that cannot be opened ends the filling; the palettes from it on stay empty
    // and start-up goes on after the error box.
    runGuarded([this] {
        fillPalette(Simbol, QStringLiteral("Dat/simbol.orl"));
        fillPalette(OnPanel, QStringLiteral("Dat/On.orl"));
        fillPalette(Indent, QStringLiteral("Dat/Identifers.orl"));
        fillPalette(Comands, QStringLiteral("Dat/Comands.orl"));
        fillPalette(Dialog2, QStringLiteral("Dat/DialogBox.orl"));
    });
}

void TOrl::OnPanelClick()
{
    insertSelectedSnippet(this, OnPanel, SnippetTable::EventHeaders);
}

void TOrl::IndentClick()
{
    insertSelectedSnippet(this, Indent, SnippetTable::Identifiers);
}

void TOrl::SimbolClick()
{
    insertSelectedSnippet(this, Simbol, SnippetTable::Symbols);
}

void TOrl::ComandsClick()
{
    insertSelectedSnippet(this, Comands, SnippetTable::Commands);
}

void TOrl::Dialog2Click()
{
    insertSelectedSnippet(this, Dialog2, SnippetTable::DialogTemplates);
}
