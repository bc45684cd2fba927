#pragma once

#include <functional>
#include <vector>

// The state each line of a text starts in, for a styler that carries a state from line to line (an
// open comment, the braces around it). States are worked out from the first line on, only as far
// as they are asked for, and follow edits: the edited lines are styled again, and the states after
// them are kept as soon as the state carried past the edit is the one it was.
class LineStates {
public:
    // The state a line leaves to the next, given the state it starts in.
    using Step = std::function<int(int line, int startState)>;

    // Starts afresh with a step (an empty one: every line starts in the initial state).
    void setStep(Step step, int initialState);
    // Forgets every state worked out (the whole text was replaced).
    void clear() { m_states.clear(); }

    bool isActive() const { return bool(m_step); }
    int initialState() const { return m_initialState; }
    // The state line starts in, worked out up to it where needed.
    int startState(int line) const;
    // How many lines from the first have their state worked out.
    int known() const { return int(m_states.size()); }

    // Lines firstLine to lastLine were edited into lines firstLine to lastLine + delta. Returns true
    // when states that were known beyond the edit are now unknown and may be worked out again ahead.
    bool linesReplaced(int firstLine, int lastLine, int delta);

private:
    Step m_step;
    int m_initialState = 0;
    mutable std::vector<int> m_states; // start states of the lines from 0, as far as known
};
