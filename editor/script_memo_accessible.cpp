#include "editor/script_memo_accessible.h"

#include "editor/script_memo.h"
#include "editor/script_text.h"

#include <QTextBoundaryFinder>

namespace {

// Words and sentences are looked for within this many characters either side of the offset, in its
// line, so that a line of megabytes is never read whole.
constexpr qsizetype kItemReach = 4096;

QAccessibleInterface *interfaceFor(const QString &, QObject *object)
{
    if (auto *memo = qobject_cast<ScriptMemo *>(object))
        return new ScriptMemoAccessible(memo);
    return nullptr;
}

bool isLineBoundary(QAccessible::TextBoundaryType type)
{
    return type == QAccessible::LineBoundary || type == QAccessible::ParagraphBoundary;
}

// The item of a boundary finder's kind (a word or the run between words, a sentence) that holds pos,
// within text: from the last start or end of an item at or before pos to the next one after it.
std::pair<int, int> finderItemAt(QTextBoundaryFinder::BoundaryType type, const QString &text, int pos)
{
    QTextBoundaryFinder finder(type, text);
    const auto atItemEdge = [&finder] {
        return finder.isAtBoundary()
            && (finder.boundaryReasons() & (QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem));
    };
    finder.setPosition(pos);
    while (finder.position() > 0 && !atItemEdge())
        finder.toPreviousBoundary();
    const int start = finder.position();
    int end = start;
    do {
        end = finder.toNextBoundary();
    } while (end != -1 && end < text.size() && !atItemEdge());
    return {start, end == -1 ? int(text.size()) : end};
}

} // namespace

ScriptMemoAccessible::ScriptMemoAccessible(ScriptMemo *memo) : QAccessibleWidget(memo, QAccessible::EditableText)
{
    QObject::connect(memo, &ScriptMemo::caretMoved, memo, [memo, told = EditHistory::Selection{}]() mutable {
        if (!QAccessible::isActive())
            return;
        for (const std::unique_ptr<QAccessibleEvent> &event : caretEvents(memo, told))
            QAccessible::updateAccessibility(event.get());
        told = {memo->anchorOffset(), memo->caretOffset()};
    });
    QObject::connect(memo, &ScriptMemo::Change, memo, [memo] {
        if (QAccessible::isActive())
            QAccessible::updateAccessibility(changeEvent(memo).get());
    });
}

ScriptMemo *ScriptMemoAccessible::memo() const
{
    return static_cast<ScriptMemo *>(widget());
}

// ---- Installing and telling ----------------------------------------------------------------

void ScriptMemoAccessible::install()
{
    [[maybe_unused]] static const bool installed = [] {
        QAccessible::installFactory(&interfaceFor);
        return true;
    }();
}

std::vector<std::unique_ptr<QAccessibleEvent>> ScriptMemoAccessible::caretEvents(ScriptMemo *memo,
                                                                                 const EditHistory::Selection &before)
{
    std::vector<std::unique_ptr<QAccessibleEvent>> events;
    const qsizetype anchor = memo->anchorOffset();
    const qsizetype caret = memo->caretOffset();
    if (caret != before.caret)
        events.push_back(std::make_unique<QAccessibleTextCursorEvent>(memo, int(caret)));
    const bool hadSelection = before.anchor != before.caret;
    const bool hasSelection = anchor != caret;
    if ((hadSelection || hasSelection) && (anchor != before.anchor || caret != before.caret)) {
        const qsizetype start = memo->SelStart();
        auto event = std::make_unique<QAccessibleTextSelectionEvent>(memo, int(start), int(start + memo->SelLength()));
        event->setCursorPosition(int(caret));
        events.push_back(std::move(event));
    }
    return events;
}

std::unique_ptr<QAccessibleEvent> ScriptMemoAccessible::changeEvent(ScriptMemo *memo)
{
    const ScriptMemo::TextChange &change = memo->lastChange();
    const int position = int(change.start);
    std::unique_ptr<QAccessibleTextCursorEvent> event;
    if (change.insertedLength > kTextLimit || change.removedLength > kTextLimit) {
        event = std::make_unique<QAccessibleTextUpdateEvent>(memo, position, QString(), QString());
    } else {
        const QString inserted = memo->textRange(change.start, change.insertedLength);
        // Where the removed characters are not known, as many spaces stand for them.
        QString removed = memo->document()->decoded(change.removed);
        if (removed.size() != change.removedLength)
            removed = QString(change.removedLength, u' ');
        if (removed.isEmpty() && !inserted.isEmpty())
            event = std::make_unique<QAccessibleTextInsertEvent>(memo, position, inserted);
        else if (inserted.isEmpty() && !removed.isEmpty())
            event = std::make_unique<QAccessibleTextRemoveEvent>(memo, position, removed);
        else
            event = std::make_unique<QAccessibleTextUpdateEvent>(memo, position, removed, inserted);
    }
    event->setCursorPosition(int(memo->caretOffset()));
    return event;
}

