// Text entering the program's fields and editors: a character Windows-1251 lacks stands as one "?"
// (an emoji too), a line break pasted into a one-line field ends the pasted text there, and the
// designer's component box shows the text as it will be written.
#include "app/main_window.h"
#include "auxiliary/search_window.h"
#include "designer/dialog_designer_window.h"
#include "editor/find_replace_dialogs.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"
#include "support/designer_helpers.h"
#include "support/program_test.h"
#include "support/test_env.h"
#include "wizards/alias_creator_window.h"
#include "wizards/variable_creator_window.h"

#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using DesignerHelpers::openDesigner;

namespace {

const QString kEmoji = QString::fromUcs4(U"\U0001F600");

// One key press that types a whole character, as a keyboard or an input method delivers an emoji.
void typeCharacter(QWidget *widget, const QString &character)
{
    QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, character, Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, character, Qt::NoModifier);
}

void pasteInto(QWidget *widget, const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    QTest::keySequence(widget, QKeySequence::Paste);
}

// Every kind of one-line field a user types into, by name: designer, wizard and search-window fields.
QLineEdit *oneLineField(const QString &name)
{
    TForm5 *designer = Form5 ? Form5.data() : openDesigner();
    if (name == u"designer text")
        return designer->Edit7;
    if (name == u"designer id")
        return designer->Id1;
    if (name == u"designer coordinate")
        return designer->Edit9;
    if (name == u"alias name")
        return Form3->AliasName;
    if (name == u"variable")
        return Form4->Edit;
    if (name == u"search window")
        return Form8->Edit1;
    return nullptr;
}

} // namespace

class OneLineFieldsTest : public ProgramTest {
    Q_OBJECT
public:
    OneLineFieldsTest() : ProgramTest(ErrorBoxes::Forbidden) { }

private slots:

    void anEmojiInTheEditorBecomesOneQuestionMark()
    {
        TForm2 *editor = TestEnv::newEditor();
        TestEnv::type(editor->Memo1, u"x"_qs);
        typeCharacter(editor->Memo1, kEmoji);
        TestEnv::type(editor->Memo1, u"y"_qs);
        QCOMPARE(editor->Memo1->wholeText(), u"x?y"_qs);

        QGuiApplication::clipboard()->setText(u" a"_qs + kEmoji + kEmoji + u"b"_qs);
        Orl->N12->trigger();
        QCOMPARE(editor->Memo1->wholeText(), u"x?y a??b"_qs);
    }

