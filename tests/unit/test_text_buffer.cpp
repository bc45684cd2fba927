// The editor's text store: bytes with CR LF breaks and the start of every line, kept right through
// any sequence of edits; and the undo steps that join typing.
#include "editor/edit_history.h"
#include "editor/text_buffer.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

// The line starts of a CR LF text, found the plain way.
QList<qsizetype> lineStartsOf(const QByteArray &text)
{
    QList<qsizetype> starts{0};
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '\r' && text[i + 1] == '\n')
            starts.append(i + 2);
    }
    return starts;
}

// A random offset of text that does not split a CR LF pair.
qsizetype boundary(QRandomGenerator &random, const QByteArray &text)
{
    qsizetype at = random.bounded(int(text.size()) + 1);
    if (at > 0 && at < text.size() && text[at] == '\n' && text[at - 1] == '\r')
        --at;
    return at;
}

QByteArray randomPiece(QRandomGenerator &random)
{
    static const QByteArray pieces[] = {"a", "bc", "\r\n", "x\r\ny", "\r\n\r\n", "long piece of text ", "\xE9"};
    QByteArray piece;
    for (int i = random.bounded(4); i > 0; --i)
        piece += pieces[random.bounded(int(std::size(pieces)))];
    return piece;
}

} // namespace

class TextBufferTest : public QObject {
    Q_OBJECT
private slots:
    void linesStayRightThroughRandomEdits()
    {
        // Edits spread over the text and edits clustered at one place, where the pending shift of
        // the line index moves little; every few steps the whole index is checked against the text.
        QRandomGenerator random(1812);
        for (int round = 0; round < 20; ++round) {
            QByteArray model = "first line\r\nsecond\r\n\r\nlast";
            TextBuffer buffer;
            buffer.setBytes(model);
            qsizetype cluster = 0;
            for (int step = 0; step < 400; ++step) {
                const bool clustered = round % 2 == 1;
                qsizetype start = clustered ? qMin(cluster, model.size()) : boundary(random, model);
                if (start > 0 && start < model.size() && model[start] == '\n')
                    --start;
                qsizetype end = qMin(model.size(), start + random.bounded(12));
                if (end > 0 && end < model.size() && model[end] == '\n' && model[end - 1] == '\r')
                    ++end;
                const QByteArray piece = random.bounded(3) == 0 ? QByteArray() : randomPiece(random);
                model.replace(start, end - start, piece);
                buffer.replace(start, end - start, piece);
                cluster = start + piece.size();
                if (step % 25 != 0)
                    continue;
                const QList<qsizetype> starts = lineStartsOf(model);
                QCOMPARE(buffer.lineCount(), int(starts.size()));
                for (int line = 0; line < starts.size(); ++line)
                    QCOMPARE(buffer.lineStart(line), starts[line]);
                QCOMPARE(buffer.allBytes(), model);
                for (int probe = 0; probe < 20; ++probe) {
                    const qsizetype at = random.bounded(int(model.size()) + 1);
                    const int line = buffer.lineOf(at);
                    QVERIFY(buffer.lineStart(line) <= at);
                    QVERIFY(line + 1 == buffer.lineCount() || buffer.lineStart(line + 1) > at);
                }
            }
        }
    }

    void linesAndTheirEnds()
    {
        TextBuffer buffer;
        buffer.setBytes("ab\r\n\r\ncd");
        QCOMPARE(buffer.lineCount(), 3);
        QCOMPARE(buffer.lineText(0), u"ab"_qs);
        QCOMPARE(buffer.lineLength(1), qsizetype(0));
        QCOMPARE(buffer.lineEnd(2), qsizetype(8));
        QVERIFY(!buffer.endsWithLineBreak());
        buffer.replace(8, 0, "\r\n");
        QVERIFY(buffer.endsWithLineBreak());
        // No offset between the CR and the LF of a break.
        QCOMPARE(buffer.snapped(3), qsizetype(2));
        QCOMPARE(buffer.snapped(4), qsizetype(4));
        QCOMPARE(buffer.snapped(99), buffer.length());
    }

    void largeTextsKeepEveryByteAndLine()
    {
        QByteArray text;
        for (int i = 0; text.size() < 3'000'000; ++i)
            text += "line " + QByteArray::number(i) + " \xF1\xF2\xF0\xEE\xEA\xE0\r\n";
        TextBuffer buffer;
        QList<qint64> progress;
        buffer.setBytes(text, [&](qint64 done, qint64) { progress.append(done); });
        QVERIFY(progress.size() > 1);
        QCOMPARE(buffer.lineCount(), int(text.count("\r\n")) + 1);
        buffer.replace(buffer.length(), 0, "appended");
        buffer.replace(0, 0, "\r\n");
        QCOMPARE(buffer.lineText(buffer.lineCount() - 1), u"appended"_qs);
        QCOMPARE(buffer.lineText(1), u"line 0 строка"_qs);
        QCOMPARE(buffer.allBytes(), "\r\n" + text + "appended");
    }

    void typingJoinsIntoOneStepUntilSomethingElseHappens()
    {
        EditHistory history;
        const auto typed = [&](qsizetype at, const char *text) {
            history.record({{{at, {}, text}}, {at, at}, {at + 1, at + 1}}, EditHistory::Kind::Typing);
        };
        typed(0, "a");
        typed(1, "b");
        typed(2, "c");
        history.close(); // the caret moved
        typed(3, "d");
        typed(10, "x"); // elsewhere
        typed(11, "\r\n");
        typed(13, "y"); // after a line break
        EditHistory::Step step = history.takeUndo();
        QCOMPARE(step.replacements.first().inserted, QByteArray("y"));
        history.takeUndo();
        history.takeUndo();
        history.takeUndo();
        step = history.takeUndo();
        QCOMPARE(step.replacements.first().inserted, QByteArray("abc"));
        QCOMPARE(step.before.caret, qsizetype(0));
        QCOMPARE(step.after.caret, qsizetype(3));
        QVERIFY(!history.canUndo());
        QVERIFY(history.canRedo());
        // A new step forgets what could have been redone.
        typed(0, "z");
        QVERIFY(!history.canRedo());
    }

    void backspacesJoinBackwardAndDeletesForward()
    {
        EditHistory history;
        history.record({{{4, "d", {}}}, {5, 5}, {4, 4}}, EditHistory::Kind::DeletingBackward);
        history.record({{{3, "c", {}}}, {4, 4}, {3, 3}}, EditHistory::Kind::DeletingBackward);
        history.record({{{3, "e", {}}}, {3, 3}, {3, 3}}, EditHistory::Kind::DeletingForward);
        history.record({{{3, "f", {}}}, {3, 3}, {3, 3}}, EditHistory::Kind::DeletingForward);
        EditHistory::Step forward = history.takeUndo();
        QCOMPARE(forward.replacements.first().removed, QByteArray("ef"));
        EditHistory::Step backward = history.takeUndo();
        QCOMPARE(backward.replacements.first().start, qsizetype(3));
        QCOMPARE(backward.replacements.first().removed, QByteArray("cd"));
        QCOMPARE(backward.before.caret, qsizetype(5));
    }
};

QTEST_APPLESS_MAIN(TextBufferTest)
#include "test_text_buffer.moc"