// ---- The control ---------------------------------------------------------------------------

void *ScriptMemoAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State ScriptMemoAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.multiLine = true;
    state.selectableText = true;
    state.focusable = true;
    if (memo()->isReadOnly())
        state.readOnly = true;
    else
        state.editable = true;
    return state;
}

QString ScriptMemoAccessible::text(QAccessible::Text type) const
{
    if (type != QAccessible::Value)
        return QAccessibleWidget::text(type);
    // A large text is read through the text interface, a stretch at a time.
    return memo()->textLength() <= kTextLimit ? memo()->wholeText() : QString();
}

// ---- Caret and selection -------------------------------------------------------------------

int ScriptMemoAccessible::cursorPosition() const
{
    return int(memo()->caretOffset());
}

void ScriptMemoAccessible::setCursorPosition(int position)
{
    select(position, position);
}

int ScriptMemoAccessible::selectionCount() const
{
    return memo()->SelLength() > 0 ? 1 : 0;
}

void ScriptMemoAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || memo()->SelLength() == 0)
        return;
    *startOffset = int(memo()->SelStart());
    *endOffset = int(memo()->SelStart() + memo()->SelLength());
}

// The memo has one selection: adding one replaces it.
void ScriptMemoAccessible::addSelection(int startOffset, int endOffset)
{
    select(startOffset, endOffset);
}

void ScriptMemoAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        select(memo()->caretOffset(), memo()->caretOffset());
}

void ScriptMemoAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        select(startOffset, endOffset);
}

void ScriptMemoAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    select(startIndex, endIndex);
}

void ScriptMemoAccessible::select(qsizetype anchor, qsizetype caret)
{
    memo()->setSelection(anchor, caret);
    memo()->ensureCursorVisible();
}

// ---- Text ----------------------------------------------------------------------------------

int ScriptMemoAccessible::characterCount() const
{
    return int(memo()->textLength());
}

QString ScriptMemoAccessible::text(int startOffset, int endOffset) const
{
    if (endOffset == -1)
        endOffset = characterCount();
    if (startOffset < 0 || endOffset < startOffset)
        return QString();
    return memo()->textRange(startOffset, endOffset - startOffset);
}

QString ScriptMemoAccessible::attributes(int, int *startOffset, int *endOffset) const
{
    // The text carries no attributes: one run without any covers it.
    *startOffset = 0;
    *endOffset = characterCount();
    return QString();
}

ScriptMemoAccessible::Span ScriptMemoAccessible::itemAt(qsizetype offset,
                                                        QAccessible::TextBoundaryType boundaryType) const
{
    const ScriptMemo *m = memo();
    const qsizetype length = m->textLength();
    if (offset < 0 || offset > length || length == 0)
        return {};
    if (boundaryType == QAccessible::NoBoundary)
        return {0, length};
    const int line = m->lineOfOffset(offset);
    const qsizetype lineStart = m->lineStartOffset(line);
    const qsizetype nextLineStart = line + 1 < m->lineCount() ? m->lineStartOffset(line + 1) : length;
    if (isLineBoundary(boundaryType))
        return {lineStart, nextLineStart}; // with its line break
    if (boundaryType == QAccessible::CharBoundary) {
        if (offset == length)
            return {};
        // A line break is one character of two offsets.
        const qsizetype lineEnd = line + 1 < m->lineCount() ? nextLineStart - 2 : length;
        if (offset >= lineEnd)
            return {lineEnd, nextLineStart};
        // A character outside the Basic Multilingual Plane is one character of two offsets.
        const qsizetype start = m->document()->snapped(offset);
        return {start, m->document()->nextCharacter(start)};
    }
    return wordOrSentenceAt(offset, boundaryType);
}

ScriptMemoAccessible::Span ScriptMemoAccessible::wordOrSentenceAt(qsizetype offset,
                                                                  QAccessible::TextBoundaryType boundaryType) const
{
    const ScriptMemo *m = memo();
    const int line = m->lineOfOffset(offset);
    const qsizetype nextLineStart = line + 1 < m->lineCount() ? m->lineStartOffset(line + 1) : m->textLength();
    const qsizetype from = qMax(m->lineStartOffset(line), offset - kItemReach);
    const qsizetype to = qMin(nextLineStart, offset + kItemReach);
    const QString stretch = m->textRange(from, to - from);
    if (stretch.isEmpty())
        return {offset, offset};
    // At the end of the text: the item that ends there.
    const int pos = int(qMin(offset - from, qsizetype(stretch.size()) - 1));
    const auto type =
        boundaryType == QAccessible::SentenceBoundary ? QTextBoundaryFinder::Sentence : QTextBoundaryFinder::Word;
    const auto [start, end] = finderItemAt(type, stretch, pos);
    return {from + start, from + end};
}

