// The "Форматирование" and "Поиск" menus: commands on the text of the active editor window.
#include "app/main_window.h"
#include "common/dialog_seam.h"
#include "common/handler_guard.h"
#include "editor/find_replace_dialogs.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"
#include "language/brace_scan.h"


namespace {

const QString kCommentOpening = QStringLiteral("/* -=");
const QString kCommentClosing = QStringLiteral("=- */");
const QString kIndentUnit = QString(32, QLatin1Char(' '));
const QString kClearQuestion = QStringLiteral("Текст в окне был изменен. Очистить редатор");

} // namespace

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

void TOrl::N15Click()
{
    if (!applyActiveEditorRule())
        return;
    ScriptMemo *memo = Form2->Memo1;
    memo->setSelText(kCommentOpening + memo->SelText() + kCommentClosing);
}

void TOrl::N16Click()
{
    if (!applyActiveEditorRule())
        return;
    ScriptMemo *memo = Form2->Memo1;
    const qsizetype start = memo->SelStart();
    const qsizetype length = memo->SelLength();
    memo->setWordWrap(false);
    memo->setSelStart(start + length);
    const int caretLine = memo->CaretPos().y();
    const int firstLine = memo->lineOfOffset(start);

    // Every line from the one that held the selection's start to the caret's line gets the
    // indent in front, as one step.
    QList<ScriptMemo::Range> lineStarts;
    for (int line = firstLine; line <= caretLine; ++line)
        lineStarts.append({memo->lineStartOffset(line), 0});
    memo->replaceRanges(lineStarts, kIndentUnit);

    memo->setWordWrap(true);
    memo->setSelStart(start + length);
}

void TOrl::N41Click()
{
    if (!applyActiveEditorRule())
        return;
    ScriptMemo *memo = Form2->Memo1;
    if (!memo->Modified())
        return;
    const Dialogs::Button answer =
        Dialogs::ask({this, Dialogs::Icon::Question, QStringLiteral("Confirm"), kClearQuestion,
                      {Dialogs::Button::Yes, Dialogs::Button::No, Dialogs::Button::Cancel}});
    if (answer == Dialogs::Button::Cancel)
        throw SilentAbort();
    if (answer == Dialogs::Button::Yes)
        memo->clearLines();
}

void TOrl::N43Click()
{
    if (!applyActiveEditorRule())
        return;
    Form2->FindDialog1->setFindText(Form2->Memo1->SelText());
    Form2->FindDialog1->Execute();
}

void TOrl::N44Click()
{
    if (!applyActiveEditorRule())
        return;
    Form2->ReplaceDialog1->setReplaceText(Form2->Memo1->SelText());
    Form2->ReplaceDialog1->Execute();
}

namespace {

QString braceReport(const BraceCheck &check)
{
    const int line = check.line + 1;
    switch (check.status) {
    case BraceCheck::Balanced:
        return QStringLiteral("Все скобки на месте: каждой открывающей { есть закрывающая }.");
    case BraceCheck::UnexpectedClose:
        return QStringLiteral("Лишняя закрывающая скобка } в строке %1.").arg(line);
    case BraceCheck::UnclosedBrace:
        return QStringLiteral("Скобка { в строке %1 не закрыта.").arg(line);
    case BraceCheck::UnclosedParenthesis:
        return QStringLiteral("Скобка ( в строке %1 не закрыта в этой строке.").arg(line);
    }
    return {};
}

} // namespace

void TOrl::CheckBracesClick()
{
    if (!applyActiveEditorRule())
        return;
    ScriptMemo *memo = Form2->Memo1;
    const BraceCheck check = BraceScan::checkBraces(*memo);
    if (check.status != BraceCheck::Balanced) {
        // The caret goes to the brace, selected, so the user sees where to look.
        const qsizetype at = memo->lineStartOffset(check.line) + check.column;
        memo->setFocus();
        memo->setSelection(at, at + 1);
        memo->ensureCursorVisible();
    }
    Dialogs::ask({this, check.status == BraceCheck::Balanced ? Dialogs::Icon::Information : Dialogs::Icon::Warning,
                  QStringLiteral("Проверка скобок"), braceReport(check), {Dialogs::Button::Ok}});
}
