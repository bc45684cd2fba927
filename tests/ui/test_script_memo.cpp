// The editor's text control: offsets that count a line break as two characters, appending as a line,
// lossless text for every byte, and input that the code page cannot hold.
#include "editor/memo_layout.h"
#include "editor/script_document.h"
#include "editor/script_memo.h"
#include "editor/script_text.h"
#include "support/test_env.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QUrl>
#include <QWheelEvent>
#include <QMimeData>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

namespace {

// Drops reach a widget only in a real drag, which cannot run offscreen: the test hands them to the
// handler itself, as coming from source.
struct DroppableMemo : ScriptMemo {
    void drop(QDropEvent *event) { dropEvent(event); }
    QObject *dropSource(const QDropEvent *) const override { return source; }
    QObject *source = nullptr;
};

} // namespace

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
        // A lone CR at the end of the text is a line break of its own, not half of the one added.
        memo.appendAsLine(u"end\r"_qs);
        QCOMPARE(memo.wholeText(), u"abc\r\nx\r\ntwo\r\nlines\r\nend\r\n"_qs);
        QCOMPARE(memo.lineCount(), 6);
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

    void keysMoveTheCaretAndEditAsInOtherEditors()
    {
        ScriptMemo memo;
        memo.resize(400, 200);
        memo.show();
        memo.loadText(u"ab\ncd\nef"_qs);
        memo.setFocus();
        const auto key = [&](Qt::Key k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(&memo, k, m); };
        key(Qt::Key_Right);
        key(Qt::Key_Right);
        QCOMPARE(memo.SelStart(), qsizetype(2));
        key(Qt::Key_Right); // over the line break in one step
        QCOMPARE(memo.SelStart(), qsizetype(4));
        key(Qt::Key_Left);
        QCOMPARE(memo.SelStart(), qsizetype(2));
        key(Qt::Key_Down); // the column is kept
        QCOMPARE(memo.CaretPos(), QPoint(2, 1));
        key(Qt::Key_Home);
        QCOMPARE(memo.CaretPos(), QPoint(0, 1));
        key(Qt::Key_End, Qt::ShiftModifier);
        QCOMPARE(memo.SelText(), u"cd"_qs);
        key(Qt::Key_Backspace); // the selection goes
        QCOMPARE(memo.wholeText(), u"ab\r\n\r\nef"_qs);
        key(Qt::Key_Backspace); // at a line's start: the line break goes, whole
        QCOMPARE(memo.wholeText(), u"ab\r\nef"_qs);
        key(Qt::Key_Return);
        QCOMPARE(memo.wholeText(), u"ab\r\n\r\nef"_qs);
        key(Qt::Key_End, Qt::ControlModifier);
        TestEnv::type(&memo, u"xyz"_qs);
        key(Qt::Key_Delete); // at the end: nothing
        QCOMPARE(memo.wholeText(), u"ab\r\n\r\nefxyz"_qs);
        // Typing is undone as one run; undo and redo each count as a change of the text.
        memo.setModified(false);
        key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(memo.wholeText(), u"ab\r\n\r\nef"_qs);
        QVERIFY(memo.Modified());
        memo.redo();
        QCOMPARE(memo.wholeText(), u"ab\r\n\r\nefxyz"_qs);
        QCOMPARE(memo.SelStart(), memo.textLength());
    }

    void wordKeysSelectionsAndTheEdgesOfTheText()
    {
        ScriptMemo memo;
        memo.resize(400, 200);
        memo.show();
        memo.loadText(u"alias привет {\n  echo hi\n}"_qs);
        memo.setFocus();
        const auto key = [&](Qt::Key k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(&memo, k, m); };
        key(Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(memo.SelStart(), qsizetype(6));
        // With a selection, Left goes to its start and Right to its end, and the selection goes.
        key(Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(memo.SelText(), u"привет {"_qs);
        key(Qt::Key_Left);
        QCOMPARE(memo.SelLength(), qsizetype(0));
        QCOMPARE(memo.SelStart(), qsizetype(6));
        key(Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
        key(Qt::Key_Right);
        QCOMPARE(memo.SelLength(), qsizetype(0));
        QCOMPARE(memo.SelStart(), qsizetype(6));
        // Up on the first line and Down on the last leave the caret where it is.
        key(Qt::Key_Up);
        QCOMPARE(memo.SelStart(), qsizetype(6));
        memo.setSelStart(memo.lineStartOffset(2));
        key(Qt::Key_Down);
        QCOMPARE(memo.CaretPos(), QPoint(0, 2));
        // From a line's start Ctrl+Left goes to the end of the line before; Ctrl+Backspace there
        // takes the line break only, and Ctrl+Delete at a line's end the same.
        key(Qt::Key_Left, Qt::ControlModifier);
        QCOMPARE(memo.CaretPos(), QPoint(9, 1));
        key(Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(memo.line(1), u"  echo hi}"_qs);
        memo.setSelStart(memo.lineStartOffset(1));
        key(Qt::Key_Backspace, Qt::ControlModifier);
        QCOMPARE(memo.wholeText(), u"alias привет {  echo hi}"_qs);
        key(Qt::Key_Backspace, Qt::ControlModifier);
        QCOMPARE(memo.wholeText(), u"alias   echo hi}"_qs);
    }

    void theContextMenuGivesEachItemItsOwnLetter()
    {
        ScriptMemo memo;
        memo.show();
        memo.setFocus();
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5), memo.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&memo, &event);
        auto *menu = memo.findChild<QMenu *>();
        QVERIFY(menu);
        QStringList letters;
        for (const QAction *action : menu->actions()) {
            const qsizetype amp = action->text().indexOf(u'&');
            if (!action->isSeparator())
                letters.append(amp < 0 ? QString() : action->text().mid(amp + 1, 1).toLower());
        }
        QCOMPARE(letters.size(), 7);
        QCOMPARE(QSet<QString>(letters.begin(), letters.end()).size(), letters.size());
        QVERIFY(!letters.contains(QString()));
        menu->close();
    }

    void theMouseSetsTheCaretAndSelects()
    {
        ScriptMemo memo;
        memo.resize(400, 200);
        memo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&memo));
        memo.loadText(u"alias hello {\n  echo -a world\n}"_qs);
        QWidget *view = memo.viewport();
        const qsizetype echo = memo.wholeText().indexOf(u"echo"_qs);
        const QPoint atEcho = memo.offsetRect(echo).center() + QPoint(1, 0);
        QTest::mouseClick(view, Qt::LeftButton, {}, atEcho);
        QCOMPARE(memo.SelStart(), echo);
        QCOMPARE(memo.offsetAt(atEcho), echo);
        // A drag from there to the end of "world" selects what lies between.
        const qsizetype worldEnd = memo.wholeText().indexOf(u"world"_qs) + 5;
        QTest::mousePress(view, Qt::LeftButton, {}, atEcho);
        QTest::mouseMove(view, memo.offsetRect(worldEnd).center());
        QTest::mouseRelease(view, Qt::LeftButton, {}, memo.offsetRect(worldEnd).center());
        QCOMPARE(memo.SelText(), u"echo -a world"_qs);
        // A double click selects the word.
        QTest::mouseDClick(view, Qt::LeftButton, {}, memo.offsetRect(echo + 2).center());
        QCOMPARE(memo.SelText(), u"echo"_qs);
    }

    void wrappedAndHugeLinesAreLaidOutRowByRow()
    {
        ScriptMemo memo;
        memo.resize(300, 200);
        memo.show();
        // One line of 50,000 characters: it is shown, walked and edited without laying it out whole.
        const QString huge = QString(50'000, u'x');
        memo.loadText(huge + u"\nlast"_qs);
        QVERIFY(!memo.grab().isNull());
        memo.setFocus();
        QTest::keyClick(&memo, Qt::Key_Down);
        const qsizetype firstRowEnd = memo.SelStart();
        QVERIFY(firstRowEnd > 0 && firstRowEnd < 200); // the second row of the wrapped line
        QTest::keyClick(&memo, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(memo.CaretPos(), QPoint(4, 1));
        memo.setWordWrap(false);
        memo.setSelStart(30'000);
        memo.ensureCursorVisible();
        QVERIFY(memo.horizontalScrollBar()->value() > 0);
        QVERIFY(memo.offsetRect(30'000).isValid());
        TestEnv::type(&memo, u"!"_qs);
        QCOMPARE(memo.line(0).size(), huge.size() + 1);
    }

    void layoutNeverCutsASurrogatePair()
    {
        // Emoji across every cut the layout makes: its segments of a line, a long line's plain
        // segments and its wrapped rows all keep each pair whole.
        const QString emoji = QString::fromUcs4(U"\U0001F600");
        QString wrapped;
        for (int i = 0; i < 3000; ++i)
            wrapped += emoji + u"a"_qs;
        ScriptDocument document;
        document.loadFile((QString(4095, u'a') + emoji + u"b\r\n"_qs + QString(4095, u'a') + emoji
                           + QString(20'000, u'b') + u"\r\n"_qs + wrapped + wrapped + wrapped + wrapped + wrapped)
                              .toUtf8());
        QCOMPARE(document.encoding(), ScriptEncoding::Utf8);
        for (bool wrap : {false, true}) {
            MemoLayout layout(document);
            layout.setFont(QFont(u"Monospace"_qs));
            layout.setWidth(333);
            layout.setWrap(wrap);
            for (int line = 0; line < document.lineCount(); ++line) {
                const QString text = document.line(line);
                const MemoLayout::LineLayout &laid = layout.layoutOf(line);
                for (int start : laid.segmentStarts)
                    QVERIFY2(!text[start].isLowSurrogate(), qPrintable(u"line %1, segment at %2"_qs.arg(line).arg(start)));
                for (const MemoLayout::LineLayout::RowInfo &row : laid.rows)
                    QVERIFY2(!text[row.startColumn].isLowSurrogate(),
                             qPrintable(u"line %1, row at %2"_qs.arg(line).arg(row.startColumn)));
            }
        }
    }

    void theMouseAndTheViewMoveAsInOtherEditors()
    {
        // A real drag cannot run offscreen: the test drops as the drag would, from the memo itself.
        DroppableMemo memo;
        memo.source = &memo;
        memo.resize(300, 200);
        memo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&memo));
        QWidget *view = memo.viewport();
        const auto at = [&](qsizetype offset) { return memo.offsetRect(offset).center() + QPoint(1, 0); };

        // Dragging a selection within the text moves it; dropping it onto itself changes nothing.
        memo.loadText(u"alpha beta gamma\ndelta"_qs);
        memo.setSelection(6, 10);
        QMimeData dragged;
        dragged.setText(u"beta"_qs);
        QDropEvent move(at(memo.lineStartOffset(1) + 3), Qt::CopyAction | Qt::MoveAction, &dragged, Qt::LeftButton, {});
        move.setDropAction(Qt::MoveAction);
        memo.drop(&move);
        QCOMPARE(memo.wholeText(), u"alpha  gamma\r\ndelbetata"_qs);
        QCOMPARE(memo.SelText(), u"beta"_qs);
        QVERIFY(move.dropAction() != Qt::MoveAction); // nothing more for the dragging side to remove
        QDropEvent self(at(memo.SelStart() + 2), Qt::CopyAction | Qt::MoveAction, &dragged, Qt::LeftButton, {});
        self.setDropAction(Qt::MoveAction);
        memo.drop(&self);
        QVERIFY(!self.isAccepted());
        QCOMPARE(memo.wholeText(), u"alpha  gamma\r\ndelbetata"_qs);
        QVERIFY(memo.undo());
        QCOMPARE(memo.wholeText(), u"alpha beta gamma\r\ndelta"_qs);

        // A click soon after a double click selects the line only where it lands near the double click.
        QTest::mouseDClick(view, Qt::LeftButton, {}, at(8));
        QTest::mouseClick(view, Qt::LeftButton, {}, at(8));
        QCOMPARE(memo.SelText(), u"alpha beta gamma\r\n"_qs);
        QTest::mouseDClick(view, Qt::LeftButton, {}, at(8));
        QTest::mouseClick(view, Qt::LeftButton, {}, at(memo.lineStartOffset(1) + 3));
        QCOMPARE(memo.SelLength(), qsizetype(0));
        QCOMPARE(memo.SelStart(), memo.lineStartOffset(1) + 3);

        // The wheel scrolls a line wrapped into many rows by rows, and the scroll bar reaches each.
        QString words;
        while (words.size() < 6000)
            words += u"слово word "_qs;
        memo.loadText(words + u"\nlast"_qs);
        QWheelEvent wheel(QPointF(50, 50), view->mapToGlobal(QPointF(50, 50)), {}, QPoint(0, -120), Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &wheel);
        QCOMPARE(memo.firstVisibleLine(), 0);
        QCOMPARE(memo.firstVisibleRow(), QApplication::wheelScrollLines());
        memo.verticalScrollBar()->setValue(40);
        QCOMPARE(memo.firstVisibleLine(), 0);
        QCOMPARE(memo.firstVisibleRow(), 40);
        QVERIFY(memo.lineOfOffset(memo.offsetAt(QPoint(20, 5))) == 0 && memo.offsetAt(QPoint(20, 5)) > 1000);
        memo.verticalScrollBar()->setValue(memo.verticalScrollBar()->maximum());
        QVERIFY(memo.offsetRect(memo.textLength()).isValid()); // the end is in view

        // Page Down scrolls a page and the caret keeps its place on screen; Page Up comes back.
        QStringList lines;
        for (int i = 0; i < 300; ++i)
            lines.append(u"line %1"_qs.arg(i));
        memo.loadText(lines.join(u'\n'));
        memo.setFocus();
        memo.setSelStart(memo.lineStartOffset(3) + 2);
        const int caretY = memo.offsetRect(memo.SelStart()).y();
        QTest::keyClick(&memo, Qt::Key_PageDown);
        const int page = memo.firstVisibleLine();
        QVERIFY(page > 5);
        QCOMPARE(memo.CaretPos(), QPoint(2, 3 + page));
        QCOMPARE(memo.offsetRect(memo.SelStart()).y(), caretY);
        QTest::keyClick(&memo, Qt::Key_PageDown);
        QCOMPARE(memo.firstVisibleLine(), 2 * page);
        QCOMPARE(memo.offsetRect(memo.SelStart()).y(), caretY);
        QTest::keyClick(&memo, Qt::Key_PageUp);
        QTest::keyClick(&memo, Qt::Key_PageUp);
        QCOMPARE(memo.firstVisibleLine(), 0);
        QCOMPARE(memo.CaretPos(), QPoint(2, 3));
        for (int i = 0; i < 300 / page + 2; ++i)
            QTest::keyClick(&memo, Qt::Key_PageDown);
        QCOMPARE(memo.CaretPos().y(), 299); // at the end the caret goes on to the last line
        QVERIFY(memo.offsetRect(memo.SelStart()).isValid());
    }

    void longLinesWithTabsFitTheView()
    {
        // A line too long to be laid out whole is cut into rows by width, tabs counted at their width.
        ScriptMemo memo;
        memo.resize(300, 200);
        memo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&memo));
        QString line;
        while (line.size() <= ScriptMemo::kLongLine)
            line += u"a\tbb\t\tccc\tслово "_qs;
        memo.loadText(line);
        const int right = memo.viewport()->width();
        int shown = 0;
        for (qsizetype offset = 0; offset < 2000; ++offset) {
            const QRect rect = memo.offsetRect(offset);
            if (!rect.isValid())
                continue;
            ++shown;
            QVERIFY2(rect.x() <= right, qPrintable(u"offset %1 drawn at %2"_qs.arg(offset).arg(rect.x())));
        }
        QVERIFY(shown > 100);
    }

    void clipboardAndDropsSpeakTheDesktopsLineBreaks()
    {
        DroppableMemo memo;
        memo.resize(300, 200);
        memo.show();
        memo.loadText(u"one\ntwo"_qs);
        memo.selectAll();
        memo.copy();
        QCOMPARE(QApplication::clipboard()->text(), u"one\ntwo"_qs);
        QApplication::clipboard()->setText(u"a\nb\rc"_qs);
        memo.setSelStart(0);
        memo.paste();
        QCOMPARE(memo.wholeText(), u"a\r\nb\r\ncone\r\ntwo"_qs);

        // Files dropped are offered for opening; text dropped goes in where it falls.
        QStringList offered;
        connect(&memo, &ScriptMemo::filesDropped, &memo, [&](const QStringList &files) { offered = files; });
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(u"/tmp/one.mrc"_qs)});
        const QByteArray before = memo.fileBytes();
        QDropEvent fileDrop(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, {});
        memo.drop(&fileDrop);
        QCOMPARE(offered, QStringList{u"/tmp/one.mrc"_qs});
        QCOMPARE(memo.fileBytes(), before);
        QMimeData text;
        text.setText(u"dropped "_qs);
        QDropEvent textDrop(QPointF(memo.offsetRect(0).center()), Qt::CopyAction, &text, Qt::LeftButton, {});
        memo.drop(&textDrop);
        QVERIFY(memo.wholeText().startsWith(u"dropped a"_qs));
    }

    void lineStatesStayRightThroughEdits()
    {
        // A styler whose state is the depth of braces: every edit leaves each line's start state as
        // styling the whole text afresh gives it, whether the edit changed the states after it or not.
        const auto depth = [](const QString &text, int state) {
            ScriptMemo::LineStyle style;
            style.endState = qMax(0, state + int(text.count(u'{')) - int(text.count(u'}')));
            return style;
        };
        ScriptMemo memo;
        memo.resize(300, 200);
        memo.show();
        QStringList lines;
        for (int i = 0; i < 300; ++i)
            lines.append(i % 7 == 0 ? u"alias a%1 {"_qs.arg(i) : (i % 7 == 6 ? u"}"_qs : u"  echo %1"_qs.arg(i)));
        memo.loadText(lines.join(u'\n'));
        memo.setLineStyler(depth);
        QCOMPARE(memo.lineStartState(1), 1);
        QCOMPARE(memo.lineStartState(7), 0);
        QRandomGenerator random(77);
        const QStringList pieces{u"{"_qs, u"}"_qs, u"x"_qs, u"\n"_qs, u"{\n}"_qs, u"\n\n"_qs, QString()};
        for (int step = 0; step < 300; ++step) {
            const qsizetype at = random.bounded(int(memo.textLength()) + 1);
            memo.setSelStart(at);
            memo.setSelLength(random.bounded(4) == 0 ? random.bounded(30) : 0);
            memo.setSelText(pieces.at(random.bounded(int(pieces.size()))));
            // Only what the view draws is asked for; now and then the whole text is held to a fresh count.
            memo.lineStartState(random.bounded(memo.lineCount()));
            if (step % 30 != 0)
                continue;
            int state = 0;
            for (int line = 0; line < memo.lineCount(); ++line) {
                QCOMPARE(memo.lineStartState(line), state);
                state = depth(memo.line(line), state).endState;
            }
        }
    }

    void whileAFileLoadsNothingEditsOrMovesTheCaret()
    {
        // The window waits for a large file's text: typing, keys, the mouse, the clipboard, drops and
        // every programmatic edit are refused and say so, and the caret never leaves the empty text.
        DroppableMemo memo;
        memo.resize(300, 200);
        memo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&memo));
        memo.setFocus();
        memo.setLoadingProgress(10);
        QSignalSpy changes(&memo, &ScriptMemo::Change);
        const auto untouched = [&] {
            memo.repaint();
            return memo.textLength() == 0 && memo.caretOffset() == 0 && memo.anchorOffset() == 0;
        };
        TestEnv::type(&memo, u"ab"_qs);
        QVERIFY(untouched());
        const QList<QKeyCombination> keys{
            Qt::Key_Backspace, Qt::Key_Left, Qt::Key_Right, Qt::Key_Delete, Qt::Key_Up, Qt::Key_Down,
            Qt::Key_Home, Qt::Key_End, Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Return,
            Qt::ControlModifier | Qt::Key_Left, Qt::ControlModifier | Qt::Key_Right,
            Qt::ControlModifier | Qt::Key_Backspace, Qt::ControlModifier | Qt::Key_Delete,
            Qt::ControlModifier | Qt::Key_End, Qt::ShiftModifier | Qt::Key_Home, Qt::ControlModifier | Qt::Key_A,
            Qt::ControlModifier | Qt::Key_V, Qt::ControlModifier | Qt::Key_Z, Qt::ControlModifier | Qt::Key_Y};
        QApplication::clipboard()->setText(u"pasted"_qs);
        for (const QKeyCombination key : keys) {
            TestEnv::type(&memo, u"x"_qs);
            QTest::keyClick(&memo, key.key(), key.keyboardModifiers());
            QVERIFY2(untouched(), qPrintable(QKeySequence(key).toString()));
        }
        QTest::mouseClick(memo.viewport(), Qt::LeftButton, {}, QPoint(100, 100));
        QTest::mouseDClick(memo.viewport(), Qt::LeftButton, {}, QPoint(10, 5));
        QInputMethodEvent commit;
        commit.setCommitString(u"жж"_qs);
        QApplication::sendEvent(&memo, &commit);
        QMimeData text;
        text.setText(u"dropped"_qs);
        QDropEvent textDrop(QPointF(5, 5), Qt::CopyAction, &text, Qt::LeftButton, {});
        memo.drop(&textDrop);
        QVERIFY(untouched());
        memo.setSelection(0, 5);
        memo.selectAll();
        QVERIFY(!memo.setSelText(u"abc"_qs));
        QVERIFY(!memo.appendAsLine(u"line"_qs));
        QVERIFY(!memo.replaceRanges({{0, 0}}, u"r"_qs));
        QVERIFY(!memo.setLine(0, u"line"_qs));
        QVERIFY(!memo.clearLines());
        QVERIFY(!memo.paste());
        QVERIFY(!memo.undo() && !memo.redo());
        QVERIFY(untouched());
        QCOMPARE(changes.count(), 0);
        QVERIFY(!memo.Modified());

        // When the text has come, everything works again.
        memo.loadText(u"loaded"_qs);
        QVERIFY(!memo.isLoading());
        QTest::keyClick(&memo, Qt::Key_End);
        TestEnv::type(&memo, u"!"_qs);
        QCOMPARE(memo.wholeText(), u"loaded!"_qs);
    }

    void removingLinesKeepsTheViewOnTheText()
    {
        // Edits that remove lines from under a scrolled view: the top of the view comes back onto the
        // text, and the next paint lays out only lines that exist.
        ScriptMemo memo;
        memo.resize(300, 200);
        memo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&memo));
        QStringList lines;
        for (int i = 0; i < 400; ++i)
            lines.append(u"line %1"_qs.arg(i));
        const QString text = lines.join(u'\n');
        const auto scrolledToTheEnd = [&] {
            memo.loadText(text);
            memo.verticalScrollBar()->setValue(memo.verticalScrollBar()->maximum());
            return memo.firstVisibleLine() > 300;
        };
        const auto onTheText = [&] {
            memo.repaint();
            return !memo.grab().isNull() && memo.firstVisibleLine() < memo.lineCount();
        };
        QVERIFY(scrolledToTheEnd());
        QVERIFY(memo.clearLines());
        QVERIFY(onTheText());
        QVERIFY(scrolledToTheEnd());
        memo.setSelection(memo.lineStartOffset(2), memo.textLength());
        QVERIFY(memo.setSelText(u"replaced"_qs));
        QVERIFY(onTheText());
        QCOMPARE(memo.firstVisibleLine(), 0); // the three lines left fill no more than a page
        QVERIFY(scrolledToTheEnd());
        QVERIFY(memo.replaceRanges({{0, memo.lineStartOffset(399)}}, u"x"_qs));
        QVERIFY(onTheText());
        QVERIFY(memo.undo()); // the lines come back: the view may stay where it is
        QVERIFY(onTheText());
        memo.loadText(u"first"_qs);
        QVERIFY(memo.appendAsLine(text));
        memo.verticalScrollBar()->setValue(memo.verticalScrollBar()->maximum());
        QVERIFY(memo.firstVisibleLine() > 300);
        QVERIFY(memo.undo());
        QVERIFY(onTheText());
        QCOMPARE(memo.wholeText(), u"first"_qs);
    }

    void inputMethodsCommitAsTyping()
    {
        ScriptMemo memo;
        memo.show();
        memo.setFocus();
        QInputMethodEvent compose(u"ж"_qs, {});
        QApplication::sendEvent(&memo, &compose);
        QCOMPARE(memo.wholeText(), QString()); // a preedit text is not yet text
        QInputMethodEvent commit;
        commit.setCommitString(u"жё\u4E2D"_qs);
        QApplication::sendEvent(&memo, &commit);
        QCOMPARE(memo.wholeText(), u"жё?"_qs);
        QCOMPARE(memo.inputMethodQuery(Qt::ImCursorPosition).toInt(), 3);
    }
};

QTEST_MAIN(ScriptMemoTest)
#include "test_script_memo.moc"
