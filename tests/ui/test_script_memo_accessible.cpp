// What a screen reader gets from the script's text control: its role and states, text read a stretch
// at a time with a line break as two characters, caret and selection, geometry, edits and notifications.
#include "editor/script_memo.h"
#include "editor/script_memo_accessible.h"

#include <QAccessible>
#include <QtTest>

namespace {

QAccessibleInterface *accessibleOf(ScriptMemo &memo)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&memo);
    return iface && iface->textInterface() && iface->editableTextInterface() ? iface : nullptr;
}

// The lines of a text of about two megabytes, each "line N".
QString largeText()
{
    QString text;
    for (int i = 0; text.size() < 2'000'000; ++i)
        text += u"line %1\n"_qs.arg(i);
    return text;
}

} // namespace

class ScriptMemoAccessibleTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { ScriptMemoAccessible::install(); } // as the program does at start

    void roleStatesNameAndValue()
    {
        ScriptMemo memo;
        memo.setAccessibleName(u"Текст скрипта"_qs);
        memo.loadText(u"ab\ncd"_qs);
        QAccessibleInterface *iface = accessibleOf(memo);
        QVERIFY(iface);
        QCOMPARE(iface->role(), QAccessible::EditableText);
        QCOMPARE(iface->text(QAccessible::Name), u"Текст скрипта"_qs);
        QCOMPARE(iface->text(QAccessible::Value), u"ab\r\ncd"_qs);
        QAccessible::State state = iface->state();
        QVERIFY(state.multiLine && state.focusable && state.editable && !state.readOnly && !state.focused);
        memo.setReadOnly(true);
        QVERIFY(iface->state().readOnly && !iface->state().editable);
        memo.show();
        memo.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&memo));
        memo.setFocus();
        QVERIFY(QTest::qWaitFor([&] { return iface->state().focused; }));

        // A large text is counted but not handed out whole.
        memo.loadText(largeText());
        QCOMPARE(iface->textInterface()->characterCount(), int(memo.textLength()));
        QVERIFY(iface->text(QAccessible::Value).isEmpty());
    }

    void textIsReadByRangesCharactersWordsAndLines()
    {
        ScriptMemo memo;
        memo.loadText(u"echo -a hi\nsecond\n"_qs);
        QAccessibleTextInterface *text = accessibleOf(memo)->textInterface();
        QCOMPARE(text->characterCount(), 20);
        QCOMPARE(text->text(8, 14), u"hi\r\nse"_qs);
        int start = 0;
        int end = 0;
        // A line comes with its line break; an offset inside the break belongs to the line it ends.
        QCOMPARE(text->textAtOffset(11, QAccessible::LineBoundary, &start, &end), u"echo -a hi\r\n"_qs);
        QCOMPARE(std::pair(start, end), std::pair(0, 12));
        QCOMPARE(text->textAfterOffset(3, QAccessible::LineBoundary, &start, &end), u"second\r\n"_qs);
        QCOMPARE(text->textBeforeOffset(14, QAccessible::LineBoundary, &start, &end), u"echo -a hi\r\n"_qs);
        QCOMPARE(text->textAfterOffset(14, QAccessible::LineBoundary, &start, &end), QString()); // the empty last line
        QCOMPARE(std::pair(start, end), std::pair(20, 20));
        QCOMPARE(text->textAtOffset(10, QAccessible::CharBoundary, &start, &end), u"\r\n"_qs);
        QCOMPARE(text->textBeforeOffset(12, QAccessible::CharBoundary, &start, &end), u"\r\n"_qs);
        QCOMPARE(text->textAtOffset(6, QAccessible::WordBoundary, &start, &end), u"a"_qs);
        QCOMPARE(text->textBeforeOffset(6, QAccessible::WordBoundary, &start, &end), u" -"_qs);
        QCOMPARE(text->textAfterOffset(2, QAccessible::WordBoundary, &start, &end), u" -"_qs);

        // In UTF-8 an emoji is one character of two offsets, read whole from either; the words after
        // it keep their places.
        const QString emoji = QString::fromUcs4(U"\U0001F600");
        memo.loadFile((u"ж"_qs + emoji + u" echo hi"_qs).toUtf8());
        for (int offset : {1, 2}) {
            QCOMPARE(text->textAtOffset(offset, QAccessible::CharBoundary, &start, &end), emoji);
            QCOMPARE(std::pair(start, end), std::pair(1, 3));
        }
        QCOMPARE(text->textAtOffset(6, QAccessible::WordBoundary, &start, &end), u"echo"_qs);
        QCOMPARE(std::pair(start, end), std::pair(4, 8));

        // Lines of a large text come from its line index.
        memo.loadText(largeText());
        const int line = memo.lineCount() / 2;
        const int offset = int(memo.lineStartOffset(line)) + 2;
        QCOMPARE(text->textAtOffset(offset, QAccessible::LineBoundary, &start, &end), memo.line(line) + u"\r\n"_qs);
        QCOMPARE(start, int(memo.lineStartOffset(line)));
    }

    void caretAndSelectionGoBothWays()
    {
        ScriptMemo memo;
        memo.loadText(u"ab\ncd"_qs);
        QAccessibleTextInterface *text = accessibleOf(memo)->textInterface();
        text->setCursorPosition(4);
        QCOMPARE(memo.SelStart(), qsizetype(4));
        memo.setSelStart(1);
        QCOMPARE(text->cursorPosition(), 1);
        QCOMPARE(text->selectionCount(), 0);
        text->setSelection(0, 5, 1); // the caret at the second offset
        QCOMPARE(std::pair(memo.anchorOffset(), memo.caretOffset()), std::pair(qsizetype(5), qsizetype(1)));
        int start = 0;
        int end = 0;
        text->selection(0, &start, &end);
        QCOMPARE(std::pair(start, end), std::pair(1, 5));
        QCOMPARE(text->selectionCount(), 1);
        text->removeSelection(0);
        QCOMPARE(text->selectionCount(), 0);
        QCOMPARE(memo.caretOffset(), qsizetype(1));
        text->addSelection(0, 2);
        QCOMPARE(memo.SelText(), u"ab"_qs);
    }

    void charactersAreFoundWhereTheyAreDrawn()
    {
        ScriptMemo memo;
        memo.resize(400, 200);
        memo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&memo));
        memo.loadText(u"alias hello {\n  echo -a world\n}"_qs);
        QAccessibleTextInterface *text = accessibleOf(memo)->textInterface();
        const int w = int(memo.wholeText().indexOf(u"world"_qs));
        const QRect rect = text->characterRect(w);
        QVERIFY(!rect.isEmpty());
        QVERIFY(rect.width() > 1);
        QCOMPARE(text->offsetAtPoint(rect.center()), w);
        QCOMPARE(text->offsetAtPoint(text->characterRect(w + 1).center()), w + 1);
        QCOMPARE(text->offsetAtPoint(memo.viewport()->mapToGlobal(QPoint(-5, 5))), -1);
    }

    void editsGoThroughTheMemoUnlessItIsReadOnly()
    {
        ScriptMemo memo;
        memo.loadText(u"ab\ncd"_qs);
        QAccessibleEditableTextInterface *edit = accessibleOf(memo)->editableTextInterface();
        edit->insertText(2, u"X\nY"_qs);
        QCOMPARE(memo.wholeText(), u"abX\r\nY\r\ncd"_qs);
        edit->deleteText(6, 7); // ends inside the line break: the whole break goes
        QCOMPARE(memo.wholeText(), u"abX\r\nYcd"_qs);
        edit->replaceText(0, 2, u"ж"_qs);
        QCOMPARE(memo.wholeText(), u"жX\r\nYcd"_qs);
        QVERIFY(memo.isUndoAvailable());
        memo.setReadOnly(true);
        edit->deleteText(0, 3);
        edit->insertText(0, u"no"_qs);
        QCOMPARE(memo.wholeText(), u"жX\r\nYcd"_qs);
    }

    void notificationsTellWhatMovedAndWhatChanged()
    {
        // Offscreen no client listens, so QAccessible::isActive() stays false and nothing is sent; what
        // would be sent is checked directly.
        ScriptMemo memo;
        memo.loadText(u"one\ntwo"_qs);
        memo.setSelection(6, 8);
        auto events = ScriptMemoAccessible::caretEvents(&memo, {6, 6});
        QCOMPARE(events.size(), std::size_t(2));
        QCOMPARE(events[0]->type(), QAccessible::TextCaretMoved);
        auto *selected = static_cast<QAccessibleTextSelectionEvent *>(events[1].get());
        QCOMPARE(std::pair(selected->selectionStart(), selected->selectionEnd()), std::pair(6, 8));

        memo.setSelText(u"W"_qs);
        auto event = ScriptMemoAccessible::changeEvent(&memo);
        auto *update = static_cast<QAccessibleTextUpdateEvent *>(event.get());
        QCOMPARE(update->type(), QAccessible::TextUpdated);
        QCOMPARE(update->changePosition(), 6);
        QCOMPARE(update->textRemoved(), u"wo"_qs);
        QCOMPARE(update->textInserted(), u"W"_qs);
        QCOMPARE(update->cursorPosition(), 7);

        // Several replacements are told as the one stretch that holds them all.
        memo.replaceRanges({{0, 1}, {6, 1}}, u"xy"_qs); // "one\r\ntW" -> "xyne\r\ntxy"
        event = ScriptMemoAccessible::changeEvent(&memo);
        update = static_cast<QAccessibleTextUpdateEvent *>(event.get());
        QCOMPARE(update->changePosition(), 0);
        QCOMPARE(update->textInserted(), u"xyne\r\ntxy"_qs);
        QCOMPARE(update->textRemoved().size(), 7);

        memo.setSelection(2, 4);
        memo.setSelText(QString());
        event = ScriptMemoAccessible::changeEvent(&memo);
        QCOMPARE(event->type(), QAccessible::TextRemoved);
        QCOMPARE(static_cast<QAccessibleTextRemoveEvent *>(event.get())->textRemoved(), u"ne"_qs);

        // A load larger than the limit is told without its text.
        memo.loadText(largeText());
        event = ScriptMemoAccessible::changeEvent(&memo);
        update = static_cast<QAccessibleTextUpdateEvent *>(event.get());
        QCOMPARE(update->type(), QAccessible::TextUpdated);
        QVERIFY(update->textInserted().isEmpty() && update->textRemoved().isEmpty());
    }
};

QTEST_MAIN(ScriptMemoAccessibleTest)
#include "test_script_memo_accessible.moc"
