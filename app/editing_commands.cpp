// The "Форматирование" and "Поиск" menus: commands on the text of the active editor window.
#include "app/main_window.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"

void TOrl::N11Click()
{
    if (!applyActiveEditorRule())
        return;
    Form2->Memo1->copy();
}

void TOrl::N12Click()
{
    if (!applyActiveEditorRule())
        return;
    Form2->Memo1->paste();
}

void TOrl::N13Click()
{
    if (!applyActiveEditorRule())
        return;
    Form2->Memo1->selectAll();
}

void TOrl::N15Click() { }
void TOrl::N16Click() { }
void TOrl::N41Click() { }
void TOrl::N43Click() { }
void TOrl::N44Click() { }
