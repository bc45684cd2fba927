// The find and replace dialogs of an editor window, and the search of an editor's document
// measured against the steps on the whole CR LF text.
#include "app/main_window.h"
#include "editor/find_replace_dialogs.h"
#include "editor/memo_search.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"
#include "support/program_test.h"
#include "support/test_env.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtTest>

using FindReplace::Direction;
using FindReplace::Options;
using FindReplace::Selection;

namespace {

void select(ScriptMemo *memo, qsizetype start, qsizetype length)
{
    memo->setSelStart(start);
    memo->setSelLength(length);
}

Selection selectionOf(const ScriptMemo *memo)
{
    return {memo->SelStart(), memo->SelLength()};
}

Options options(bool matchCase, bool wholeWord, Direction direction)
{
    Options o;
    o.matchCase = matchCase;
    o.wholeWord = wholeWord;
    o.direction = direction;
    return o;
}

} // namespace

class FindReplaceDialogsTest : public ProgramTest {
    Q_OBJECT
private:

    TForm2 *editorWith(const QString &textWithLf)
    {
        TForm2 *editor = TestEnv::newEditor();
        editor->Memo1->loadText(textWithLf);
        return editor;
    }

    bool notFoundShown(int count = 1) const
    {
        if (dialogs->messages.size() != count)
            return false;
        for (const Dialogs::Message &message : dialogs->messages) {
            if (message.caption != u"Текст не найден"_qs || message.text != u"Извините но текст не найден"_qs
                || message.icon != Dialogs::Icon::Information || message.buttons != QList{Dialogs::Button::Ok})
                return false;
        }
        return true;
    }

private slots:


    void documentSearchAgreesWithTheWholeTextSteps()
    {
        QRandomGenerator random(7);
        QStringList texts{QString(), u"alias x\nAlias y\n\nALIAS"_qs, u"привет Мир\nмир_ мир1 МИР\n"_qs,
                          u"on\non\non"_qs, u"a\n\n\nb a"_qs};
        const QString alphabet = u"aAя Я_\n"_qs;
        for (int i = 0; i < 4; ++i) {
            QString text;
            for (int k = 0; k < 60; ++k)
                text.append(alphabet[random.bounded(int(alphabet.size()))]);
            texts.append(text);
        }
        const QStringList needles{u"a"_qs, u"alias"_qs, u"МИР"_qs, u"on"_qs, u"\r\n"_qs, u"on\r\non"_qs,
                                  u"a\r\n\r\n"_qs, u"\n"_qs, u"\r"_qs, u"a\r"_qs, u"я я"_qs, QString()};

        TForm2 *editor = TestEnv::newEditor();
        ScriptMemo *memo = editor->Memo1;
        for (const QString &text : texts) {
            memo->loadText(text);
            const QString whole = memo->wholeText();
            for (const QString &needle : needles) {
                for (int flags = 0; flags < 8; ++flags) {
                    const Options o = options(flags & 1, flags & 2, flags & 4 ? Direction::Up : Direction::Down);
                    const QString where = QStringLiteral("text %1, needle %2, flags %3").arg(text, needle).arg(flags);
                    for (qsizetype offset = 0; offset <= memo->textLength(); ++offset) {
                        if (offset > 0 && whole.at(offset - 1) == u'\r')
                            continue; // the caret never stands inside a line break
                        for (qsizetype length : {0, 1, 3}) {
                            select(memo, offset, length);
                            const Selection selection = selectionOf(memo);
                            const auto expected = FindReplace::findStep(whole, selection, needle, o);
                            QVERIFY2(MemoSearch::findStep(*memo, needle, o) == expected, qPrintable(where));
                        }
                    }
                    // Replace All's occurrences.
                    QList<qsizetype> offsets;
                    for (const ScriptMemo::Range &range : MemoSearch::occurrences(*memo, needle, o))
                        offsets.append(range.start);
                    QVERIFY2(offsets == FindReplace::occurrences(whole, needle, o), qPrintable(where));
                }
            }
        }
    }

