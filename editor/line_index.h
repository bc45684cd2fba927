#pragma once

#include "editor/gap_buffer.h"

#include <QList>

// The start offsets of a text's lines. An edit moves the starts of all the lines after it; rather
// than touching each, the index keeps one pending shift for the lines after a step line and moves
// that step only as far as the next edit lies from it, so edits at one place stay cheap at any size.
class LineIndex {
public:
    LineIndex() { setStarts({0}); }

    // The starts of all lines, the first being 0.
    void setStarts(const QList<qsizetype> &starts);

    int lineCount() const { return int(m_starts.size()); }
    qsizetype lineStart(int line) const
    {
        const qsizetype stored = m_starts.element(line);
        return line > m_stepLine ? stored + m_stepShift : stored;
    }
    // The line holding offset: the last one whose start is at or before it.
    int lineOf(qsizetype offset) const;

    // Every line after line moves by delta.
    void shiftAfter(int line, qsizetype delta);
    // A new line, which becomes line number line, starts at start.
    void insertLine(int line, qsizetype start);
    // Lines first to first + count - 1 go.
    void removeLines(int first, int count);

private:
    // Makes the pending shift apply after line and before none of the lines up to it.
    void moveStepTo(int line);

    GapBuffer<qsizetype> m_starts;
    int m_stepLine = 0;
    qsizetype m_stepShift = 0;
};
