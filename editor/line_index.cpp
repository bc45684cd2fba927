#include "editor/line_index.h"

void LineIndex::setStarts(const QList<qsizetype> &starts)
{
    m_starts.assign(starts.constData(), starts.size());
    m_stepLine = int(starts.size()) - 1;
    m_stepShift = 0;
}

int LineIndex::lineOf(qsizetype offset) const
{
    int lo = 0;
    int hi = lineCount() - 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (lineStart(mid) <= offset)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

void LineIndex::moveStepTo(int line)
{
    if (m_stepShift == 0) {
        m_stepLine = line;
        return;
    }
    if (line > m_stepLine) {
        m_starts.addTo(m_stepLine + 1, line + 1, m_stepShift);
    } else if (line < m_stepLine) {
        m_starts.addTo(line + 1, m_stepLine + 1, -m_stepShift);
    }
    m_stepLine = line;
}

void LineIndex::shiftAfter(int line, qsizetype delta)
{
    if (delta == 0 || line >= lineCount() - 1)
        return;
    moveStepTo(line);
    m_stepShift += delta;
}

void LineIndex::insertLine(int line, qsizetype start)
{
    moveStepTo(line - 1);
    m_starts.insert(line, start - m_stepShift);
}

void LineIndex::removeLines(int first, int count)
{
    if (count <= 0)
        return;
    moveStepTo(first - 1);
    m_starts.erase(first, count);
}
