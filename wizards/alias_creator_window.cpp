#include "wizards/alias_creator_window.h"

#include "common/fixed_layout.h"
#include "common/handler_guard.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"
#include "wizards/wizard_lines.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

QPointer<TForm3> Form3;

using namespace FixedLayout;

TForm3::TForm3(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral(".:: Alias Create ::. "));
    setUpForm(this, QSize(277, 102), pixelFont(QStringLiteral("MS Sans Serif"), 11), QPalette::Dark);
    move(353, 410);

    AliasName = addLabelledEdit(this, QStringLiteral("AliasName"), QStringLiteral("Впишите ваш новый Алиас"),
                                QRect(8, 16, 185, 21));
    Button1 = addButton(this, QStringLiteral("Button1"), QStringLiteral("Создать"), QRect(200, 16, 75, 25));
    Label1 = addLabel(this, QStringLiteral("Label1"), QStringLiteral("Выберите команду которую будет выполнять алиас:"),
                      QRect(8, 56, 266, 13));
    ListBox1 = addListBox(this, QStringLiteral("ListBox1"), WizardLines::aliasCommands(), QRect(8, 72, 265, 25), 13);
    ListBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabOrder(AliasName, Button1);
    setTabOrder(Button1, ListBox1);
    nameFieldsByCaptions(this);

    onSignal(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void TForm3::Button1Click()
{
    const QList<QListWidgetItem *> selected = ListBox1->selectedItems();
    if (selected.isEmpty() || !Form2)
        return;
    Form2->Memo1->appendAsLine(WizardLines::aliasLine(AliasName->text(), selected.first()->text()));
}