    void searchSeesTheTextAsItIsNow()
    {
        TForm2 *editor = editorWith(u"one two"_qs);
        ScriptMemo *memo = editor->Memo1;
        QVERIFY(!MemoSearch::findStep(*memo, u"three", {}));
        memo->setSelStart(memo->textLength());
        memo->setSelText(u" three"_qs);
        select(memo, 0, 0);
        QCOMPARE(MemoSearch::findStep(*memo, u"three", {}), (Selection{8, 5}));
        memo->undo();
        QVERIFY(!MemoSearch::findStep(*memo, u"three", {}));
        memo->loadText(u"three"_qs);
        QCOMPARE(MemoSearch::findStep(*memo, u"three", {}), (Selection{0, 5}));
    }

    void findNextSelectsSuccessiveMatchesThenShowsTheMessage()
    {
        TForm2 *editor = editorWith(u"echo a\nEcho b\nECHO c"_qs);
        ScriptMemo *memo = editor->Memo1;
        FindDialog *dialog = editor->FindDialog1;
        dialog->setFindText(u"echo"_qs);
        dialog->Execute();

        QList<Selection> selections;
        for (int press = 0; press < 3; ++press) {
            dialog->FindNextButton->click();
            selections.append(selectionOf(memo));
        }
        QCOMPARE(selections, (QList<Selection>{{0, 4}, {8, 4}, {16, 4}}));
        QVERIFY(dialogs->messages.isEmpty());
        QCOMPARE(memo->SelText(), u"ECHO"_qs);

        dialog->FindNextButton->click();
        QVERIFY(notFoundShown());
        QCOMPARE(selectionOf(memo), (Selection{16, 4}));
        QVERIFY(dialog->isVisible());

        // With match case on, only the exact spelling.
        dialog->MatchCaseBox->setChecked(true);
        select(memo, 0, 0);
        dialog->setFindText(u"Echo"_qs);
        dialog->FindNextButton->click();
        QCOMPARE(selectionOf(memo), (Selection{8, 4}));
    }

    void findNextHonoursWholeWord()
    {
        TForm2 *editor = editorWith(u"upon on_x\non"_qs);
        FindDialog *dialog = editor->FindDialog1;
        dialog->setFindText(u"on"_qs);
        dialog->WholeWordBox->setChecked(true);
        dialog->FindNextButton->click();
        QCOMPARE(selectionOf(editor->Memo1), (Selection{11, 2}));
        dialog->FindNextButton->click();
        QVERIFY(notFoundShown());
    }

    void findNextUpSearchesBackward()
    {
        TForm2 *editor = editorWith(u"alias\nalias x\nalias"_qs);
        ScriptMemo *memo = editor->Memo1;
        FindDialog *dialog = editor->FindDialog1;
        QVERIFY(dialog->DownButton->isChecked());
        dialog->UpButton->setChecked(true);
        dialog->setFindText(u"ALIAS"_qs);
        memo->setSelStart(memo->textLength());
        QList<qsizetype> starts;
        for (int press = 0; press < 3; ++press) {
            dialog->FindNextButton->click();
            starts.append(memo->SelStart());
        }
        QCOMPARE(starts, (QList<qsizetype>{16, 7, 0}));
        dialog->FindNextButton->click();
        QVERIFY(notFoundShown());
        QCOMPARE(selectionOf(memo), (Selection{0, 5}));
    }

    void aDialogKeepsWorkingOnItsOwnEditor()
    {
        TForm2 *first = editorWith(u"find me here"_qs);
        Orl->N43Click();
        FindDialog *dialog = first->FindDialog1;
        dialog->setFindText(u"here"_qs);

        TForm2 *second = editorWith(u"here and here"_qs);
        select(second->Memo1, 4, 1);
        QCOMPARE(Form2.data(), second);
        QCOMPARE(Orl->clientArea()->currentSubWindow(), second);

        dialog->FindNextButton->click();
        QCOMPARE(selectionOf(first->Memo1), (Selection{8, 4}));
        QCOMPARE(selectionOf(second->Memo1), (Selection{4, 1}));
        // The match is shown: its window comes forward, while Form2 stays as it was.
        QCOMPARE(Orl->clientArea()->currentSubWindow(), first);
        QCOMPARE(Form2.data(), second);
        QVERIFY(second->FindDialog1 != first->FindDialog1);
    }