QString ScriptMemoAccessible::spanText(Span span, int *startOffset, int *endOffset) const
{
    *startOffset = int(span.start);
    *endOffset = int(span.end);
    return span.isValid() ? memo()->textRange(span.start, span.end - span.start) : QString();
}

QString ScriptMemoAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                                           int *endOffset) const
{
    if (offset == -1)
        offset = characterCount();
    return spanText(itemAt(offset, boundaryType), startOffset, endOffset);
}

QString ScriptMemoAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                                               int *endOffset) const
{
    if (offset == -1)
        offset = characterCount();
    Span before;
    if (boundaryType != QAccessible::NoBoundary && offset > 0 && offset <= characterCount()) {
        // Before the end of the text lies its last character, word or sentence; before the last
        // line, the line above.
        const Span at = offset < characterCount() || isLineBoundary(boundaryType) ? itemAt(offset, boundaryType)
                                                                                  : Span{offset, offset};
        if (at.start > 0)
            before = itemAt(at.start - 1, boundaryType);
    }
    return spanText(before, startOffset, endOffset);
}

QString ScriptMemoAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                                              int *endOffset) const
{
    if (offset == -1)
        offset = characterCount();
    Span after;
    if (boundaryType != QAccessible::NoBoundary && offset >= 0 && offset < characterCount()) {
        const Span at = itemAt(offset, boundaryType);
        // A text that ends with a line break has an empty last line after it.
        const bool lineFollows =
            isLineBoundary(boundaryType) && memo()->lineOfOffset(at.end) != memo()->lineOfOffset(offset);
        if (at.end < characterCount() || lineFollows)
            after = itemAt(at.end, boundaryType);
    }
    return spanText(after, startOffset, endOffset);
}

// ---- Geometry ------------------------------------------------------------------------------

QRect ScriptMemoAccessible::characterRect(int offset) const
{
    const ScriptMemo *m = memo();
    const Span character = itemAt(offset, QAccessible::CharBoundary);
    if (!character.isValid())
        return {};
    QRect rect = m->offsetRect(character.start);
    if (rect.isNull())
        return {};
    // As wide as the step to the next character on the same row; a line break, or the last
    // character of a row, as wide as a space.
    const QRect next = m->offsetRect(character.end);
    if (!next.isNull() && next.top() == rect.top() && next.left() > rect.left())
        rect.setRight(next.left() - 1);
    else
        rect.setWidth(qMax(1, m->fontMetrics().horizontalAdvance(u' ')));
    return QRect(m->viewport()->mapToGlobal(rect.topLeft()), rect.size());
}

int ScriptMemoAccessible::offsetAtPoint(const QPoint &point) const
{
    const ScriptMemo *m = memo();
    const QPoint local = m->viewport()->mapFromGlobal(point);
    if (!m->viewport()->rect().contains(local))
        return -1;
    // The memo gives the caret place nearest to the point; the character under it is the one
    // before that place when the point lies left of it on the same row.
    const qsizetype offset = m->offsetAt(local);
    if (offset > 0) {
        const QRect place = m->offsetRect(offset);
        const qsizetype previous = itemAt(offset - 1, QAccessible::CharBoundary).start;
        const QRect previousPlace = m->offsetRect(previous);
        if (local.x() < place.left() && !previousPlace.isNull() && previousPlace.top() == place.top())
            return int(previous);
    }
    return int(offset);
}

// ---- Editing -------------------------------------------------------------------------------

void ScriptMemoAccessible::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, QString());
}

void ScriptMemoAccessible::insertText(int offset, const QString &text)
{
    replaceText(offset, offset, text);
}

// Goes in as if the stretch were selected and the text typed over it: the caret ends after it.
void ScriptMemoAccessible::replaceText(int startOffset, int endOffset, const QString &text)
{
    ScriptMemo *m = memo();
    if (m->isReadOnly() || m->isLoading() || startOffset < 0 || endOffset < startOffset || endOffset > m->textLength())
        return;
    // A stretch that ends inside a line break takes the whole break; one that starts inside one
    // starts before it (the memo snaps there).
    qsizetype end = endOffset;
    if (end > 0 && m->textRange(end - 1, 2) == ScriptText::kCrLf)
        ++end;
    m->setSelection(startOffset, end);
    m->setSelText(text);
}
