// Scripts in UTF-8 and in Windows-1251 through the real windows: the encoding a file opens in and
// the panel that names it, saves byte for byte, typing every kind of character with the status
// column, "Кодировка" with its questions, and the fields whose text goes into a UTF-8 script.
#include "app/main_window.h"
#include "common/handler_guard.h"
#include "designer/dialog_designer_window.h"
#include "editor/find_replace_dialogs.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"
#include "editor/script_memo_accessible.h"
#include "support/designer_helpers.h"
#include "support/program_test.h"
#include "support/test_env.h"
#include "support/test_files.h"
#include "wizards/alias_creator_window.h"

#include <QAccessible>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using TestFiles::readFile;
using TestFiles::writeFile;

namespace {

const QString kEmoji = QString::fromUcs4(U"\U0001F600");

QString encodingShown(const TForm2 *window)
{
    // What the panel shows is what a screen reader reads.
    const QString description = QAccessible::queryAccessibleInterface(window->EncodingPanel)->text(QAccessible::Description);
    return description == window->EncodingPanel->text() ? description : u"<differs>"_qs;
}

} // namespace

class ScriptEncodingsTest : public ProgramTest {
    Q_OBJECT
private:
    void saveAs(const QString &file)
    {
        dialogs->chooseFile(file);
        runGuarded([] { Orl->N7Click(); });
    }

private slots:
    void filesOpenInTheirEncodingAndSaveByteForByte_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QString>("text");
        const QString mixed = u"; Привет, мир! Γειά σου, Ձեռք, 中文 ₽ ★ "_qs + kEmoji + u"\r\necho -a Ёж"_qs;
        QTest::newRow("UTF-8, emoji and mixed scripts") << mixed.toUtf8() << u"UTF-8"_qs << mixed;
        QTest::newRow("UTF-8 with the mark") << QByteArray("\xEF\xBB\xBF" + mixed.toUtf8()) << u"UTF-8 с BOM"_qs << mixed;
        QTest::newRow("Windows-1251") << "; \xCF\xF0\xE8\xE2\xE5\xF2\r\n\xA8\xE6"_qba << u"Windows-1251"_qs
                                      << u"; Привет\r\nЁж"_qs;
        QTest::newRow("ASCII") << "alias x { }"_qba << u"Windows-1251"_qs << u"alias x { }"_qs;
        QTest::newRow("the mark before Windows-1251") << "\xEF\xBB\xBF\xCF\xF0"_qba << u"Windows-1251"_qs << u"п»їПр"_qs;
    }

    void filesOpenInTheirEncodingAndSaveByteForByte()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, encoding);
        QFETCH(QString, text);
        writeFile(path(u"in.mrc"_qs), bytes);
        TForm2 *window = openFile(path(u"in.mrc"_qs));
        QCOMPARE(encodingShown(window), encoding);
        QCOMPARE(window->Memo1->wholeText(), text);
        saveAs(path(u"out.mrc"_qs));
        QCOMPARE(readFile(path(u"out.mrc"_qs)), bytes);
        // "Сохранить" writes the window's own file back as it came.
        runGuarded([] { Orl->N6Click(); });
        QCOMPARE(readFile(path(u"out.mrc"_qs)), bytes);
        QVERIFY(dialogs->errors().isEmpty());
    }

    void typingIntoAUtf8ScriptWritesEveryCharacter()
    {
        writeFile(path(u"hello.mrc"_qs), u"Привет\r\n"_qs.toUtf8());
        TForm2 *window = openFile(path(u"hello.mrc"_qs));
        ScriptMemo *memo = window->Memo1;
        memo->setSelStart(memo->textLength());
        TestEnv::type(memo, u"мир "_qs + kEmoji + u"★"_qs);
        // The column counts as QString counts: the emoji two.
        QCOMPARE(window->panelText(0), u"2:8"_qs);
        QTest::keyClick(memo, Qt::Key_Left);
        QTest::keyClick(memo, Qt::Key_Backspace);
        QCOMPARE(memo->line(1), u"мир ★"_qs);
        // A screen reader is told the emoji that went.
        const auto removed = ScriptMemoAccessible::changeEvent(memo);
        QCOMPARE(static_cast<QAccessibleTextRemoveEvent *>(removed.get())->textRemoved(), kEmoji);
        QTest::keyClick(memo, Qt::Key_Z, Qt::ControlModifier);
        runGuarded([] { Orl->N6Click(); });
        QCOMPARE(readFile(path(u"hello.mrc"_qs)), (u"Привет\r\nмир "_qs + kEmoji + u"★"_qs).toUtf8());

        // The find dialog keeps the emoji and finds it, in characters of the text.
        memo->setSelStart(0);
        QGuiApplication::clipboard()->setText(kEmoji);
        window->FindDialog1->FindEdit->clear();
        QTest::keySequence(window->FindDialog1->FindEdit, QKeySequence::Paste);
        QCOMPARE(window->FindDialog1->FindText(), kEmoji);
        window->FindDialog1->FindNextButton->click();
        QCOMPARE(memo->SelStart(), 12);
        QCOMPARE(memo->SelText(), kEmoji);
    }

    void aFileIsOpenedAgainInAnotherEncoding()
    {
        writeFile(path(u"utf8.mrc"_qs), u"Привет"_qs.toUtf8());
        TForm2 *window = openFile(path(u"utf8.mrc"_qs));
        TestEnv::type(window->Memo1, u"!"_qs);
        // A changed text is lost only when the user says so.
        dialogs->answer(Dialogs::Button::No);
        runGuarded([] { Orl->ReopenAsWindows1251->trigger(); });
        QCOMPARE(dialogs->messages.size(), 1);
        QVERIFY(dialogs->messages.first().text.contains(u"Windows-1251"_qs));
        QCOMPARE(window->Memo1->wholeText(), u"!Привет"_qs);
        dialogs->answer(Dialogs::Button::Yes);
        runGuarded([] { Orl->ReopenAsWindows1251->trigger(); });
        QCOMPARE(window->Memo1->wholeText(), u"РџСЂРёРІРµС‚"_qs);
        QCOMPARE(encodingShown(window), u"Windows-1251"_qs);
        QVERIFY(!window->hasUnsavedChanges() && !window->Memo1->Modified());
        runGuarded([] { Orl->ReopenAsUtf8->trigger(); });
        QCOMPARE(window->Memo1->wholeText(), u"Привет"_qs);
        QCOMPARE(encodingShown(window), u"UTF-8"_qs);

        // Bytes that are not UTF-8 are refused as such, and nothing changes.
        writeFile(path(u"cp1251.mrc"_qs), "ok \xCF\xF0\xE8"_qba);
        window = openFile(path(u"cp1251.mrc"_qs));
        dialogs->clear();
        runGuarded([] { Orl->ReopenAsUtf8->trigger(); });
        QCOMPARE(dialogs->errors().size(), 1);
        QVERIFY2(dialogs->errors().first().contains(u"UTF-8"_qs) && dialogs->errors().first().contains(u"3"_qs),
                 qPrintable(dialogs->errors().first()));
        QCOMPARE(window->Memo1->wholeText(), u"ok При"_qs);
        QCOMPARE(encodingShown(window), u"Windows-1251"_qs);
        // A new window has no file to read again.
        TestEnv::newEditor();
        emit Orl->EncodingMenu->aboutToShow();
        QVERIFY(!Orl->ReopenAsUtf8->isEnabled());
    }

    void aLargeFileIsReadInItsEncodingOnAThreadOfItsOwn()
    {
        // Large enough to be read on a thread of its own, where its encoding is found; one byte at
        // its end is no UTF-8.
        const QByteArray line = u"alias big { echo -a строка }\r\n"_qs.toUtf8();
        const QByteArray bytes = line.repeated(int((qint64(70) << 20) / line.size()));
        const QString file = path(u"big.mrc"_qs);
        writeFile(file, bytes + "\xFF");
        TForm2 *big = openFile(file);
        QVERIFY(big->Memo1->isLoading());
        QTRY_VERIFY_WITH_TIMEOUT(!big->Memo1->isLoading(), 30000);
        QCOMPARE(encodingShown(big), u"Windows-1251"_qs);
        const QString asWindows1251 = u"alias big { echo -a СЃС‚СЂРѕРєР° }"_qs;
        QCOMPARE(big->Memo1->line(0), asWindows1251);
        // As UTF-8 it is refused once read, and the window keeps its text.
        runGuarded([] { Orl->ReopenAsUtf8->trigger(); });
        QVERIFY(big->Memo1->isLoading());
        QTRY_VERIFY_WITH_TIMEOUT(!big->Memo1->isLoading(), 30000);
        QCOMPARE(dialogs->errors().size(), 1);
        QVERIFY(dialogs->errors().first().contains(QString::number(bytes.size())));
        QCOMPARE(big->Memo1->line(0), asWindows1251);
        // Without that byte it is UTF-8.
        writeFile(file, bytes);
        runGuarded([] { Orl->ReopenAsUtf8->trigger(); });
        QTRY_VERIFY_WITH_TIMEOUT(!big->Memo1->isLoading(), 30000);
        QCOMPARE(big->Memo1->line(0), u"alias big { echo -a строка }"_qs);
        QCOMPARE(encodingShown(big), u"UTF-8"_qs);
        QCOMPARE(dialogs->errors().size(), 1);
    }

    void aScriptIsSavedInAnotherEncoding()
    {
        TForm2 *window = TestEnv::newEditor();
        QCOMPARE(encodingShown(window), u"Windows-1251"_qs);
        TestEnv::type(window->Memo1, u"Привет "_qs);
        saveAs(path(u"a.mrc"_qs));
        QCOMPARE(readFile(path(u"a.mrc"_qs)), "\xCF\xF0\xE8\xE2\xE5\xF2 "_qba);
        emit Orl->EncodingMenu->aboutToShow();
        QVERIFY(Orl->SaveAsWindows1251->isChecked() && !Orl->SaveAsUtf8->isChecked());
        Orl->SaveAsUtf8->trigger();
        QVERIFY(Orl->SaveAsUtf8->isChecked() && !Orl->SaveAsWindows1251->isChecked());
        QCOMPARE(encodingShown(window), u"UTF-8"_qs);
        // The text is to be written anew: the window says so, and asks before it closes.
        QCOMPARE(window->panelText(1), u"Редактирует"_qs);
        QVERIFY(window->hasUnsavedChanges());
        TestEnv::type(window->Memo1, kEmoji + u"★"_qs);
        runGuarded([] { Orl->N6Click(); });
        QCOMPARE(readFile(path(u"a.mrc"_qs)), (u"Привет "_qs + kEmoji + u"★"_qs).toUtf8());
        Orl->SaveAsUtf8WithBom->trigger();
        runGuarded([] { Orl->N6Click(); });
        QCOMPARE(readFile(path(u"a.mrc"_qs)), "\xEF\xBB\xBF" + (u"Привет "_qs + kEmoji + u"★"_qs).toUtf8());

        // Windows-1251 lacks the emoji and the star: the question counts them, and No keeps them.
        dialogs->clear();
        dialogs->answer(Dialogs::Button::No);
        Orl->SaveAsWindows1251->trigger();
        QCOMPARE(dialogs->messages.size(), 1);
        QVERIFY2(dialogs->messages.first().text.contains(u": 2."_qs), qPrintable(dialogs->messages.first().text));
        QCOMPARE(encodingShown(window), u"UTF-8 с BOM"_qs);
        QVERIFY(Orl->SaveAsUtf8WithBom->isChecked() && !Orl->SaveAsWindows1251->isChecked());
        dialogs->answer(Dialogs::Button::Yes);
        Orl->SaveAsWindows1251->trigger();
        QCOMPARE(window->Memo1->wholeText(), u"Привет ??"_qs);
        runGuarded([] { Orl->N6Click(); });
        QCOMPARE(readFile(path(u"a.mrc"_qs)), "\xCF\xF0\xE8\xE2\xE5\xF2 ??"_qba);
        // A text Windows-1251 holds whole goes into it without a question.
        Orl->SaveAsUtf8->trigger();
        dialogs->clear();
        Orl->SaveAsWindows1251->trigger();
        QVERIFY(dialogs->messages.isEmpty());
        QCOMPARE(encodingShown(window), u"Windows-1251"_qs);
    }

    void fieldsKeepWhatTheirScriptCanHold()
    {
        // Fields writing into a UTF-8 script keep every character; into a Windows-1251 one, "?".
        TForm2 *cp1251 = TestEnv::newEditor();
        TForm2 *utf8 = TestEnv::newEditor();
        utf8->Memo1->document()->convertTo(ScriptEncoding::Utf8);
        QVERIFY(Orl->applyActiveEditorRule()); // as "Алиас" does before the creator shows
        TestEnv::type(Form3->AliasName, u"x★"_qs);
        QCOMPARE(Form3->AliasName->text(), u"x★"_qs);
        TestEnv::type(cp1251->FindDialog1->FindEdit, kEmoji);
        QCOMPARE(cp1251->FindDialog1->FindEdit->text(), u"?"_qs);
        TestEnv::type(utf8->ReplaceDialog1->ReplaceEdit, kEmoji);
        QCOMPARE(utf8->ReplaceDialog1->ReplaceText(), kEmoji);

        // The designer's code reaches the UTF-8 script whole.
        TForm5 *designer = DesignerHelpers::openDesigner();
        designer->Button18->click();
        designer->Edit1->clear();
        TestEnv::type(designer->Edit1, u"\"Настройки ★\""_qs);
        designer->Button11->click();
        QVERIFY(designer->Memo2->toPlainText().contains(u"Настройки ★"_qs));
        designer->Button28->click();
        designer->Button29->click();
        QVERIFY(utf8->Memo1->wholeText().contains(u"title \"Настройки ★\""_qs));
        QVERIFY(cp1251->Memo1->wholeText().isEmpty());
    }
};

QTEST_MAIN(ScriptEncodingsTest)
#include "test_script_encodings.moc"