    void replaceDialogFindNextSearchesWithItsOwnTextAndOptions()
    {
        TForm2 *editor = editorWith(u"Set set SET"_qs);
        editor->FindDialog1->setFindText(u"Set"_qs);
        ReplaceDialog *dialog = editor->ReplaceDialog1;
        dialog->setFindText(u"SET"_qs);
        dialog->MatchCaseBox->setChecked(true);
        dialog->FindNextButton->click();
        QCOMPARE(selectionOf(editor->Memo1), (Selection{8, 3}));
        QCOMPARE(editor->Memo1->wholeText(), u"Set set SET"_qs);
        dialog->FindNextButton->click();
        QVERIFY(notFoundShown());

        dialog->MatchCaseBox->setChecked(false);
        dialog->WholeWordBox->setChecked(true);
        dialog->setFindText(u"se"_qs);
        select(editor->Memo1, 0, 0);
        dialog->FindNextButton->click();
        QVERIFY(notFoundShown(2));
    }

    void replaceReplacesTheSelectionWhateverItHolds()
    {
        TForm2 *editor = editorWith(u"abc def"_qs);
        ScriptMemo *memo = editor->Memo1;
        ReplaceDialog *dialog = editor->ReplaceDialog1;
        dialog->setFindText(u"nothing like it"_qs);
        dialog->setReplaceText(u"XY"_qs);

        select(memo, 4, 3);
        dialog->ReplaceButton->click();
        QCOMPARE(memo->wholeText(), u"abc XY"_qs);
        QCOMPARE(selectionOf(memo), (Selection{6, 0}));
        QVERIFY(dialogs->messages.isEmpty());

        // Nothing is selected any more.
        dialog->ReplaceButton->click();
        QVERIFY(notFoundShown());
        QCOMPARE(memo->wholeText(), u"abc XY"_qs);

        // An empty replacement deletes the selection, line break included.
        memo->loadText(u"one\ntwo"_qs);
        select(memo, 2, 3);
        dialog->setReplaceText(QString());
        dialog->ReplaceButton->click();
        QCOMPARE(memo->wholeText(), u"ontwo"_qs);
    }

    void replaceAllReplacesEveryOccurrenceAsOneStep()
    {
        TForm2 *editor = editorWith(u"on bond\nON on_\nOn"_qs);
        ScriptMemo *memo = editor->Memo1;
        memo->setModified(false);
        ReplaceDialog *dialog = editor->ReplaceDialog1;
        dialog->setFindText(u"on"_qs);
        dialog->setReplaceText(u"off"_qs);
        dialog->WholeWordBox->setChecked(true);
        select(memo, 3, 1);

        QSignalSpy changes(memo, &ScriptMemo::Change);
        dialog->ReplaceAllButton->click();
        QCOMPARE(memo->wholeText(), u"off bond\r\noff on_\r\noff"_qs);
        QCOMPARE(changes.size(), 1);
        QVERIFY(memo->Modified());
        QCOMPARE(editor->panelText(1), u"Редактирует"_qs);
        QVERIFY(dialogs->messages.isEmpty());

        memo->undo();
        QCOMPARE(memo->wholeText(), u"on bond\r\nON on_\r\nOn"_qs);

        dialog->MatchCaseBox->setChecked(true);
        dialog->WholeWordBox->setChecked(false);
        dialog->ReplaceAllButton->click();
        QCOMPARE(memo->wholeText(), u"off boffd\r\nON off_\r\nOn"_qs);
    }

    void textPastedWithTheDesktopsLineBreaksIsFound()
    {
        // The clipboard holds LF breaks, also for text copied from the editor itself.
        TForm2 *editor = editorWith(u"alias a {\n  echo one\n}\nalias b {\n  echo one\n}"_qs);
        ScriptMemo *memo = editor->Memo1;
        select(memo, 0, 17);
        memo->copy();
        FindDialog *find = editor->FindDialog1;
        find->FindEdit->setFocus();
        find->FindEdit->paste();
        QCOMPARE(find->FindText(), u"alias a {\n  echo"_qs);
        select(memo, 0, 0);
        find->FindNextButton->click();
        QVERIFY(dialogs->messages.isEmpty());
        QCOMPARE(selectionOf(memo), (Selection{0, 17}));

        // A line break alone is found break after break; a text starting with one selects exactly it.
        find->setFindText(u"\n"_qs);
        select(memo, 0, 0);
        QList<qsizetype> breaks;
        for (int press = 0; press < 3; ++press) {
            find->FindNextButton->click();
            breaks.append(memo->SelStart());
        }
        QCOMPARE(breaks, (QList<qsizetype>{9, 21, 24}));
        QCOMPARE(memo->SelLength(), qsizetype(2));
        find->setFindText(u"\n  echo"_qs);
        select(memo, 0, 0);
        find->FindNextButton->click();
        QCOMPARE(memo->SelText(), u"\r\n  echo"_qs);

        // Replace All takes the same text, every line break of it as one of the text.
        ReplaceDialog *replace = editor->ReplaceDialog1;
        replace->setFindText(u"{\n  echo one\n}"_qs);
        replace->setReplaceText(u"{ echo two }"_qs);
        replace->ReplaceAllButton->click();
        QCOMPARE(memo->wholeText(), u"alias a { echo two }\r\nalias b { echo two }"_qs);
    }

