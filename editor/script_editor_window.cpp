#include "editor/script_editor_window.h"

#include "common/dialog_seam.h"
#include "common/fixed_layout.h"
#include "common/handler_guard.h"
#include "common/icons.h"
#include "common/long_task.h"
#include "editor/find_replace_dialogs.h"
#include "editor/memo_search.h"
#include "editor/script_assist.h"
#include "editor/script_memo.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QFontDatabase>
#include <QLabel>
#include <QMdiArea>
#include <QStatusBar>
#include <QVBoxLayout>

QPointer<TForm2> Form2;

namespace {

QFont scriptFont()
{
    // The layout was drawn for Fixedsys, a Windows bitmap face without Cyrillic letters outside
    // Russian Windows and without scaling; the TrueType fixed-width faces of every Windows stand in
    // for it, then those of Linux desktops (and of Wine), then the system's fixed-width face.
    QFont font;
    font.setFamilies({QStringLiteral("Consolas"), QStringLiteral("Courier New"), QStringLiteral("Lucida Console"),
                      QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono")});
    font.setStyleHint(QFont::TypeWriter);
    if (!QFontInfo(font).fixedPitch())
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(13);
    return font;
}

void showNotFound(QWidget *dialog)
{
    Dialogs::showInformation(dialog, FindReplace::kNotFoundCaption, FindReplace::kNotFoundText);
}

} // namespace

TForm2::TForm2(SaveStep save, QWidget *parent) : QMdiSubWindow(parent), m_save(std::move(save))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(applicationIcon());
    resize(706, 487);
    setFont(FixedLayout::pixelFont(QStringLiteral("MS Sans Serif"), 11));

    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Memo1 = new ScriptMemo(content);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setFont(scriptFont());
    Memo1->setAccessibleName(QStringLiteral("Текст скрипта"));
    layout->addWidget(Memo1);

    // The status bar and, at its right end, the encoding; the encoding is no panel of the bar's own,
    // so that the bar's last panel runs to the bar's edge as ever.
    auto *statusRow = new QWidget(content);
    auto *statusLayout = new QHBoxLayout(statusRow);
    statusLayout->setContentsMargins(0, 0, 0, 0);
    statusLayout->setSpacing(0);
    StatusBar1 = new QStatusBar(statusRow);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFixedHeight(19);
    StatusBar1->setSizeGripEnabled(false);
    // Panels 0 and 1 keep their widths; the last panel runs to the right edge.
    const int widths[3] = {50, 100, 50};
    const QString names[3] = {QStringLiteral("Строка и столбец"), QStringLiteral("Состояние"), QStringLiteral("Имя окна")};
    for (int i = 0; i < 3; ++i) {
        m_panels[i] = new QLabel(StatusBar1);
        m_panels[i]->setAccessibleName(names[i]);
        const bool last = i == 2;
        if (last)
            m_panels[i]->setMinimumWidth(widths[i]);
        else
            m_panels[i]->setFixedWidth(widths[i]);
        m_panels[i]->setFrameShape(QFrame::Panel);
        m_panels[i]->setFrameShadow(QFrame::Sunken);
        StatusBar1->addWidget(m_panels[i], last ? 1 : 0);
    }
    m_plainNote = new QLabel(QStringLiteral("Без подсветки: файл больше %1 МБ").arg(ScriptAssist::kHighlightLimit >> 20),
                             StatusBar1);
    m_plainNote->setObjectName(QStringLiteral("PlainNote"));
    m_plainNote->setAccessibleName(QStringLiteral("Подсветка синтаксиса"));
    m_plainNote->setAccessibleDescription(m_plainNote->text());
    StatusBar1->addPermanentWidget(m_plainNote);
    statusLayout->addWidget(StatusBar1, 1);
    EncodingPanel = new QLabel(statusRow);
    EncodingPanel->setObjectName(QStringLiteral("EncodingPanel"));
    EncodingPanel->setAccessibleName(QStringLiteral("Кодировка"));
    EncodingPanel->setFrameShape(QFrame::Panel);
    EncodingPanel->setFrameShadow(QFrame::Sunken);
    EncodingPanel->setFixedHeight(19);
    EncodingPanel->setAlignment(Qt::AlignCenter);
    EncodingPanel->setMinimumWidth(EncodingPanel->fontMetrics().horizontalAdvance(
                                       ScriptText::encodingName(ScriptEncoding::Utf8WithBom)) + 12);
    statusLayout->addWidget(EncodingPanel);
    layout->addWidget(statusRow);
    setWidget(content);
    setFocusProxy(Memo1);

    Memo1->setLineNumbersShown(true);
    Memo1->setCurrentLineMarked(true);
    Assist = new ScriptAssist(Memo1);
    m_plainNote->setVisible(!Assist->highlighting());
    connect(Assist, &ScriptAssist::highlightingChanged, m_plainNote, [this](bool on) { m_plainNote->setVisible(!on); });

    onSignal(Memo1, &ScriptMemo::Change, this, [this] { Memo1Change(); });
    showEncoding();
    onSignal(Memo1->document(), &ScriptDocument::encodingChanged, this, [this] { showEncoding(); });

    FindDialog1 = new FindDialog(this);
    ReplaceDialog1 = new ReplaceDialog(this);
    // The fields keep what the text can hold: in a UTF-8 text, every character.
    const auto repertoire = [this] {
        return Memo1->document()->isUtf8() ? FieldText::Repertoire::Unicode : FieldText::Repertoire::Windows1251;
    };
    FindDialog1->setRepertoire(repertoire);
    ReplaceDialog1->setRepertoire(repertoire);
    onSignal(FindDialog1, &FindDialog::Find, this, [this] { FindDialog1Find(); });
    onSignal(ReplaceDialog1, &ReplaceDialog::Find, this, [this] { ReplaceDialog1Find(); });
    onSignal(ReplaceDialog1, &ReplaceDialog::Replace, this, [this] { ReplaceDialog1Replace(); });
}

TForm2::~TForm2()
{
    // The assistant follows the text control's signals and events: it goes while the control is
    // still whole, not among the control's children once the control is half taken down.
    delete Assist;
    Assist = nullptr;
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

void TForm2::setPanelText(int panel, const QString &text)
{
    m_panels[panel]->setText(text);
    // A screen reader reads the panel's name and then what it shows.
    m_panels[panel]->setAccessibleDescription(text);
}

void TForm2::showEncoding()
{
    const QString name = ScriptText::encodingName(Memo1->document()->encoding());
    EncodingPanel->setText(name);
    EncodingPanel->setAccessibleDescription(name);
}

void TForm2::Memo1Change()
{
    const QPoint caret = Memo1->CaretPos();
    setPanelText(0, QStringLiteral("%1:%2").arg(caret.y() + 1).arg(caret.x() + 1));
    setPanelText(2, windowTitle());
    setPanelText(1, Memo1->Modified() ? QStringLiteral("Редактирует") : QString());
    m_unsavedChanges = true;
}

void TForm2::FormActivate()
{
    setPanelText(2, windowTitle());
}

void TForm2::setFileName(const QString &fileName)
{
    m_fileName = fileName;
    // The caption and the name panel show the file that "Сохранить" writes.
    setWindowTitle(fileName);
    setPanelText(2, fileName);
}

void TForm2::FindDialog1Find()
{
    selectFound(MemoSearch::findStep(*Memo1, FindDialog1->FindText(), FindDialog1->Options()), FindDialog1);
}

void TForm2::ReplaceDialog1Find()
{
    selectFound(MemoSearch::findStep(*Memo1, ReplaceDialog1->FindText(), ReplaceDialog1->Options()), ReplaceDialog1);
}

void TForm2::ReplaceDialog1Replace()
{
    if (ReplaceDialog1->replaceAllChosen()) {
        const QList<ScriptMemo::Range> found =
            MemoSearch::occurrences(*Memo1, ReplaceDialog1->FindText(), ReplaceDialog1->Options());
        if (found.isEmpty())
            showNotFound(ReplaceDialog1);
        else
            Memo1->replaceRanges(found, ReplaceDialog1->ReplaceText());
        return;
    }
    const auto replacement =
        FindReplace::replaceStep({Memo1->SelStart(), Memo1->SelLength()}, ReplaceDialog1->ReplaceText());
    if (replacement)
        Memo1->setSelText(replacement->text);
    else
        showNotFound(ReplaceDialog1);
}

void TForm2::selectFound(const std::optional<FindReplace::Selection> &found, SearchDialog *dialog)
{
    if (!found) {
        showNotFound(dialog);
        return;
    }
    // The match is shown in this window even when another editor has become the active one.
    if (mdiArea() && mdiArea()->currentSubWindow() != this)
        mdiArea()->setActiveSubWindow(this);
    Memo1->setFocus();
    Memo1->setSelStart(found->start);
    Memo1->setSelLength(found->length);
}

bool TForm2::confirmClose()
{
    if (m_closeConfirmed || !m_unsavedChanges)
        return true;
    const Dialogs::Button answer = Dialogs::ask(
        {this, Dialogs::Icon::Question, QStringLiteral("Подтверждение"),
         QStringLiteral("Текст в окне %1 был изменен. Сохранить изменения?").arg(windowTitle()),
         {Dialogs::Button::Yes, Dialogs::Button::No, Dialogs::Button::Cancel}});
    bool mayClose = answer == Dialogs::Button::No;
    if (answer == Dialogs::Button::Yes && m_save)
        runGuarded([&] { mayClose = m_save(this); });
    m_closeConfirmed = mayClose;
    return mayClose;
}

void TForm2::closeEvent(QCloseEvent *event)
{
    if (LongTask::running() || !confirmClose()) {
        event->ignore();
        return;
    }
    // The close action is "free": the window goes with its text, status bar and dialogs.
    m_closing = true;
    if (Form2 == this)
        Form2 = nullptr;
    QMdiSubWindow::closeEvent(event);
}
