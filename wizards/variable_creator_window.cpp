#include "wizards/variable_creator_window.h"

#include "common/fixed_layout.h"
#include "common/handler_guard.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"
#include "wizards/wizard_lines.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

QPointer<TForm4> Form4;

using namespace FixedLayout;

TForm4::TForm4(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral(".:: Создние перемменной ::."));
    setUpForm(this, QSize(283, 90), pixelFont(QStringLiteral("MS Sans Serif"), 11), QPalette::Midlight);
    move(406, 306);

    Edit = addLabelledEdit(this, QStringLiteral("Edit"), QStringLiteral("Введите переменную"), QRect(0, 16, 185, 21));
    Label1 = addLabel(this, QStringLiteral("Label1"), QStringLiteral("Выберите свойство переменной"),
                      QRect(0, 40, 165, 13));
    ListBox1 = addListBox(this, QStringLiteral("ListBox1"), WizardLines::variableRows(), QRect(0, 56, 193, 33), 13);
    Button1 = addButton(this, QStringLiteral("Button1"), QStringLiteral("Создать"), QRect(200, 64, 75, 25));
    setTabOrder(Edit, ListBox1);
    setTabOrder(ListBox1, Button1);
    nameFieldsByCaptions(this);

    onSignal(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void TForm4::Button1Click()
{
    if (!Form2 || !Form2->Active())
        return;
    const QList<QListWidgetItem *> selected = ListBox1->selectedItems();
    if (selected.isEmpty())
        return;
    const auto kind = ListBox1->row(selected.first()) == 0 ? WizardLines::VariableKind::Permanent
                                                           : WizardLines::VariableKind::Temporary;
    Form2->Memo1->appendAsLine(WizardLines::variableLine(kind, Edit->text()));
}
