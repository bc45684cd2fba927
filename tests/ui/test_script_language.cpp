// The editor that knows mIRC script: what is typed and completed is saved byte for byte, the
// completion list following every key and Tab taking its entry, the formatting keys around a
// selection and the letters on their codes, the syntax tips and bracket marks, the brace check over
// a real script, the plain view of very large texts, and the dialog preview opened from the menu
// and from the designer.
#include "app/main_window.h"
#include "designer/dialog_designer_window.h"
#include "designer/dialog_preview_window.h"
#include "editor/script_assist.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"
#include "language/brace_scan.h"
#include "language/script_vocabulary.h"
#include "support/corpus_lines.h"
#include "support/program_test.h"
#include "support/test_env.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
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

    // An editor holding text, its window active and its text focused, as the user has it.
    static TForm2 *focusedEditor(const QString &text)
    {
        TForm2 *editor = TestEnv::newEditor();
        editor->Memo1->loadText(text);
        TestEnv::focusText(editor);
        return editor;
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

    void theCompletionListFollowsEveryKeyAndReplacesOnlyTheWordAtTheCaret()
    {
        TForm2 *editor = focusedEditor(u"alias a {\n  echo (x) done\n}"_qs);
        ScriptMemo *memo = editor->Memo1;
        ScriptAssist *assist = editor->Assist;
        memo->setSelStart(memo->lineStartOffset(1) + 7); // after "  echo "
        TestEnv::type(memo, u"$gett"_qs);
        QCOMPARE(assist->completionNames(), QStringList{u"$gettok"_qs});
        // Backspace: the list offers what fits "$ge" now; taking an entry replaces "ge" only.
        key(memo, Qt::Key_Backspace);
        key(memo, Qt::Key_Backspace);
        QVERIFY(assist->completionShown());
        QCOMPARE(assist->completionNames().mid(0, 4),
                 (QStringList{u"$get"_qs, u"$getdir"_qs, u"$getdot"_qs, u"$gettok"_qs}));
        key(memo, Qt::Key_Down);
        key(memo, Qt::Key_Return);
        QCOMPARE(memo->line(1), u"  echo $get(x) done"_qs);
        QVERIFY(!assist->completionShown());

        // A caret move inside the word refilters; Delete after the caret shortens the word taken.
        TestEnv::type(memo, u"to"_qs);
        QCOMPARE(assist->completionNames(), QStringList{u"$gettok"_qs});
        key(memo, Qt::Key_Left);
        key(memo, Qt::Key_Left);
        QCOMPARE(assist->completionNames().size(), 4); // what fits "$get" again
        key(memo, Qt::Key_Delete);
        QCOMPARE(memo->line(1), u"  echo $geto(x) done"_qs);
        key(memo, Qt::Key_Down);
        key(memo, Qt::Key_Return);
        QCOMPARE(memo->line(1), u"  echo $get(x) done"_qs);

        // Leaving the word closes the list; so does Escape, and nothing changes then.
        TestEnv::type(memo, u"t"_qs);
        QVERIFY(assist->completionShown());
        for (int i = 0; i < 5; ++i)
            key(memo, Qt::Key_Left);
        QVERIFY(!assist->completionShown());
        key(memo, Qt::Key_Return);
        QCOMPARE(memo->wholeText(), u"alias a {\r\n  echo \r\n$gett(x) done\r\n}"_qs);
    }

    void tabTakesTheCompletionAndTheFocusStaysInTheText()
    {
        TForm2 *editor = focusedEditor(u"alias a {\n\n}"_qs);
        ScriptMemo *memo = editor->Memo1;
        QCOMPARE(QApplication::focusWidget(), memo);
        memo->setSelStart(memo->lineStartOffset(1));
        TestEnv::type(memo, u"  ec"_qs);
        QCOMPARE(editor->Assist->completionNames(), QStringList{u"echo"_qs});
        key(memo, Qt::Key_Tab); // nothing chosen yet: the first entry
        QCOMPARE(memo->line(1), u"  echo"_qs);
        QVERIFY(!editor->Assist->completionShown());
        QCOMPARE(QApplication::focusWidget(), memo);
        // Return goes on in the text, where no palette row is appended.
        key(memo, Qt::Key_Return);
        QCOMPARE(memo->wholeText(), u"alias a {\r\n  echo\r\n\r\n}"_qs);
        // Ctrl+Space on a blank line of the body offers every command, the list not cut short.
        key(memo, Qt::Key_Space, Qt::ControlModifier);
        QCOMPARE(editor->Assist->completionNames().size(),
                 ScriptVocabulary::instance().entries(WordKind::Command).size());
        key(memo, Qt::Key_Escape);
        // Without the list Tab leaves the text, as it always did.
        key(memo, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != memo);
        QCOMPARE(memo->wholeText(), u"alias a {\r\n  echo\r\n\r\n}"_qs);
    }

    void formattingKeysWrapASelectionAndEachCodeShowsItsLetter()
    {
        TForm2 *editor = focusedEditor(u"say big word"_qs);
        ScriptMemo *memo = editor->Memo1;
        memo->setSelection(8, 12); // "word"
        key(memo, Qt::Key_B, Qt::ControlModifier);
        key(memo, Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(memo->wholeText(), u"say big \x02\x1Fword\x1F\x02"_qs);
        QCOMPARE(memo->SelText(), u"word"_qs);
        memo->undo();
        QCOMPARE(memo->wholeText(), u"say big \x02word\x02"_qs);
        memo->setSelection(4, 7); // "big"
        key(memo, Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(memo->wholeText(), u"say \x0F" "big \x02word\x02"_qs);
        memo->setSelStart(0); // with nothing selected a code goes in at the caret
        key(memo, Qt::Key_R, Qt::ControlModifier);
        key(memo, Qt::Key_I, Qt::ControlModifier);
        QCOMPARE(memo->wholeText(), u"\x16\x1Dsay \x0F" "big \x02word\x02"_qs);

        // The five codes look different on screen, the same code alike; the text stays as it is.
        memo->loadText(u"echo \x02\x1F\x16\x1D\x0F\x02"_qs);
        const QImage shot = memo->viewport()->grab().toImage();
        const auto plate = [&](int column) {
            const QRect at = memo->offsetRect(column);
            return shot.copy(QRect(at.topLeft(), QPoint(memo->offsetRect(column + 1).left() - 1, at.bottom())));
        };
        QSet<size_t> looks;
        for (int column = 5; column < 10; ++column) {
            const QImage image = plate(column);
            looks.insert(qHashBits(image.constBits(), image.sizeInBytes()));
        }
        QCOMPARE(looks.size(), 5);
        QCOMPARE(plate(10), plate(5));
        QCOMPARE(memo->wholeText(), u"echo \x02\x1F\x16\x1D\x0F\x02"_qs);
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
        // The command again brings that window to the front rather than opening another.
        Orl->DialogPreviewClick();
        QCOMPARE(Orl->findChildren<DialogPreviewWindow *>().size(), 1);
        QCOMPARE(Orl->findChild<DialogPreviewWindow *>(), fromMenu);
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

    // The designer's own code: previewed before it reaches the code box, complete without the "}" the
    // designer never writes, its list words accepted.
    void theDesignerPreviewsItsOwnCode()
    {
        Orl->N23Click();
        TForm5 *designer = Form5;
        designer->PreviewButton->click();
        auto *preview = designer->findChild<DialogPreviewWindow *>();
        QVERIFY(preview);
        QCOMPARE(preview->statusLabel()->text(), u"В коде ещё нет таблицы диалога: её начинает кнопка «Создать код Диалога»"_qs);
        designer->Edit1->setText(u"\"Built\""_qs);
        designer->E4->setText(u"90"_qs);
        designer->Edit5->setText(u"60"_qs);
        designer->Button11Click();
        QTRY_COMPARE_WITH_TIMEOUT(preview->model().span.name, u"new_table"_qs, 2000); // as the text appears
        designer->PreviewButton->click();
        QCOMPARE(designer->findChildren<DialogPreviewWindow *>().size(), 1);
        QCOMPARE(preview->dialogClient()->size(), QSize(90, 60));
        QVERIFY(preview->statusLabel()->text().contains(u"ещё не вставленного в код"_qs));
        QVERIFY2(preview->statusLabel()->text().endsWith(u"ошибок не найдено"_qs), qPrintable(preview->statusLabel()->text()));

        designer->Button28Click();
        designer->Button9->click(); // the text page, its alignment list at "Left"
        designer->LabelEdit->setText(u"Hi"_qs);
        designer->LabeledEdit10->setText(u"3"_qs);
        designer->Edit51->setText(u"5"_qs);
        designer->Edit52->setText(u"5"_qs);
        designer->Edit53->setText(u"40"_qs);
        designer->Edit54->setText(u"10"_qs);
        designer->ComboBox10->setCurrentIndex(0);
        designer->Button26Click();
        designer->Button28Click();
        QTRY_VERIFY_WITH_TIMEOUT(preview->dialogClient()->findChild<QWidget *>(u"control_3"_qs), 2000);
        QVERIFY(!preview->statusLabel()->text().contains(u"ещё не вставленного"_qs));
        QCOMPARE(preview->problemList()->count(), 0);
        designer->close();
    }
};

QTEST_MAIN(ScriptLanguageTest)
#include "test_script_language.moc"
