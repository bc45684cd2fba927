#pragma once

#include "editor/edit_history.h"

#include <QAccessibleWidget>

#include <memory>
#include <vector>

class ScriptMemo;

// What assistive technology sees of a script's text control: its text, caret, selection, where the
// characters are drawn, and edits. Everything is read from the memo a stretch at a time (lines from
// its line index), so that a text of many megabytes costs no more than a small one.
class ScriptMemoAccessible : public QAccessibleWidget,
                             public QAccessibleTextInterface,
                             public QAccessibleEditableTextInterface {
public:
    // The most characters handed out as the control's value or with one change notification.
    static constexpr qsizetype kTextLimit = qsizetype(1) << 20;

    explicit ScriptMemoAccessible(ScriptMemo *memo);

    // Makes memos answer assistive technology with this interface; once, at start-up. An interface
    // is made only when a client asks for one, and from then on its memo tells a listening client of
    // its caret moves and changes; while no client listens nothing is worked out.
    static void install();

    // What a client is told after the caret or the selection moved away from `before`: the caret's
    // move, and the selection when there was one or is one.
    static std::vector<std::unique_ptr<QAccessibleEvent>> caretEvents(ScriptMemo *memo,
                                                                      const EditHistory::Selection &before);
    // What a client is told after a change of the text: the stretch the change replaced. A change
    // larger than kTextLimit is told without its text, the client reads what it needs.
    static std::unique_ptr<QAccessibleEvent> changeEvent(ScriptMemo *memo);

    void *interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text type) const override;

    // Text
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                             int *endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                            int *endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                         int *endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

    // Editable text: refused while the memo is read-only.
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

private:
    // A stretch [start, end) of the text; start -1 for none.
    struct Span {
        qsizetype start = -1;
        qsizetype end = -1;
        bool isValid() const { return start >= 0; }
    };

    ScriptMemo *memo() const;
    // The character, word, sentence, line or whole text that holds offset.
    Span itemAt(qsizetype offset, QAccessible::TextBoundaryType boundaryType) const;
    Span wordOrSentenceAt(qsizetype offset, QAccessible::TextBoundaryType boundaryType) const;
    QString spanText(Span span, int *startOffset, int *endOffset) const;
    void select(qsizetype anchor, qsizetype caret);
};
