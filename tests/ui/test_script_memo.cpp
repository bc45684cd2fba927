// The editor's text control: offsets that count a line break as two characters, appending as a line,
// lossless text for every byte, and input that the code page cannot hold.
#include "editor/script_memo.h"
#include "editor/script_text.h"
#include "support/test_env.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QSignalSpy>
#include <QtTest>

class ScriptMemoTest : public QObject {
    Q_OBJECT
private slots:
    void offsetsCountLineBreaksAsTwoCharacters()
    {
        ScriptMemo memo;
        memo.loadText(u"ab\ncde\n\nf"_qs);
        QCOMPARE(memo.textLength(), qsizetype(memo.wholeText().size()));
        QCOMPARE(memo.wholeText(), u"ab\r\ncde\r\n\r\nf"_qs);
        const QString whole = memo.wholeText();
        // Every offset outside a CR LF pair is a place for the caret; inside one, the caret stands
        // before the pair.
        for (qsizetype offset = 0; offset <= whole.size(); ++offset) {
            memo.setSelStart(offset);
            const bool insideBreak = offset > 0 && whole.at(offset - 1) == u'\r';
            QCOMPARE(memo.SelStart(), insideBreak ? offset - 1 : offset);
        }
        memo.setSelStart(4);
        memo.setSelLength(5);
        QCOMPARE(memo.SelStart(), qsizetype(4));
        QCOMPARE(memo.SelLength(), qsizetype(5));
        QCOMPARE(memo.SelText(), u"cde\r\n"_qs);
        QCOMPARE(memo.CaretPos(), QPoint(0, 2));
    }

    void selTextReplacesTheSelectionAndLeavesTheCaretAfterIt()
    {
        ScriptMemo memo;
        memo.loadText(u"x echo hi y"_qs);
        memo.setSelStart(2);
        memo.setSelLength(7);
        memo.setSelText(u"A\r\nB"_qs);
        QCOMPARE(memo.wholeText(), u"x A\r\nB y"_qs);
        QCOMPARE(memo.SelLength(), qsizetype(0));
        QCOMPARE(memo.SelStart(), qsizetype(6));
    }

    void appendingAsALineFollowsTheTextsEnd()
    {
        ScriptMemo memo;
        memo.appendAsLine(u"on *:action:"_qs);
        QCOMPARE(memo.wholeText(), u"on *:action:\r\n"_qs);
        memo.loadText(u"abc"_qs);
        memo.setSelStart(1);
        memo.appendAsLine(u"x"_qs);
        QCOMPARE(memo.wholeText(), u"abc\r\nx"_qs);
        QCOMPARE(memo.SelStart(), memo.textLength()); // caret at the end of the added text
        memo.appendAsLine(u"two\r\nlines"_qs);
        QCOMPARE(memo.lineCount(), 4);
        QCOMPARE(memo.line(3), u"lines"_qs);
    }

    void oneCommandSignalsOneChangeAfterTheCaretMoved()
    {
        ScriptMemo memo;
        memo.loadText(u"abc"_qs);
        QSignalSpy spy(&memo, &ScriptMemo::Change);
        QPoint caretAtSignal;
        connect(&memo, &ScriptMemo::Change, &memo, [&] { caretAtSignal = memo.CaretPos(); });
        memo.appendAsLine(u"xy"_qs);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(caretAtSignal, QPoint(2, 1));
    }

    void loadingClearsModifiedAndEditingSetsIt()
    {
        ScriptMemo memo;
        memo.loadText(u"a"_qs);
        QVERIFY(!memo.Modified());
        memo.appendAsLine(u"b"_qs);
        QVERIFY(memo.Modified());
    }

    void everyByteValueSurvivesTheEditor()
    {
        QByteArray bytes;
        for (int b = 0; b < 256; ++b) {
            if (b != '\r' && b != '\n')
                bytes.append(char(b));
        }
        bytes += "\r\n\xA0\x98\x00x\r\n"_qba;
        ScriptMemo memo;
        memo.loadFile(bytes);
        QCOMPARE(memo.fileBytes(), bytes);
    }

    void largeTextsLoadAndSaveInPiecesWithProgress()
    {
        QString text;
        for (int i = 0; text.size() < 5'000'000; ++i)
            text += u"line %1 строка\n"_qs.arg(i);
        text.chop(1);
        ScriptMemo memo;
        memo.appendAsLine(u"old text"_qs);
        // Progress counts the text as the editor holds it, each line break two characters.
        const qint64 held = text.size() + text.count(u'\n');
        QList<qint64> loaded;
        memo.loadText(text, [&](qint64 done, qint64 total) {
            QCOMPARE(total, held);
            loaded.append(done);
        });
        QVERIFY(loaded.size() > 1);
        QCOMPARE(loaded.last(), held);
        QVERIFY(std::is_sorted(loaded.begin(), loaded.end()));
        QVERIFY(!memo.Modified());
        QVERIFY(!memo.isUndoAvailable()); // the old text cannot come back by undo
        QCOMPARE(memo.lineCount(), int(text.count(u'\n')) + 1);
        int saved = 0;
        QCOMPARE(memo.fileBytes([&](qint64, qint64) { ++saved; }), ScriptText::encodedText(text));
        QVERIFY(saved > 1);
    }

    void linesCanBeReadReplacedAndCleared()
    {
        ScriptMemo memo;
        memo.loadText(u"one\ntwo"_qs);
        memo.setLine(1, u"2"_qs);
        QCOMPARE(memo.wholeText(), u"one\r\n2"_qs);
        memo.clearLines();
        QCOMPARE(memo.lineCount(), 1);
        QCOMPARE(memo.wholeText(), QString());
    }

    void inputTheCodePageCannotHoldArrivesAsQuestionMarks()
    {
        ScriptMemo memo;
        memo.show();
        TestEnv::type(&memo, u"aж\u4E2D"_qs);
        QCOMPARE(memo.wholeText(), u"aж?"_qs);

        QMimeData pasted;
        pasted.setText(u"\u00E9\u20AC\u4E2D"_qs); // é has no byte; € has one
        memo.clear();
        QApplication::clipboard()->setText(pasted.text());
        memo.paste();
        QCOMPARE(memo.wholeText(), u"?€?"_qs);
        QCOMPARE(memo.fileBytes(), QByteArray("?\x88?"));
    }

    void reservedShortcutsAreLeftToTheMainWindow()
    {
        ScriptMemo::setReservedShortcuts({QKeySequence(Qt::CTRL | Qt::Key_K)});
        ScriptMemo memo;
        memo.loadText(u"keep this line"_qs);
        memo.show();
        memo.setFocus();
        QTest::keyClick(&memo, Qt::Key_K, Qt::ControlModifier);
        QCOMPARE(memo.wholeText(), u"keep this line"_qs);
    }
};

QTEST_MAIN(ScriptMemoTest)
#include "test_script_memo.moc"
