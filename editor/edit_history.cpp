#include "editor/edit_history.h"

bool EditHistory::joins(const Step &step, Kind kind) const
{
    if (kind == Kind::Other || kind != m_openKind || m_undo.isEmpty() || step.replacements.size() != 1)
        return false;
    const Step &open = m_undo.last();
    if (open.replacements.size() != 1)
        return false;
    const Replacement &last = open.replacements.constFirst();
    const Replacement &next = step.replacements.constFirst();
    switch (kind) {
    case Kind::Typing:
        // A line break ends a typed run, as it ends a word in most editors' undo.
        return next.removed.isEmpty() && next.start == last.start + last.inserted.size()
            && !next.inserted.contains('\n') && !last.inserted.endsWith('\n');
    case Kind::DeletingBackward:
        return next.inserted.isEmpty() && next.start + next.removed.size() == last.start;
    case Kind::DeletingForward:
        return next.inserted.isEmpty() && next.start == last.start;
    case Kind::Other:
        break;
    }
    return false;
}

void EditHistory::record(Step step, Kind kind)
{
    m_redo.clear();
    if (joins(step, kind)) {
        Step &open = m_undo.last();
        Replacement &last = open.replacements.first();
        const Replacement &next = step.replacements.constFirst();
        if (kind == Kind::Typing) {
            last.inserted += next.inserted;
        } else if (kind == Kind::DeletingBackward) {
            last.removed.prepend(next.removed);
            last.start = next.start;
        } else {
            last.removed += next.removed;
        }
        open.after = step.after;
    } else {
        m_undo.append(std::move(step));
    }
    m_openKind = kind;
}

void EditHistory::clear()
{
    m_undo.clear();
    m_redo.clear();
    m_openKind = Kind::Other;
}

EditHistory::Step EditHistory::takeUndo()
{
    m_openKind = Kind::Other;
    Step step = m_undo.takeLast();
    m_redo.append(step);
    return step;
}

EditHistory::Step EditHistory::takeRedo()
{
    m_openKind = Kind::Other;
    Step step = m_redo.takeLast();
    m_undo.append(step);
    return step;
}
