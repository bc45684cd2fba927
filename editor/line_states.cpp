#include "editor/line_states.h"

#include <algorithm>

void LineStates::setStep(Step step, int initialState)
{
    m_step = std::move(step);
    m_initialState = initialState;
    m_states.clear();
}

int LineStates::startState(int line) const
{
    if (!m_step)
        return m_initialState;
    if (m_states.empty())
        m_states.push_back(m_initialState);
    while (int(m_states.size()) <= line) {
        const int previous = int(m_states.size()) - 1;
        m_states.push_back(m_step(previous, m_states.back()));
    }
    return m_states[line];
}

bool LineStates::linesReplaced(int firstLine, int lastLine, int delta)
{
    // Only states beyond the first edited line are touched: the edited line's own start state holds.
    if (!m_step || m_states.size() <= std::size_t(firstLine) + 1)
        return false;
    const int edited = lastLine - firstLine + delta; // the edited lines now run to firstLine + edited
    const auto after = m_states.begin() + firstLine + 1;
    const int known = int(m_states.size());
    if (delta < 0)
        m_states.erase(after, after + std::min(-delta, known - firstLine - 1));
    else if (delta > 0 && known > lastLine + 1)
        m_states.insert(after, delta, 0); // the lines after the edit keep their states, further down
    else if (delta > 0)
        m_states.resize(firstLine + 1);
    int state = m_states[firstLine];
    for (int line = firstLine; line <= firstLine + edited; ++line) {
        state = m_step(line, state);
        const std::size_t next = std::size_t(line) + 1;
        if (next >= m_states.size())
            return false;
        if (line == firstLine + edited && m_states[next] == state)
            return false; // the state carried past the edit is unchanged: the rest holds
        m_states[next] = state;
    }
    // The state carried past the edit changed: the states after it are unknown again.
    m_states.resize(firstLine + edited + 2);
    return true;
}