    void anEmojiInAFieldBecomesOneQuestionMark_data()
    {
        QTest::addColumn<QString>("field");
        for (const char *name : {"designer text", "designer id", "alias name", "variable", "search window"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void anEmojiInAFieldBecomesOneQuestionMark()
    {
        QFETCH(QString, field);
        QLineEdit *edit = oneLineField(field);
        QVERIFY(edit);
        edit->clear();
        TestEnv::type(edit, u"x"_qs);
        typeCharacter(edit, kEmoji);
        TestEnv::type(edit, u"y"_qs);
        QCOMPARE(edit->text(), u"x?y"_qs);
        pasteInto(edit, kEmoji + u"é"_qs);
        QCOMPARE(edit->text(), u"x?y??"_qs);
        QCOMPARE(edit->cursorPosition(), 5);
    }

    void anEmojiInTheFindAndReplaceFieldsBecomesOneQuestionMark()
    {
        TForm2 *editor = TestEnv::newEditor();
        editor->Memo1->loadText(u"ax?yb"_qs);
        pasteInto(editor->FindDialog1->FindEdit, u"x"_qs + kEmoji + u"y"_qs);
        QCOMPARE(editor->FindDialog1->FindEdit->text(), u"x?y"_qs);
        QCOMPARE(editor->FindDialog1->FindText(), u"x?y"_qs);
        editor->FindDialog1->FindNextButton->click();
        QCOMPARE(editor->Memo1->SelText(), u"x?y"_qs);

        typeCharacter(editor->ReplaceDialog1->ReplaceEdit, kEmoji);
        QCOMPARE(editor->ReplaceDialog1->ReplaceText(), u"?"_qs);
        pasteInto(editor->ReplaceDialog1->FindEdit, kEmoji);
        QCOMPARE(editor->ReplaceDialog1->FindText(), u"?"_qs);
    }

    void aPastedLineBreakEndsThePastedText_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("kept");
        const auto rows = [](const char *field) {
            const QString name = QString::fromLatin1(field);
            QTest::addRow("%s, CR LF", field) << name << u"ab\r\ncd"_qs << u"XabY"_qs;
            QTest::addRow("%s, LF", field) << name << u"ab\ncd\nef"_qs << u"XabY"_qs;
            QTest::addRow("%s, lone CR", field) << name << u"ab\rcd"_qs << u"XabY"_qs;
            QTest::addRow("%s, break first", field) << name << u"\r\nab"_qs << u"XY"_qs;
        };
        for (const char *name : {"designer text", "designer id", "alias name", "variable", "search window"})
            rows(name);
        QTest::newRow("coordinate") << u"designer coordinate"_qs << u"1\n23"_qs << u"X1Y"_qs;
    }

    void aPastedLineBreakEndsThePastedText()
    {
        QFETCH(QString, field);
        QFETCH(QString, pasted);
        QFETCH(QString, kept);
        QLineEdit *edit = oneLineField(field);
        QVERIFY(edit);
        edit->setText(u"XY"_qs);
        edit->setCursorPosition(1);
        pasteInto(edit, pasted);
        QCOMPARE(edit->text(), kept);
        QCOMPARE(edit->cursorPosition(), kept.size() - 1);
        // Typing goes on at the caret, after the kept part.
        if (kept.size() < edit->maxLength()) {
            TestEnv::type(edit, u"z"_qs);
            QCOMPARE(edit->text(), kept.left(kept.size() - 1) + u"zY"_qs);
        }
    }

    void aPastedLineBreakReplacingASelectionKeepsTheRest()
    {
        QLineEdit *edit = openDesigner()->Edit7;
        edit->setText(u"\"old text\""_qs);
        edit->setSelection(1, 3);
        pasteInto(edit, u"new\nsecond line"_qs);
        QCOMPARE(edit->text(), u"\"new text\""_qs);
        // A text set by the program obeys the same rule.
        edit->setText(u"one\ntwo"_qs);
        QCOMPARE(edit->text(), u"one"_qs);
    }

    void aButtonTitlePastedWithALineBreakGivesOneControlLine()
    {
        TForm5 *designer = openDesigner();
        designer->Button1->click();
        designer->Edit7->clear();
        pasteInto(designer->Edit7, u"\"OK\"\r\n"_qs);
        designer->Id1->setText(u"1"_qs);
        designer->Button13->click();
        const QString line = designer->Memo2->toPlainText();
        QVERIFY2(!line.contains(u'\n') && !line.contains(u'\r'), qPrintable(line));
        QVERIFY2(line.startsWith(u"button \"OK\", 1, "_qs), qPrintable(line));
    }

    void componentBoxShowsTheTextAsItWillBeWritten()
    {
        TForm2 *editor = TestEnv::newEditor();
        TForm5 *designer = openDesigner();
        designer->Button18->click();
        designer->Edit1->clear();
        TestEnv::type(designer->Edit1, u"\"Caf"_qs);
        typeCharacter(designer->Edit1, u"é"_qs);
        typeCharacter(designer->Edit1, kEmoji);
        TestEnv::type(designer->Edit1, u"\""_qs);
        designer->Button11->click();
        const QString shown = designer->Memo2->toPlainText();
        QVERIFY2(shown.contains(u"title \"Caf??\""_qs), qPrintable(shown));
        designer->Button28->click();
        QVERIFY(designer->Memo1->wholeText().contains(u"title \"Caf??\""_qs));
        designer->Button29->click();
        QVERIFY(editor->Memo1->wholeText().contains(u"title \"Caf??\""_qs));
    }
};

QTEST_MAIN(OneLineFieldsTest)
#include "test_one_line_fields.moc"
