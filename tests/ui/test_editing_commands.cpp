// The "Форматирование" and "Поиск" commands on the active editor: clipboard, comment, indent,
// clear, and filling and opening the editor's own find and replace dialogs.
#include "app/main_window.h"
#include "editor/find_replace_dialogs.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"
#include "support/program_test.h"
#include "support/test_env.h"

#include <QAction>
#include <QClipboard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kIndent(32, QLatin1Char(' '));

void select(ScriptMemo *memo, qsizetype start, qsizetype length)
{
    memo->setSelStart(start);
    memo->setSelLength(length);
}

} // namespace

class EditingCommandsTest : public ProgramTest {
    Q_OBJECT
private:

    ScriptMemo *memoWith(const QString &textWithLf)
    {
        TForm2 *editor = TestEnv::newEditor();
        editor->Memo1->loadText(textWithLf);
        return editor->Memo1;
    }

    void typeInto(ScriptMemo *memo, const QString &text)
    {
        memo->setSelStart(memo->textLength());
        memo->setSelText(text);
    }

private slots:


    void withNoEditorOpenCommandsDoNothing()
    {
        for (QAction *command : {Orl->N11, Orl->N12, Orl->N13, Orl->N15, Orl->N16, Orl->N41, Orl->N43, Orl->N44})
            command->trigger();
        QVERIFY(dialogs->messages.isEmpty());
        QCOMPARE(Orl->MDIChildCount(), 0);
    }

    void commandsActOnTheActiveEditor()
    {
        ScriptMemo *first = memoWith(u"first"_qs);
        auto *firstEditor = Form2.data();
        ScriptMemo *second = memoWith(u"second"_qs);
        Form2 = firstEditor;
        Orl->N15->trigger();
        QCOMPARE(second->wholeText(), u"/* -==- */second"_qs);
        QCOMPARE(first->wholeText(), u"first"_qs);
        QCOMPARE(Form2->Memo1, second);
    }

