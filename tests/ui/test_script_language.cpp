// The editor that knows mIRC script: what is typed and completed is saved byte for byte, the
// syntax tips and bracket marks, the brace check over a real script, the plain view of very large
// texts, and the dialog preview opened from the menu and from the designer.
#include "app/main_window.h"
#include "designer/dialog_designer_window.h"
#include "designer/dialog_preview_window.h"
#include "editor/script_assist.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"
#include "language/brace_scan.h"
#include "support/corpus_lines.h"
#include "support/program_test.h"
#include "support/test_env.h"

#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

class ScriptLanguageTest : public ProgramTest {
    Q_OBJECT
private:
    static void key(QWidget *widget, Qt::Key k, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(widget, k, modifiers);
    }

private slots:
    void aCompletedScriptIsSavedExactlyAsTyped()
    {
        TForm2 *editor = TestEnv::newEditor();
        ScriptMemo *memo = editor->Memo1;
        memo->setFocus();
        TestEnv::type(memo, u"on *:text:*hi*:#: { /ha"_qs);
        // The catalogue's commands starting with "ha" are offered; nothing is taken until one is chosen.
        QVERIFY(editor->Assist->completionShown());
        QVERIFY(editor->Assist->completionNames().contains(u"hadd"_qs));
        const int hadd = int(editor->Assist->completionNames().indexOf(u"hadd"_qs));
        for (int i = 0; i <= hadd; ++i)
            key(memo, Qt::Key_Down);
        key(memo, Qt::Key_Return);
        QVERIFY(!editor->Assist->completionShown());
        // mIRC's bold code by its key, a character the code page lacks as "?", and Enter where
        // nothing is chosen.
        TestEnv::type(memo, u" -m seen $nick "_qs);
        key(memo, Qt::Key_B, Qt::ControlModifier);
        TestEnv::type(memo, u"жирный"_qs);
        key(memo, Qt::Key_B, Qt::ControlModifier);
        TestEnv::type(memo, u" \u263A }"_qs);
        key(memo, Qt::Key_Return);
        QVERIFY(!editor->Assist->completionShown());
        QTemporaryDir dir;
        const QString path = dir.filePath(u"typed.mrc"_qs);
        dialogs->chooseFile(path);
        Orl->N7Click();
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("on *:text:*hi*:#: { /hadd -m seen $nick \x02\xE6\xE8\xF0\xED\xFB\xE9\x02 ? }\r\n"));
    }

    void theAssistantGoesWhileItsTextControlIsStillWhole()
    {
        TForm2 *editor = TestEnv::newEditor();
        ScriptMemo *memo = editor->Memo1;
        memo->setFocus();
        TestEnv::type(memo, u"on *:text:*hi*:#: { /ha"_qs);
        QVERIFY(editor->Assist->completionShown());
        bool memoWhole = false;
        connect(editor->Assist, &QObject::destroyed, this,
                [&memoWhole, memo] { memoWhole = qobject_cast<ScriptMemo *>(memo) != nullptr; });
        editor->markSaved();
        editor->close();
        TestEnv::flushDeletes();
        QVERIFY(memoWhole);
    }

    void theSyntaxRowOfTheCommandAtTheCaretIsAtHand()
    {
        TForm2 *editor = TestEnv::newEditor();
        ScriptMemo *memo = editor->Memo1;
        memo->loadText(u"alias add { hadd -m table $1 $2 }"_qs);
        const qsizetype onHadd = memo->wholeText().indexOf(u"hadd"_qs) + 2;
        QCOMPARE(editor->Assist->tipRowsAt(onHadd), QStringList{u"hadd -smbczuN <name> <item> [data|&binvar]"_qs});
        QVERIFY(editor->Assist->tipRowsAt(memo->wholeText().indexOf(u"$1"_qs) + 1).size() >= 1);
        QVERIFY(editor->Assist->tipRowsAt(memo->wholeText().indexOf(u"table"_qs) + 1).isEmpty());
        // Ctrl+Space offers what fits the word at the caret, the first entry ready for Enter.
        memo->setFocus();
        memo->setSelStart(onHadd);
        key(memo, Qt::Key_Space, Qt::ControlModifier);
        QVERIFY(editor->Assist->completionShown());
        QCOMPARE(editor->Assist->completionNames().first(), u"hadd"_qs);
        key(memo, Qt::Key_Escape);
        QVERIFY(!editor->Assist->completionShown());
        QCOMPARE(memo->wholeText(), u"alias add { hadd -m table $1 $2 }"_qs);
    }

    void theBracketAtTheCaretShowsItsPartnerOrThatItHasNone()
    {
        TForm2 *editor = TestEnv::newEditor();
        ScriptMemo *memo = editor->Memo1;
        memo->loadText(u"alias a {\n  echo -a $calc(1 + 2)\n}\nalias b {"_qs);
        const QString text = memo->wholeText();
        memo->setSelStart(text.indexOf(u'{') + 1);
        QCOMPARE(memo->highlights().size(), 2);
        QCOMPARE(memo->highlights()[0].start, text.indexOf(u'{'));
        QCOMPARE(memo->highlights()[1].start, text.indexOf(u'}'));
        memo->setSelStart(text.indexOf(u'('));
        QCOMPARE(memo->highlights().size(), 2);
        QCOMPARE(memo->highlights()[1].start, text.indexOf(u')'));
        memo->setSelStart(text.size()); // after the last "{", which nothing closes
        QCOMPARE(memo->highlights().size(), 1);
        QCOMPARE(memo->highlights()[0].start, text.lastIndexOf(u'{'));
        memo->setSelStart(text.indexOf(u"echo"_qs));
        QVERIFY(memo->highlights().isEmpty());
    }

    void theBraceCheckNamesTheLineOfARemovedBrace()
    {
        const QStringList lines = CorpusLines::read(u"battlearena-skills.mrc"_qs);
        if (lines.isEmpty())
            QSKIP("corpus folder absent");
        TForm2 *editor = TestEnv::newEditor();
        ScriptMemo *memo = editor->Memo1;
        memo->loadText(lines.join(u'\n'));
        Orl->CheckBracesClick();
        QCOMPARE(dialogs->messages.size(), 1);
        QVERIFY2(dialogs->messages.last().text.startsWith(u"Все скобки на месте"_qs), qPrintable(dialogs->messages.last().text));

        // A "}" alone on its line, from the middle of the script, goes; the check names the line of
        // the "{" it closed.
        int removed = int(lines.size()) / 2;
        while (lines.at(removed) != u"}"_qs)
            ++removed;
        const BracketMatch opening = BraceScan::findPartner(StringListLines(lines), removed, 0);
        QCOMPARE(opening.status, BracketMatch::Matched);
        QStringList broken = lines;
        broken.removeAt(removed);
        memo->loadText(broken.join(u'\n'));
        Orl->CheckBracesClick();
        QCOMPARE(dialogs->messages.last().text, u"Скобка { в строке %1 не закрыта."_qs.arg(opening.line + 1));
        QCOMPARE(dialogs->messages.last().icon, Dialogs::Icon::Warning);
        QCOMPARE(memo->CaretPos().y(), opening.line); // the brace is selected for the user
        QCOMPARE(memo->SelText(), u"{"_qs);
    }

    void aVeryLargeTextIsShownPlainAndTheStatusBarSaysSo()
    {
        TForm2 *editor = TestEnv::newEditor();
        auto *note = editor->StatusBar1->findChild<QLabel *>(u"PlainNote"_qs);
        QVERIFY(note && note->isHidden());
        QVERIFY(editor->Assist->highlighting());
        QByteArray big;
        const QByteArray line = "on *:text:*:#: { msg $chan hello | inc %count }\r\n";
        big.reserve(ScriptAssist::kHighlightLimit + line.size());
        while (big.size() <= ScriptAssist::kHighlightLimit)
            big += line;
        editor->Memo1->loadFile(big);
        QVERIFY(!editor->Assist->highlighting());
        QVERIFY(!editor->Memo1->hasLineStyler());
        QVERIFY(!note->isHidden());
        QVERIFY(note->text().contains(u"10 МБ"_qs));
        editor->Memo1->loadText(u"alias small { }"_qs);
        QVERIFY(editor->Assist->highlighting());
        QVERIFY(note->isHidden());
    }

    void thePreviewOpensFromTheMenuAndFromTheDesigner()
    {
        TForm2 *editor = TestEnv::newEditor();
        editor->Memo1->loadText(u"alias x { }\ndialog greet {\n  title \"Hi\"\n  size -1 -1 100 50\n  button \"OK\", 1, 5 5 40 12, ok\n}"_qs);
        editor->Memo1->setSelStart(editor->Memo1->lineStartOffset(3));
        Orl->DialogPreviewClick();
        auto *fromMenu = Orl->findChild<DialogPreviewWindow *>();
        QVERIFY(fromMenu);
        QCOMPARE(fromMenu->followedName(), u"greet"_qs);
        QVERIFY(fromMenu->dialogClient()->findChild<QWidget *>(u"control_1"_qs));
        fromMenu->close();

        // The designer's code box: its table is shown wherever its caret stands.
        Orl->N23Click();
        TForm5 *designer = Form5;
        designer->Memo1->loadText(u"dialog built {\n  title \"B\"\n  size -1 -1 80 40\n}\n"_qs);
        designer->Memo1->setSelStart(designer->Memo1->textLength());
        designer->PreviewButton->click();
        auto *fromDesigner = designer->findChild<DialogPreviewWindow *>();
        QVERIFY(fromDesigner);
        QCOMPARE(fromDesigner->followedName(), u"built"_qs);
        fromDesigner->close();
        designer->close();
    }
};

QTEST_MAIN(ScriptLanguageTest)
#include "test_script_language.moc"