    void replaceAllWithNothingToReplaceShowsTheMessage()
    {
        TForm2 *editor = editorWith(u"abc"_qs);
        ScriptMemo *memo = editor->Memo1;
        ReplaceDialog *dialog = editor->ReplaceDialog1;
        dialog->setReplaceText(u"x"_qs);
        QSignalSpy changes(memo, &ScriptMemo::Change);

        dialog->setFindText(u"zzz"_qs);
        dialog->ReplaceAllButton->click();
        QVERIFY(notFoundShown());

        dialog->setFindText(QString());
        dialog->ReplaceAllButton->click();
        QVERIFY(notFoundShown(2));

        QCOMPARE(memo->wholeText(), u"abc"_qs);
        QCOMPARE(changes.size(), 0);
        QVERIFY(!dialog->replaceAllChosen());
    }

    void fieldsHoldAtMost255Characters()
    {
        TForm2 *editor = TestEnv::newEditor();
        const QString longText = QString(200, QLatin1Char('a')) + QString(100, QLatin1Char('b'));
        editor->FindDialog1->setFindText(longText);
        QCOMPARE(editor->FindDialog1->FindText(), longText.left(255));
        editor->ReplaceDialog1->setFindText(longText);
        QCOMPARE(editor->ReplaceDialog1->FindText(), longText.left(255));
        editor->ReplaceDialog1->setReplaceText(longText);
        QCOMPARE(editor->ReplaceDialog1->ReplaceText(), longText.left(255));

        // Typing stops there too.
        editor->ReplaceDialog1->ReplaceEdit->clear();
        QTest::keyClicks(editor->ReplaceDialog1->ReplaceEdit, QString(260, QLatin1Char('z')));
        QCOMPARE(editor->ReplaceDialog1->ReplaceText().size(), 255);
    }

    void fieldsHoldWhatTheEditorCanHold()
    {
        // A character the editor's code page lacks could never be found, so it stands as "?".
        TForm2 *editor = editorWith(u"a?b"_qs);
        editor->FindDialog1->setFindText(u"a\u4e2db"_qs);
        QCOMPARE(editor->FindDialog1->FindText(), u"a?b"_qs);
        editor->FindDialog1->FindNextButton->click();
        QCOMPARE(selectionOf(editor->Memo1), (Selection{0, 3}));
    }

    void dialogsAreModelessOnePairPerWindowAndGoWithIt()
    {
        TForm2 *editor = TestEnv::newEditor();
        QPointer<FindDialog> find = editor->FindDialog1;
        QPointer<ReplaceDialog> replace = editor->ReplaceDialog1;
        QVERIFY(!find->isVisible());
        QVERIFY(!find->isModal());
        QVERIFY(!replace->isModal());
        QCOMPARE(find->Options().direction, Direction::Down);
        QVERIFY(!find->Options().matchCase && !find->Options().wholeWord);

        find->Execute();
        find->Execute();
        QVERIFY(find->isVisible());
        QCOMPARE(editor->FindDialog1, find.data());
        find->CloseButton->click();
        QVERIFY(!find->isVisible());
        find->Execute();
        QVERIFY(find->isVisible());

        editor->close();
        TestEnv::flushDeletes();
        QVERIFY(find.isNull());
        QVERIFY(replace.isNull());
    }
};

QTEST_MAIN(FindReplaceDialogsTest)
#include "test_find_replace_dialogs.moc"