    void copyPasteAndSelectAll()
    {
        ScriptMemo *memo = memoWith(u"echo hi\nsecond"_qs);
        QGuiApplication::clipboard()->setText(u"kept"_qs);
        Orl->N11->trigger(); // nothing selected copies nothing
        QCOMPARE(QGuiApplication::clipboard()->text(), u"kept"_qs);

        select(memo, 5, 2);
        Orl->N11->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), u"hi"_qs);

        Orl->N13->trigger();
        QCOMPARE(memo->SelText(), u"echo hi\r\nsecond"_qs);

        // Text that Windows-1251 cannot hold arrives as "?".
        QGuiApplication::clipboard()->setText(u"日本 ok Ж €"_qs);
        select(memo, 0, 4);
        Orl->N12->trigger();
        QCOMPARE(memo->wholeText(), u"?? ok Ж € hi\r\nsecond"_qs);
    }

    void comment_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qsizetype>("selStart");
        QTest::addColumn<qsizetype>("selLength");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<qsizetype>("caret");

        const auto row = [](const char *name, const QString &text, qsizetype selStart, qsizetype selLength,
                            const QString &expected, qsizetype caret) {
            QTest::newRow(name) << text << selStart << selLength << expected << caret;
        };
        row("selection inside a line", u"x echo hi y"_qs, 2, 7, u"x /* -=echo hi=- */ y"_qs, 19);
        row("nothing selected: the two marks at the caret", u"ab"_qs, 1, 0, u"a/* -==- */b"_qs, 11);
        row("lines wrapped as one block", u"a\nb\nc"_qs, 0, 4, u"/* -=a\r\nb=- */\r\nc"_qs, 14);
        row("empty editor", QString(), 0, 0, u"/* -==- */"_qs, 10);
    }

    void comment()
    {
        QFETCH(QString, text);
        QFETCH(qsizetype, selStart);
        QFETCH(qsizetype, selLength);
        QFETCH(QString, expected);
        QFETCH(qsizetype, caret);

        ScriptMemo *memo = memoWith(text);
        select(memo, selStart, selLength);
        Orl->N15->trigger();
        QCOMPARE(memo->wholeText(), expected);
        QCOMPARE(memo->SelStart(), caret);
        QCOMPARE(memo->SelLength(), qsizetype(0));
    }

    void indent_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qsizetype>("selStart");
        QTest::addColumn<qsizetype>("selLength");
        QTest::addColumn<int>("times");
        QTest::addColumn<QString>("expected");

        const QString lines = u"l0\nl1\nl2\nl3\nl4\nl5"_qs; // line k starts at offset 4k
        const QString i = kIndent;
        QTest::newRow("nothing selected: the caret's line only") << u"a\nbb\nc"_qs << qsizetype(4) << qsizetype(0) << 1
                                                                 << u"a\r\n"_qs + i + u"bb\r\nc"_qs;
        QTest::newRow("empty editor") << QString() << qsizetype(0) << qsizetype(0) << 1 << i;
        QTest::newRow("from inside line 2 to inside line 4")
            << lines << qsizetype(9) << qsizetype(8) << 1
            << u"l0\r\nl1\r\n"_qs + i + u"l2\r\n"_qs + i + u"l3\r\n"_qs + i + u"l4\r\nl5"_qs;
        QTest::newRow("ending after a line break takes the next line too")
            << lines << qsizetype(0) << qsizetype(8) << 1
            << i + u"l0\r\n"_qs + i + u"l1\r\n"_qs + i + u"l2\r\nl3\r\nl4\r\nl5"_qs;
        QTest::newRow("twice with nothing selected") << u"a\nb"_qs << qsizetype(3) << qsizetype(0) << 2
                                                     << u"a\r\n"_qs + i + i + u"b"_qs;
        QTest::newRow("last line") << lines << qsizetype(22) << qsizetype(0) << 1
                                   << u"l0\r\nl1\r\nl2\r\nl3\r\nl4\r\n"_qs + i + u"l5"_qs;
    }

    void indent()
    {
        QFETCH(QString, text);
        QFETCH(qsizetype, selStart);
        QFETCH(qsizetype, selLength);
        QFETCH(int, times);
        QFETCH(QString, expected);

        ScriptMemo *memo = memoWith(text);
        const QString before = memo->wholeText();
        select(memo, selStart, selLength);
        QSignalSpy changes(memo, &ScriptMemo::Change);
        for (int n = 0; n < times; ++n)
            Orl->N16->trigger();
        QCOMPARE(memo->wholeText(), expected);
        // The caret goes back to where the selection ended, not moved for the spaces.
        QCOMPARE(memo->SelStart(), selStart + selLength);
        QCOMPARE(memo->SelLength(), qsizetype(0));
        QVERIFY(memo->wordWrap());
        QCOMPARE(changes.size(), times);

        // Each indent is one step of undo.
        for (int n = 0; n < times; ++n)
            memo->undo();
        QCOMPARE(memo->wholeText(), before);
    }

    void clearAsksOnlyAboutModifiedText_data()
    {
        QTest::addColumn<Dialogs::Button>("answer");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Yes clears") << Dialogs::Button::Yes << QString();
        QTest::newRow("No keeps") << Dialogs::Button::No << u"text\r\nmore"_qs;
        QTest::newRow("Cancel keeps, silently") << Dialogs::Button::Cancel << u"text\r\nmore"_qs;
    }

    void clearAsksOnlyAboutModifiedText()
    {
        QFETCH(Dialogs::Button, answer);
        QFETCH(QString, expected);

        ScriptMemo *memo = memoWith(u"text"_qs);
        Orl->N41->trigger(); // never changed: nothing asked, nothing cleared
        QVERIFY(dialogs->messages.isEmpty());
        QCOMPARE(memo->wholeText(), u"text"_qs);

        typeInto(memo, u"\nmore"_qs);
        dialogs->answer(answer);
        Orl->N41->trigger();
        QCOMPARE(dialogs->messages.size(), 1);
        const Dialogs::Message &question = dialogs->messages.first();
        QCOMPARE(question.caption, u"Confirm"_qs);
        QCOMPARE(question.text, u"Текст в окне был изменен. Очистить редатор"_qs);
        QCOMPARE(question.icon, Dialogs::Icon::Question);
        QCOMPARE(question.buttons, (QList{Dialogs::Button::Yes, Dialogs::Button::No, Dialogs::Button::Cancel}));
        QCOMPARE(memo->wholeText(), expected);
        QVERIFY(dialogs->errors().isEmpty());
    }

    void clearAfterSaveStillAsksButNotAfterSaveAs()
    {
        QTemporaryDir dir;
        ScriptMemo *memo = memoWith(QString());
        typeInto(memo, u"edited"_qs);

        dialogs->chooseFile(dir.filePath(u"a.mrc"_qs));
        Orl->N6->trigger(); // "Сохранить" leaves the text marked as changed
        dialogs->clear();
        dialogs->answer(Dialogs::Button::No);
        Orl->N41->trigger();
        QCOMPARE(dialogs->messages.size(), 1);

        dialogs->clear();
        dialogs->chooseFile(dir.filePath(u"b.mrc"_qs));
        Orl->N7->trigger(); // "Сохранить как..." does not
        dialogs->clear();
        Orl->N41->trigger();
        QVERIFY(dialogs->messages.isEmpty());
        QCOMPARE(memo->wholeText(), u"edited"_qs);
    }

    void anUndoneEditStillCountsAsAChange()
    {
        TForm2 *editor = TestEnv::newEditor();
        ScriptMemo *memo = editor->Memo1;
        memo->setFocus();
        TestEnv::type(memo, u"alias x"_qs);
        QTest::keyClick(memo, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(memo->wholeText(), QString());
        // The text changed twice: the window still says so, and clearing still asks.
        QCOMPARE(editor->panelText(1), u"Редактирует"_qs);
        dialogs->answer(Dialogs::Button::No);
        Orl->N41->trigger();
        QCOMPARE(dialogs->messages.size(), 1);
    }

    void findFillsAndOpensTheEditorsFindDialog()
    {
        ScriptMemo *memo = memoWith(u"say abc now"_qs);
        auto *editor = qobject_cast<TForm2 *>(Form2.data());
        select(memo, 4, 3);
        Orl->N43->trigger();
        QCOMPARE(editor->FindDialog1->FindText(), u"abc"_qs);
        QVERIFY(editor->FindDialog1->isVisible());

        // Nothing selected empties the field.
        select(memo, 0, 0);
        Orl->N43->trigger();
        QCOMPARE(editor->FindDialog1->FindText(), QString());

        // A longer selection fills it with its first 255 characters.
        const QString longLine = QString(250, QLatin1Char('a')) + u"bcdefghij"_qs;
        memo->loadText(longLine);
        Orl->N13->trigger();
        Orl->N43->trigger();
        QCOMPARE(editor->FindDialog1->FindText(), longLine.left(255));
    }

    void replaceFillsTheReplacementAndKeepsTheTextToFind()
    {
        ScriptMemo *memo = memoWith(u"say abc now"_qs);
        auto *editor = qobject_cast<TForm2 *>(Form2.data());
        editor->ReplaceDialog1->setFindText(u"kept"_qs);
        select(memo, 4, 3);
        Orl->N44->trigger();
        QCOMPARE(editor->ReplaceDialog1->ReplaceText(), u"abc"_qs);
        QCOMPARE(editor->ReplaceDialog1->FindText(), u"kept"_qs);
        QVERIFY(editor->ReplaceDialog1->isVisible());
        QVERIFY(!editor->FindDialog1->isVisible());

        const QString longLine = QString(300, QLatin1Char('r'));
        memo->loadText(longLine);
        Orl->N13->trigger();
        Orl->N44->trigger();
        QCOMPARE(editor->ReplaceDialog1->ReplaceText().size(), 255);
    }
};

QTEST_MAIN(EditingCommandsTest)
#include "test_editing_commands.moc"
