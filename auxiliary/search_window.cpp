#include "auxiliary/search_window.h"

#include "common/fixed_layout.h"
#include "common/handler_guard.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>

QPointer<TForm8> Form8;

TForm8::TForm8(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("Поиск"));
    setGeometry(187, 176, 696, 480);

    Edit1 = FixedLayout::addEdit(this, QStringLiteral("Edit1"), QRect(104, 56, 121, 21), QStringLiteral("Edit1"));
    Button1 = FixedLayout::addButton(this, QStringLiteral("Button1"), QStringLiteral("Button1"), QRect(104, 80, 75, 25));

    onSignal(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void TForm8::Button1Click()
{
    if (!Form2)
        return;
    // Focusing a control of another window brings that window forward, as the editor's own click would.
    Form2->Memo1->activateWindow();
    if (QMdiArea *area = Form2->mdiArea())
        area->setActiveSubWindow(Form2);
    Form2->Memo1->setFocus();
}
