#include "editor/script_editor_window.h"

#include "app/dialog_seam.h"
#include "app/handler_guard.h"
#include "app/main_window.h"
#include "editor/script_memo.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QMdiArea>
#include <QStatusBar>
#include <QVBoxLayout>

QPointer<TForm2> Form2;

namespace {

QFont scriptFont()
{
    // Fixedsys is a Windows bitmap face; the system's fixed-width face stands in for it.
    QFont font(QStringLiteral("Fixedsys"));
    if (!QFontInfo(font).fixedPitch())
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(13);
    return font;
}

} // namespace

TForm2::TForm2(QWidget *parent) : QMdiSubWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    resize(706, 487);
    QFont windowFont(QStringLiteral("MS Sans Serif"));
    windowFont.setPixelSize(11);
    setFont(windowFont);

    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Memo1 = new ScriptMemo(content);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setFont(scriptFont());
    layout->addWidget(Memo1);

    StatusBar1 = new QStatusBar(content);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFixedHeight(19);
    StatusBar1->setSizeGripEnabled(false);
    const int widths[3] = {50, 100, 50};
    for (int i = 0; i < 3; ++i) {
        m_panels[i] = new QLabel(StatusBar1);
        m_panels[i]->setFixedWidth(widths[i]);
        m_panels[i]->setFrameShape(QFrame::Panel);
        m_panels[i]->setFrameShadow(QFrame::Sunken);
        StatusBar1->addWidget(m_panels[i]);
    }
    layout->addWidget(StatusBar1);
    setWidget(content);
    setFocusProxy(Memo1);

    onSignal(Memo1, &ScriptMemo::Change, this, [this] { Memo1Change(); });
}

TForm2::~TForm2()
{
    if (Form2 == this)
        Form2 = nullptr;
}

bool TForm2::Active() const
{
    return mdiArea() && mdiArea()->currentSubWindow() == this && !m_closing;
}

QString TForm2::panelText(int panel) const
{
    return m_panels[panel]->text();
}

void TForm2::Memo1Change()
{
    const QPoint caret = Memo1->CaretPos();
    m_panels[0]->setText(QStringLiteral("%1:%2").arg(caret.y() + 1).arg(caret.x() + 1));
    m_panels[2]->setText(windowTitle());
    m_panels[1]->setText(Memo1->Modified() ? QStringLiteral("Редактирует") : QString());
    m_unsavedChanges = true;
}

void TForm2::FormActivate()
{
    m_panels[2]->setText(windowTitle());
}

bool TForm2::confirmClose()
{
    if (m_closeConfirmed || !m_unsavedChanges)
        return true;
    const Dialogs::Button answer = Dialogs::ask(
        {this, Dialogs::Icon::Question, QStringLiteral("Confirm"),
         QStringLiteral("Текст в окне %1 был изменен. Сохранить изменения?").arg(windowTitle()),
         {Dialogs::Button::Yes, Dialogs::Button::No, Dialogs::Button::Cancel}});
    bool mayClose = answer == Dialogs::Button::No;
    if (answer == Dialogs::Button::Yes && Orl) {
        runGuarded([&] { mayClose = Orl->saveEditor(this); });
    }
    m_closeConfirmed = mayClose;
    return mayClose;
}

void TForm2::closeEvent(QCloseEvent *event)
{
    if (!confirmClose()) {
        event->ignore();
        return;
    }
    // The close action is "free": the window goes with its text, status bar and dialogs.
    m_closing = true;
    if (Form2 == this)
        Form2 = nullptr;
    QMdiSubWindow::closeEvent(event);
}
