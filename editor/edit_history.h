#pragma once

#include <QByteArray>
#include <QList>

// The undo and redo steps of one text. A step is what one command did: one or more replacements,
// in the order they were made, with the selection before and after. Typing and deleting
// character by character at one place join into one step until something else happens.
class EditHistory {
public:
    // The bytes at start that were removed, and the bytes put in their place.
    struct Replacement {
        qsizetype start = 0;
        QByteArray removed;
        QByteArray inserted;
    };
    struct Selection {
        qsizetype anchor = 0;
        qsizetype caret = 0;
    };
    struct Step {
        QList<Replacement> replacements;
        Selection before;
        Selection after;
    };
    // How a step may join the one before.
    enum class Kind { Typing, DeletingBackward, DeletingForward, Other };

    bool canUndo() const { return !m_undo.isEmpty(); }
    bool canRedo() const { return !m_redo.isEmpty(); }

    // Records a step that has been done; the redo steps are forgotten.
    void record(Step step, Kind kind);
    // Ends the joining of typed characters: the next step starts afresh.
    void close() { m_openKind = Kind::Other; }
    void clear();

    // The step to revert (its replacements to be undone last first), moved to the redo side.
    Step takeUndo();
    // The step to do again, moved back to the undo side.
    Step takeRedo();

private:
    bool joins(const Step &step, Kind kind) const;

    QList<Step> m_undo;
    QList<Step> m_redo;
    Kind m_openKind = Kind::Other;
};
