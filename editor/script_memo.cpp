#include "editor/script_memo.h"

#include "common/win1251_codec.h"
#include "editor/script_text.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDrag>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextLine>
#include <QUrl>

#include <algorithm>

namespace {

QList<QKeySequence> &reservedShortcuts()
{
    static QList<QKeySequence> shortcuts;
    return shortcuts;
}

// Lines longer than this are laid out in pieces of this many characters, each starting a row of
// its own, so that a huge line (a binary file, a minified script) never costs more than a page.
constexpr int kSegmentLength = 4096;
// The gap between the text and the viewport's edges, and between the line numbers and the text.
constexpr int kTextMargin = 4;
// How many laid-out lines the view keeps before it starts afresh.
constexpr std::size_t kMaxCachedLayouts = 2000;
// The distance between tab stops, as the toolkit's text controls have it.
constexpr qreal kTabStopDistance = 80;
// The largest removal whose bytes the last change keeps for those who follow changes; a larger one
// is told by its length only, so that its bytes are not held longer than the undo history holds them.
constexpr qsizetype kKeptRemovalLength = qsizetype(1) << 20;

bool isControlCharacter(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F || c.unicode() == 0x98;
}

} // namespace

// One laid-out line: a QTextLayout per segment, and its rows (visual lines) from top to bottom.
struct ScriptMemo::LineLayout {
    struct RowInfo {
        int segment = 0;
        int textLine = 0;
        int startColumn = 0; // in the line
        int endColumn = 0;
        qreal top = 0;       // from the line's top
        qreal height = 0;
    };
    std::vector<int> segmentStarts;
    std::vector<RowInfo> rows;
    qreal height = 0;
    qreal width = 0;
    int startState = 0; // the styler's state the line was laid out in
    // A long line keeps its shown text: its segments, one row each, are laid out when first asked for.
    QString longText;
    QFont font;

    int segmentCount() const { return int(segmentStarts.size()); }
    int segmentLength(int i, int lineLength) const
    {
        return (i + 1 < segmentCount() ? segmentStarts[i + 1] : lineLength) - segmentStarts[i];
    }
    const QTextLayout &segment(int i) const
    {
        std::unique_ptr<QTextLayout> &laid = segments[i];
        if (!laid) {
            // Only a long line's segments are laid out late: one row of text each.
            const int end = i + 1 < segmentCount() ? segmentStarts[i + 1] : int(longText.size());
            laid = std::make_unique<QTextLayout>(longText.mid(segmentStarts[i], end - segmentStarts[i]), font);
            QTextOption option;
            option.setWrapMode(QTextOption::NoWrap);
            option.setTabStopDistance(kTabStopDistance);
            laid->setTextOption(option);
            laid->beginLayout();
            QTextLine line = laid->createLine();
            line.setLineWidth(1e9);
            line.setPosition(QPointF(0, rows[i].top));
            laid->endLayout();
        }
        return *laid;
    }
    // The top and the bottom of a segment's rows, from the line's top.
    std::pair<qreal, qreal> segmentSpan(int i) const
    {
        if (!longText.isNull())
            return {rows[i].top, rows[i].top + rows[i].height};
        qreal top = -1, bottom = 0;
        for (const RowInfo &row : rows) {
            if (row.segment != i)
                continue;
            if (top < 0)
                top = row.top;
            bottom = row.top + row.height;
        }
        return {qMax<qreal>(0, top), bottom};
    }

    int segmentOf(int column) const
    {
        const auto next = std::upper_bound(segmentStarts.begin(), segmentStarts.end(), column);
        return int(next - segmentStarts.begin()) - 1;
    }
    // The row that shows column; a column at a wrap point belongs to the row it starts.
    int rowOf(int column) const
    {
        if (!longText.isNull()) // one row per segment
            return qMin(segmentOf(column), int(rows.size()) - 1);
        for (int i = int(rows.size()) - 1; i > 0; --i) {
            if (column >= rows[i].startColumn)
                return i;
        }
        return 0;
    }
    QTextLine textLine(int row) const { return segment(rows[row].segment).lineAt(rows[row].textLine); }

    mutable std::vector<std::unique_ptr<QTextLayout>> segments;
};

// A row of the view: which line, and which of its rows.
struct ScriptMemo::Row {
    int line = 0;
    int row = 0;
};

// One command's edits: they make one undo step and signal Change once, after the caret moved.
class ScriptMemo::EditScope {
public:
    EditScope(ScriptMemo *memo, EditHistory::Kind kind = EditHistory::Kind::Other) : m_memo(memo), m_kind(kind)
    {
        if (m_memo->m_scopeDepth++ == 0) {
            m_memo->m_step = EditHistory::Step{};
            m_memo->m_step.before = {m_memo->m_anchor, m_memo->m_caret};
        }
    }
    ~EditScope()
    {
        if (--m_memo->m_scopeDepth > 0)
            return;
        if (!m_memo->m_step.replacements.isEmpty()) {
            m_memo->m_step.after = {m_memo->m_anchor, m_memo->m_caret};
            m_memo->m_history.record(std::move(m_memo->m_step), m_kind);
        }
        m_memo->m_step = EditHistory::Step{};
        if (m_memo->m_changed) {
            m_memo->m_changed = false;
            m_memo->textReplaced();
        }
    }

private:
    ScriptMemo *m_memo;
    EditHistory::Kind m_kind;
};

ScriptMemo::ScriptMemo(QWidget *parent) : QAbstractScrollArea(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true); // drops arrive in the viewport's coordinates
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    updateScrollRange();
}

ScriptMemo::~ScriptMemo() = default;

void ScriptMemo::setReservedShortcuts(const QList<QKeySequence> &shortcuts)
{
    reservedShortcuts() = shortcuts;
}

// ---- Reading the text ----------------------------------------------------------------------

qsizetype ScriptMemo::SelStart() const
{
    return qMin(m_anchor, m_caret);
}

qsizetype ScriptMemo::SelLength() const
{
    return qAbs(m_caret - m_anchor);
}

QString ScriptMemo::SelText() const
{
    return m_text.text(SelStart(), SelLength());
}

QPoint ScriptMemo::CaretPos() const
{
    const qsizetype end = qMax(m_anchor, m_caret);
    const int line = m_text.lineOf(end);
    return QPoint(int(end - m_text.lineStart(line)), line);
}

QString ScriptMemo::line(int index) const
{
    if (index < 0 || index >= lineCount())
        return QString();
    return m_text.lineText(index);
}

QByteArray ScriptMemo::fileBytes(const Progress &progress) const
{
    return m_text.allBytes(progress);
}

QString ScriptMemo::wholeText() const
{
    return m_text.text(0, m_text.length());
}

QString ScriptMemo::textRange(qsizetype start, qsizetype length) const
{
    start = qBound<qsizetype>(0, start, m_text.length());
    return m_text.text(start, qBound<qsizetype>(0, length, m_text.length() - start));
}

QString ScriptMemo::toPlainText() const
{
    return wholeText().replace(ScriptText::kCrLf, QStringLiteral("\n"));
}

// ---- Selection -----------------------------------------------------------------------------

void ScriptMemo::setSelection(qsizetype anchor, qsizetype caret)
{
    if (isLoading())
        return;
    anchor = m_text.snapped(anchor);
    caret = m_text.snapped(caret);
    if (anchor == m_anchor && caret == m_caret)
        return;
    m_anchor = anchor;
    m_caret = caret;
    m_history.close();
    restartBlink();
    viewport()->update();
    updatePrimarySelection();
    emit caretMoved();
}

void ScriptMemo::setSelStart(qsizetype offset)
{
    setSelection(offset, offset);
}

void ScriptMemo::setSelLength(qsizetype length)
{
    const qsizetype start = SelStart();
    setSelection(start, start + qMax<qsizetype>(0, length));
    ensureCursorVisible();
}

void ScriptMemo::selectAll()
{
    setSelection(0, m_text.length());
}

void ScriptMemo::moveCaret(qsizetype offset, bool keepAnchor)
{
    m_desiredX = -1;
    setSelection(keepAnchor ? m_anchor : offset, offset);
    ensureCursorVisible();
}

// ---- Editing -------------------------------------------------------------------------------

bool ScriptMemo::replaceBytes(qsizetype start, qsizetype length, const QByteArray &bytes)
{
    Q_ASSERT(m_scopeDepth > 0);
    // While a file is read into the window nothing else goes in: it would be lost under the file's text.
    if ((length == 0 && bytes.isEmpty()) || isLoading())
        return false;
    const int firstLine = m_text.lineOf(start);
    const int lastLine = m_text.lineOf(start + length);
    const int linesBefore = lineCount();
    m_step.replacements.append({start, m_text.bytes(start, length), bytes});
    noteReplacement(start, length, bytes.size(), m_step.replacements.constLast().removed);
    m_text.replace(start, length, bytes);
    // Lines gone from under the view: its top comes back onto the text before anything is laid out,
    // at the first row of a top line that was edited.
    if (lineCount() < linesBefore && m_topLine >= firstLine) {
        m_topLine = qMin(m_topLine, lineCount() - 1);
        if (m_topLine <= lastLine)
            m_topRow = 0;
    }
    shiftLayouts(firstLine, lastLine, lineCount() - linesBefore);
    if (lineCount() != linesBefore || lastLine >= m_lastTopLine)
        m_lastTopLine = -1;
    updateLineStates(firstLine, lastLine, lineCount() - linesBefore);
    m_modified = true;
    m_changed = true;
    return true;
}

// Widens the last change by a replacement of the command under way; the first one starts it afresh.
void ScriptMemo::noteReplacement(qsizetype start, qsizetype length, qsizetype insertedLength, const QByteArray &removed)
{
    if (!m_changed) {
        m_lastChange = {start, length, insertedLength, length <= kKeptRemovalLength ? removed : QByteArray()};
        return;
    }
    // The stretch so far and this replacement, in the text before it, joined; what lies between
    // them is unchanged text that counts as removed and inserted again.
    TextChange &change = m_lastChange;
    const qsizetype end = change.start + change.insertedLength;
    const qsizetype joinedStart = qMin(change.start, start);
    const qsizetype joinedEnd = qMax(end, start + length);
    change.removedLength += (change.start - joinedStart) + (joinedEnd - end);
    change.insertedLength = joinedEnd - joinedStart + insertedLength - length;
    change.start = joinedStart;
    change.removed.clear();
}

void ScriptMemo::textReplaced()
{
    m_desiredX = -1;
    updateScrollRange();
    restartBlink();
    viewport()->update();
    emit caretMoved();
    emit Change();
}

bool ScriptMemo::setSelText(const QString &text)
{
    EditScope scope(this);
    const qsizetype start = SelStart();
    const QByteArray bytes = ScriptText::encodedText(text);
    if (!replaceBytes(start, SelLength(), bytes))
        return false;
    m_anchor = m_caret = start + bytes.size();
    return true;
}

bool ScriptMemo::setLine(int index, const QString &text)
{
    if (index < 0 || index >= lineCount())
        return false;
    EditScope scope(this);
    const qsizetype start = m_text.lineStart(index);
    if (!replaceBytes(start, m_text.lineLength(index), ScriptText::encodedText(text)))
        return false;
    m_anchor = m_text.snapped(m_anchor);
    m_caret = m_text.snapped(m_caret);
    return true;
}

bool ScriptMemo::clearLines()
{
    EditScope scope(this);
    if (!replaceBytes(0, m_text.length(), QByteArray()))
        return false;
    m_anchor = m_caret = 0;
    return true;
}

bool ScriptMemo::appendAsLine(const QString &text)
{
    EditScope scope(this);
    const QByteArray bytes = ScriptText::appendedAsLine(m_text.endsWithLineBreak(), text);
    if (!replaceBytes(m_text.length(), 0, bytes))
        return false;
    m_anchor = m_caret = m_text.length();
    ensureCursorVisible();
    return true;
}

bool ScriptMemo::replaceRanges(const QList<Range> &ranges, const QString &text)
{
    if (ranges.isEmpty())
        return false;
    EditScope scope(this);
    const QByteArray bytes = ScriptText::encodedText(text);
    // From the last range back, so that the offsets of the ranges still to do stay valid.
    bool changed = false;
    for (auto range = ranges.crbegin(); range != ranges.crend(); ++range)
        changed = replaceBytes(range->start, range->length, bytes) || changed;
    if (!changed)
        return false;
    qsizetype caret = ranges.constLast().start + bytes.size();
    for (qsizetype i = 0; i + 1 < ranges.size(); ++i)
        caret += bytes.size() - ranges.at(i).length;
    m_anchor = m_caret = caret;
    ensureCursorVisible();
    return true;
}

void ScriptMemo::loadFile(const QByteArray &fileBytes, const Progress &progress)
{
    loadPrepared(TextBuffer::prepare(fileBytes, progress));
}

void ScriptMemo::loadPrepared(TextBuffer::Prepared &&text)
{
    m_loadingPercent = -1;
    EditScope scope(this);
    m_lastChange = {0, m_text.length(), text.bytes.size(), {}};
    m_text.adopt(std::move(text));
    m_history.clear();
    forgetLayouts();
    m_lineStates.clear();
    m_highlights.clear();
    m_widestLine = 0;
    m_anchor = m_caret = 0;
    m_topLine = m_topRow = 0;
    m_xOffset = 0;
    m_modified = false;
    m_changed = true;
    startStateWarmUp();
}

void ScriptMemo::setLoadingProgress(int percent)
{
    m_loadingPercent = percent;
    viewport()->update();
}

void ScriptMemo::loadText(QStringView text, const Progress &progress)
{
    loadFile(ScriptText::encodedText(text), progress);
}

bool ScriptMemo::insertTyped(const QString &text)
{
    if (!takesEdits() || text.isEmpty())
        return false;
    const qsizetype start = SelStart();
    const QByteArray bytes = ScriptText::encodedText(text);
    {
        EditScope scope(this, EditHistory::Kind::Typing);
        if (!replaceBytes(start, SelLength(), bytes))
            return false;
        m_anchor = m_caret = start + bytes.size();
        ensureCursorVisible();
    }
    emit typed(text);
    return true;
}

bool ScriptMemo::deleteSelectionOr(qsizetype from, qsizetype to, EditHistory::Kind kind)
{
    if (!takesEdits())
        return false;
    if (SelLength() > 0) {
        from = SelStart();
        to = from + SelLength();
        kind = EditHistory::Kind::Other;
    }
    if (from >= to)
        return false;
    EditScope scope(this, kind);
    if (!replaceBytes(from, to - from, QByteArray()))
        return false;
    m_anchor = m_caret = from;
    ensureCursorVisible();
    return true;
}

void ScriptMemo::applyHistoryStep(const EditHistory::Step &step, bool undoing)
{
    {
        EditScope scope(this);
        if (undoing) {
            for (auto r = step.replacements.crbegin(); r != step.replacements.crend(); ++r)
                replaceBytes(r->start, r->inserted.size(), r->removed);
        } else {
            for (const EditHistory::Replacement &r : step.replacements)
                replaceBytes(r.start, r.removed.size(), r.inserted);
        }
        const EditHistory::Selection &selection = undoing ? step.before : step.after;
        m_anchor = m_text.snapped(selection.anchor);
        m_caret = m_text.snapped(selection.caret);
        // The replayed edits are not a step of their own.
        m_step.replacements.clear();
    }
    ensureCursorVisible();
}

bool ScriptMemo::undo()
{
    if (!m_history.canUndo() || !takesEdits())
        return false;
    applyHistoryStep(m_history.takeUndo(), true);
    return true;
}

bool ScriptMemo::redo()
{
    if (!m_history.canRedo() || !takesEdits())
        return false;
    applyHistoryStep(m_history.takeRedo(), false);
    return true;
}

// ---- Clipboard -----------------------------------------------------------------------------

QMimeData *ScriptMemo::selectionMimeData() const
{
    auto *data = new QMimeData;
    // The desktop's clipboard holds LF line breaks.
    data->setText(SelText().replace(ScriptText::kCrLf, QStringLiteral("\n")));
    return data;
}

void ScriptMemo::copy()
{
    if (SelLength() > 0)
        QGuiApplication::clipboard()->setMimeData(selectionMimeData());
}

bool ScriptMemo::cut()
{
    if (SelLength() == 0 || !takesEdits())
        return false;
    copy();
    return deleteSelectionOr(0, 0, EditHistory::Kind::Other);
}

bool ScriptMemo::paste()
{
    return takesEdits() && insertFromMimeData(QGuiApplication::clipboard()->mimeData());
}

bool ScriptMemo::insertFromMimeData(const QMimeData *source)
{
    if (!source || !source->hasText() || !takesEdits())
        return false;
    EditScope scope(this);
    const qsizetype start = SelStart();
    const QByteArray bytes = ScriptText::encodedText(source->text());
    if (!replaceBytes(start, SelLength(), bytes))
        return false;
    m_anchor = m_caret = start + bytes.size();
    ensureCursorVisible();
    return true;
}

void ScriptMemo::updatePrimarySelection()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (clipboard->supportsSelection() && SelLength() > 0 && SelLength() < (qsizetype(1) << 24))
        clipboard->setMimeData(selectionMimeData(), QClipboard::Selection);
}

// ---- Caret movement ------------------------------------------------------------------------

qsizetype ScriptMemo::previousCharacter(qsizetype offset) const
{
    if (offset <= 0)
        return 0;
    // A line break is one step: from a line's start back to the end of the line before.
    if (offset >= 2 && m_text.byteAt(offset - 1) == '\n')
        return offset - 2;
    return offset - 1;
}

qsizetype ScriptMemo::nextCharacter(qsizetype offset) const
{
    if (offset >= m_text.length())
        return m_text.length();
    if (m_text.byteAt(offset) == '\r' && offset + 1 < m_text.length())
        return offset + 2;
    return offset + 1;
}

namespace {

bool isWordByte(char b)
{
    const QChar c = Win1251::toUnicode(uchar(b));
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

} // namespace

qsizetype ScriptMemo::wordStartBefore(qsizetype offset) const
{
    qsizetype at = previousCharacter(offset);
    while (at > 0 && !isWordByte(m_text.byteAt(at)) && m_text.byteAt(at) != '\n')
        at = previousCharacter(at);
    while (at > 0 && isWordByte(m_text.byteAt(at - 1)))
        --at;
    return at;
}

qsizetype ScriptMemo::wordEndAfter(qsizetype offset) const
{
    qsizetype at = offset;
    const qsizetype length = m_text.length();
    if (at < length && m_text.byteAt(at) == '\r')
        return nextCharacter(at);
    while (at < length && isWordByte(m_text.byteAt(at)))
        ++at;
    while (at < length && !isWordByte(m_text.byteAt(at)) && m_text.byteAt(at) != '\r')
        ++at;
    return at;
}

ScriptMemo::Row ScriptMemo::rowAt(qsizetype offset) const
{
    const int line = m_text.lineOf(offset);
    return {line, layoutOf(line).rowOf(int(offset - m_text.lineStart(line)))};
}

qreal ScriptMemo::rowX(qsizetype offset) const
{
    const int line = m_text.lineOf(offset);
    const LineLayout &layout = layoutOf(line);
    const int column = int(offset - m_text.lineStart(line));
    const int row = layout.rowOf(column);
    return layout.textLine(row).cursorToX(column - layout.segmentStarts[layout.rows[row].segment]);
}

qsizetype ScriptMemo::rowMove(qsizetype offset, int rows)
{
    if (m_desiredX < 0)
        m_desiredX = rowX(offset);
    Row at = rowAt(offset);
    for (int step = 0; step < qAbs(rows); ++step) {
        if (rows < 0) {
            if (at.row > 0) {
                --at.row;
            } else if (at.line > 0) {
                --at.line;
                at.row = int(layoutOf(at.line).rows.size()) - 1;
            } else {
                return 0;
            }
        } else {
            if (at.row + 1 < int(layoutOf(at.line).rows.size())) {
                ++at.row;
            } else if (at.line + 1 < lineCount()) {
                ++at.line;
                at.row = 0;
            } else {
                return m_text.length();
            }
        }
    }
    const LineLayout &layout = layoutOf(at.line);
    const LineLayout::RowInfo &info = layout.rows[at.row];
    int column = layout.textLine(at.row).xToCursor(m_desiredX) + layout.segmentStarts[info.segment];
    column = qBound(info.startColumn, column, info.endColumn);
    return m_text.lineStart(at.line) + column;
}

qsizetype ScriptMemo::rowEdge(qsizetype offset, bool end) const
{
    const int line = m_text.lineOf(offset);
    const LineLayout &layout = layoutOf(line);
    const LineLayout::RowInfo &info = layout.rows[layout.rowOf(int(offset - m_text.lineStart(line)))];
    qsizetype column = end ? info.endColumn : info.startColumn;
    // At a wrap point the end of a row is the start of the next: stay before the row's last space.
    if (end && info.endColumn < m_text.lineLength(line) && column > info.startColumn)
        --column;
    return m_text.lineStart(line) + column;
}

void ScriptMemo::selectWordAt(qsizetype offset)
{
    qsizetype start = offset;
    qsizetype end = offset;
    while (start > 0 && isWordByte(m_text.byteAt(start - 1)))
        --start;
    while (end < m_text.length() && isWordByte(m_text.byteAt(end)))
        ++end;
    if (start == end && end < m_text.length() && m_text.byteAt(end) != '\r')
        ++end;
    setSelection(start, end);
}

void ScriptMemo::selectLineAt(qsizetype offset)
{
    const int line = m_text.lineOf(offset);
    const qsizetype end = line + 1 < lineCount() ? m_text.lineStart(line + 1) : m_text.length();
    setSelection(m_text.lineStart(line), end);
}

// ---- Keys ----------------------------------------------------------------------------------

bool ScriptMemo::handleMovementKey(QKeyEvent *event)
{
    struct Move {
        QKeySequence::StandardKey key;
        QKeySequence::StandardKey selecting;
        std::function<qsizetype(ScriptMemo *, qsizetype)> target;
    };
    const int pageRows = qMax(1, viewport()->height() / qMax(1, fontMetrics().lineSpacing()) - 1);
    static const auto lineStartOf = [](ScriptMemo *m, qsizetype o) { return m->m_text.lineStart(m->m_text.lineOf(o)); };
    static const auto lineEndOf = [](ScriptMemo *m, qsizetype o) { return m->m_text.lineEnd(m->m_text.lineOf(o)); };
    const Move moves[] = {
        {QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar,
         [](ScriptMemo *m, qsizetype o) { return m->nextCharacter(o); }},
        {QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar,
         [](ScriptMemo *m, qsizetype o) { return m->previousCharacter(o); }},
        {QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord,
         [](ScriptMemo *m, qsizetype o) { return m->wordEndAfter(o); }},
        {QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord,
         [](ScriptMemo *m, qsizetype o) { return m->wordStartBefore(o); }},
        {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine,
         [](ScriptMemo *m, qsizetype o) { return m->rowEdge(o, false); }},
        {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine,
         [](ScriptMemo *m, qsizetype o) { return m->rowEdge(o, true); }},
        {QKeySequence::MoveToStartOfBlock, QKeySequence::SelectStartOfBlock, lineStartOf},
        {QKeySequence::MoveToEndOfBlock, QKeySequence::SelectEndOfBlock, lineEndOf},
        {QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument,
         [](ScriptMemo *, qsizetype) { return qsizetype(0); }},
        {QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument,
         [](ScriptMemo *m, qsizetype) { return m->m_text.length(); }},
    };
    for (const Move &move : moves) {
        const bool selecting = event->matches(move.selecting);
        if (selecting || event->matches(move.key)) {
            moveCaret(move.target(this, m_caret), selecting);
            return true;
        }
    }
    const struct {
        QKeySequence::StandardKey key, selecting;
        int rows;
    } vertical[] = {
        {QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine, 1},
        {QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine, -1},
        {QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage, pageRows},
        {QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage, -pageRows},
    };
    for (const auto &move : vertical) {
        const bool selecting = event->matches(move.selecting);
        if (selecting || event->matches(move.key)) {
            // The column aimed at stays that of the first vertical move until the caret moves otherwise.
            const qsizetype target = rowMove(m_caret, move.rows);
            setSelection(selecting ? m_anchor : target, target);
            ensureCursorVisible();
            return true;
        }
    }
    return false;
}

bool ScriptMemo::handleEditingKey(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy)) {
        copy();
    } else if (event->matches(QKeySequence::Cut)) {
        cut();
    } else if (event->matches(QKeySequence::Paste)) {
        paste();
    } else if (event->matches(QKeySequence::Undo)) {
        undo();
    } else if (event->matches(QKeySequence::Redo)) {
        redo();
    } else if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
    } else if (event->matches(QKeySequence::InsertParagraphSeparator)
               || event->matches(QKeySequence::InsertLineSeparator)) {
        insertTyped(ScriptText::kCrLf);
    } else if (event->matches(QKeySequence::Delete)) {
        deleteSelectionOr(m_caret, nextCharacter(m_caret), EditHistory::Kind::DeletingForward);
    } else if (event->matches(QKeySequence::DeleteEndOfWord)) {
        deleteSelectionOr(m_caret, wordEndAfter(m_caret), EditHistory::Kind::Other);
    } else if (event->matches(QKeySequence::DeleteStartOfWord)) {
        deleteSelectionOr(wordStartBefore(m_caret), m_caret, EditHistory::Kind::Other);
    } else if (event->matches(QKeySequence::DeleteEndOfLine)) {
        deleteSelectionOr(m_caret, qMax(nextCharacter(m_caret) == m_caret + 2 ? m_caret + 2 : m_caret,
                                        m_text.lineEnd(m_text.lineOf(m_caret))),
                          EditHistory::Kind::Other);
    } else if (event->key() == Qt::Key_Backspace && !(event->modifiers() & ~Qt::ShiftModifier)) {
        deleteSelectionOr(previousCharacter(m_caret), m_caret, EditHistory::Kind::DeletingBackward);
    } else {
        return false;
    }
    return true;
}

bool ScriptMemo::isEditorKey(QKeyEvent *event) const
{
    static const QKeySequence::StandardKey keys[] = {
        QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste, QKeySequence::Undo, QKeySequence::Redo,
        QKeySequence::SelectAll, QKeySequence::Delete, QKeySequence::DeleteEndOfWord,
        QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfLine, QKeySequence::MoveToNextChar,
        QKeySequence::MoveToPreviousChar, QKeySequence::MoveToNextWord, QKeySequence::MoveToPreviousWord,
        QKeySequence::MoveToNextLine, QKeySequence::MoveToPreviousLine, QKeySequence::MoveToNextPage,
        QKeySequence::MoveToPreviousPage, QKeySequence::MoveToStartOfLine, QKeySequence::MoveToEndOfLine,
        QKeySequence::MoveToStartOfBlock, QKeySequence::MoveToEndOfBlock, QKeySequence::MoveToStartOfDocument,
        QKeySequence::MoveToEndOfDocument, QKeySequence::SelectNextChar, QKeySequence::SelectPreviousChar,
        QKeySequence::SelectNextWord, QKeySequence::SelectPreviousWord, QKeySequence::SelectNextLine,
        QKeySequence::SelectPreviousLine, QKeySequence::SelectNextPage, QKeySequence::SelectPreviousPage,
        QKeySequence::SelectStartOfLine, QKeySequence::SelectEndOfLine, QKeySequence::SelectStartOfBlock,
        QKeySequence::SelectEndOfBlock, QKeySequence::SelectStartOfDocument, QKeySequence::SelectEndOfDocument,
        QKeySequence::InsertParagraphSeparator, QKeySequence::InsertLineSeparator,
    };
    for (QKeySequence::StandardKey key : keys) {
        if (event->matches(key))
            return true;
    }
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).isPrint() && !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
}

bool ScriptMemo::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (reservedShortcuts().contains(QKeySequence(key->keyCombination()))) {
            event->ignore();
            return true;
        }
        // The editor's own keys reach it even where the application binds them too.
        if (isEditorKey(key)) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void ScriptMemo::keyPressEvent(QKeyEvent *event)
{
    // Tab only moves the focus; it never becomes text.
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        event->ignore();
        return;
    }
    if (handleMovementKey(event) || (!m_readOnly && handleEditingKey(event))) {
        event->accept();
        return;
    }
    const QString text = event->text();
    const bool typed = !text.isEmpty() && !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        && std::none_of(text.begin(), text.end(), [](QChar c) { return isControlCharacter(c) && c != u'\t'; });
    if (typed && !m_readOnly) {
        insertTyped(text);
        event->accept();
        return;
    }
    event->ignore();
}

// ---- Input methods -------------------------------------------------------------------------

void ScriptMemo::inputMethodEvent(QInputMethodEvent *event)
{
    if (!takesEdits()) {
        event->ignore();
        return;
    }
    if (!event->commitString().isEmpty() || event->replacementLength() > 0) {
        EditScope scope(this, EditHistory::Kind::Typing);
        qsizetype start = SelStart();
        qsizetype length = SelLength();
        if (event->replacementLength() > 0 || event->replacementStart() != 0) {
            start = m_text.snapped(m_caret + event->replacementStart());
            length = m_text.snapped(start + event->replacementLength()) - start;
        }
        const QByteArray bytes = ScriptText::encodedText(event->commitString());
        if (replaceBytes(start, length, bytes))
            m_anchor = m_caret = start + bytes.size();
    }
    if (!event->commitString().isEmpty())
        emit typed(event->commitString());
    m_preedit = event->preeditString();
    m_preeditCursor = int(m_preedit.size());
    for (const QInputMethodEvent::Attribute &attribute : event->attributes()) {
        if (attribute.type == QInputMethodEvent::Cursor)
            m_preeditCursor = attribute.start;
    }
    refreshLines(m_text.lineOf(m_caret), m_text.lineOf(m_caret));
    ensureCursorVisible();
    viewport()->update();
    event->accept();
}

QVariant ScriptMemo::inputMethodQuery(Qt::InputMethodQuery query) const
{
    const int line = m_text.lineOf(m_caret);
    const qsizetype lineStart = m_text.lineStart(line);
    switch (query) {
    case Qt::ImEnabled:
        return !m_readOnly;
    case Qt::ImCursorRectangle:
        return offsetRect(m_caret).translated(viewport()->pos());
    case Qt::ImFont:
        return font();
    case Qt::ImCursorPosition:
        return int(m_caret - lineStart);
    case Qt::ImAnchorPosition:
        return int(qBound(lineStart, m_anchor, m_text.lineEnd(line)) - lineStart);
    case Qt::ImSurroundingText:
        return m_text.lineText(line);
    case Qt::ImCurrentSelection:
        return SelLength() < 4096 ? SelText() : QString();
    case Qt::ImHints:
        return int(Qt::ImhMultiLine);
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

// ---- Layout --------------------------------------------------------------------------------

int ScriptMemo::gutterWidth() const
{
    if (!m_lineNumbers)
        return 0;
    const int digits = qMax(3, int(QString::number(lineCount()).size()));
    return fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits + 2 * kTextMargin;
}

int ScriptMemo::textLeft() const
{
    return gutterWidth() + kTextMargin;
}

qreal ScriptMemo::layoutWidth() const
{
    return qMax<qreal>(20, viewport()->width() - textLeft() - kTextMargin);
}

QString ScriptMemo::displayText(QString shown) const
{
    // Control characters (mIRC's bold, colour, underline, reverse and plain codes among them) are
    // shown as the pictures Unicode has for them, one to a character, so offsets stay as they are.
    for (QChar &c : shown) {
        if (c.unicode() < 0x20 && c != u'\t')
            c = QChar(0x2400 + c.unicode());
        else if (c.unicode() == 0x7F)
            c = QChar(0x2421);
        else if (c.unicode() == 0x98)
            c = QChar(0xFFFD);
    }
    return shown;
}

ScriptMemo::LineStyle ScriptMemo::styleOf(int line, int startState) const
{
    // A long line is no script line: it is drawn plain and passes the state on as it came.
    if (m_text.lineLength(line) > kLongLine)
        return {{}, startState};
    return m_styler(m_text.lineText(line), startState);
}

const ScriptMemo::LineLayout &ScriptMemo::layoutOf(int line) const
{
    const auto found = m_layouts.find(line);
    if (found != m_layouts.end()) {
        if (!m_styler || found->second->startState == lineStartState(line))
            return *found->second;
        m_layouts.erase(found);
    }
    if (m_layouts.size() >= kMaxCachedLayouts)
        m_layouts.clear();
    std::unique_ptr<LineLayout> layout = buildLayout(line, true);
    m_widestLine = qMax(m_widestLine, layout->width);
    return *m_layouts.emplace(line, std::move(layout)).first->second;
}

qreal ScriptMemo::lineHeight(int line) const
{
    // A line not laid out yet is measured without its colours, which never change its rows.
    const auto found = m_layouts.find(line);
    return found != m_layouts.end() ? found->second->height : buildLayout(line, false)->height;
}

std::unique_ptr<ScriptMemo::LineLayout> ScriptMemo::buildLayout(int line, bool styled) const
{
    auto layout = std::make_unique<LineLayout>();
    if (m_text.lineLength(line) > kLongLine && m_preedit.isEmpty())
        return buildLongLayout(line, std::move(layout));
    const QString raw = m_text.lineText(line);
    const QString text = displayText(raw);
    const bool preeditHere = !m_preedit.isEmpty() && line == m_text.lineOf(m_caret);
    const int preeditColumn = int(m_caret - m_text.lineStart(line));
    QTextOption option;
    option.setWrapMode(m_wordWrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    option.setTabStopDistance(kTabStopDistance);
    QList<Mark> marks;
    if (m_styler && styled) {
        layout->startState = lineStartState(line);
        marks = styleOf(line, layout->startState).marks;
    }
    const qreal width = m_wordWrap ? layoutWidth() : 1e9;
    qreal y = 0;
    int start = 0;
    do {
        const int length = qMin<int>(kSegmentLength, int(text.size()) - start);
        auto segment = std::make_unique<QTextLayout>(text.mid(start, length), font());
        segment->setCacheEnabled(true);
        segment->setTextOption(option);
        if (preeditHere && preeditColumn >= start && preeditColumn <= start + length)
            segment->setPreeditArea(preeditColumn - start, m_preedit);
        QList<QTextLayout::FormatRange> formats;
        for (const Mark &mark : marks) {
            const int from = qMax(mark.start, start);
            const int to = qMin(mark.start + mark.length, start + length);
            if (from < to)
                formats.append({from - start, to - from, mark.format});
        }
        segment->setFormats(formats);
        segment->beginLayout();
        for (QTextLine textLine = segment->createLine(); textLine.isValid(); textLine = segment->createLine()) {
            textLine.setLineWidth(width);
            textLine.setPosition(QPointF(0, y));
            layout->rows.push_back({int(layout->segments.size()), textLine.lineNumber(), start + textLine.textStart(),
                                    start + textLine.textStart() + textLine.textLength(), y, textLine.height()});
            y += textLine.height();
            layout->width = qMax(layout->width, textLine.naturalTextWidth());
        }
        segment->endLayout();
        layout->segmentStarts.push_back(start);
        layout->segments.push_back(std::move(segment));
        start += length;
    } while (start < text.size());
    // A preedit text lengthens the row it stands in; the rows' columns keep counting the line's text.
    if (preeditHere) {
        for (LineLayout::RowInfo &row : layout->rows) {
            row.startColumn = qMin<int>(row.startColumn, int(text.size()));
            row.endColumn = qMin<int>(row.endColumn, int(text.size()));
        }
    }
    layout->height = y;
    return layout;
}

std::unique_ptr<ScriptMemo::LineLayout> ScriptMemo::buildLongLayout(int line, std::unique_ptr<LineLayout> layout) const
{
    layout->font = font();
    layout->longText = displayText(m_text.lineText(line));
    layout->startState = m_styler ? lineStartState(line) : 0;
    const QFontMetricsF metrics(layout->font);
    const int length = int(layout->longText.size());
    // Rows of as many characters as the view's width holds, or of a segment's length unwrapped.
    const int columns = m_wordWrap ? qMax(16, int(layoutWidth() / qMax<qreal>(1, metrics.horizontalAdvance(u'x'))))
                                   : kSegmentLength;
    const qreal rowHeight = metrics.height();
    const int count = (length + columns - 1) / columns;
    layout->segmentStarts.reserve(count);
    layout->rows.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int start = i * columns;
        layout->segmentStarts.push_back(start);
        layout->rows.push_back({i, 0, start, qMin(length, start + columns), i * rowHeight, rowHeight});
    }
    layout->segments.resize(count);
    layout->height = count * rowHeight;
    layout->width = m_wordWrap ? layoutWidth() : columns * metrics.horizontalAdvance(u'x');
    return layout;
}

void ScriptMemo::forgetLayouts()
{
    m_layouts.clear();
    m_lastTopLine = -1;
}

void ScriptMemo::shiftLayouts(int firstLine, int lastLine, int delta)
{
    // The edited lines are laid out anew; the lines after them keep their layouts under new numbers,
    // so an edit costs no more than the lines it touches.
    m_layouts.erase(m_layouts.lower_bound(firstLine), m_layouts.upper_bound(lastLine));
    if (delta == 0)
        return;
    std::vector<decltype(m_layouts)::node_type> after;
    for (auto it = m_layouts.upper_bound(lastLine); it != m_layouts.end();)
        after.push_back(m_layouts.extract(it++));
    for (auto &node : after) {
        node.key() += delta;
        m_layouts.insert(std::move(node));
    }
}

void ScriptMemo::refreshLines(int first, int last)
{
    m_layouts.erase(m_layouts.lower_bound(first), m_layouts.upper_bound(last));
    viewport()->update();
}

void ScriptMemo::setLineStyler(const LineStyler &styler, int initialState)
{
    m_styler = styler;
    m_initialState = initialState;
    m_lineStates.clear();
    forgetLayouts();
    startStateWarmUp();
    viewport()->update();
}

int ScriptMemo::lineStartState(int line) const
{
    if (!m_styler)
        return m_initialState;
    if (m_lineStates.empty())
        m_lineStates.push_back(m_initialState);
    while (int(m_lineStates.size()) <= line) {
        const int previous = int(m_lineStates.size()) - 1;
        m_lineStates.push_back(styleOf(previous, m_lineStates.back()).endState);
    }
    return m_lineStates[line];
}

void ScriptMemo::updateLineStates(int firstLine, int lastLine, int delta)
{
    // The edited lines now run from firstLine to firstLine + edited; the lines after them kept their
    // text, and their known start states stay good as soon as the state carried into the first of
    // them is the one it had, which is usual: only an edit that opens or closes a block changes it.
    if (!m_styler || m_lineStates.size() <= std::size_t(firstLine) + 1)
        return;
    const int edited = lastLine - firstLine + delta;
    const auto at = m_lineStates.begin() + firstLine + 1;
    const std::size_t known = m_lineStates.size();
    if (delta < 0)
        m_lineStates.erase(at, at + qMin<qsizetype>(-delta, qsizetype(known) - firstLine - 1));
    else if (delta > 0 && known > std::size_t(lastLine) + 1)
        m_lineStates.insert(at, delta, 0);
    else if (delta > 0)
        m_lineStates.resize(firstLine + 1);
    int state = m_lineStates[firstLine];
    for (int line = firstLine; line <= firstLine + edited; ++line) {
        state = styleOf(line, state).endState;
        const std::size_t next = std::size_t(line) + 1;
        if (next >= m_lineStates.size())
            break;
        if (line == firstLine + edited && m_lineStates[next] == state)
            return; // converged: the rest is as it was
        m_lineStates[next] = state;
        if (line == firstLine + edited) {
            m_lineStates.resize(next + 1);
            startStateWarmUp();
        }
    }
}

void ScriptMemo::startStateWarmUp()
{
    if (m_styler && int(m_lineStates.size()) < lineCount())
        m_stateTimer.start(0, this);
}

void ScriptMemo::setHighlights(const QList<Highlight> &highlights)
{
    if (highlights.isEmpty() && m_highlights.isEmpty())
        return;
    m_highlights = highlights;
    viewport()->update();
}

void ScriptMemo::paintHighlights(QPainter &painter, int line, const LineLayout &layout, QPointF origin)
{
    const qsizetype lineStart = m_text.lineStart(line);
    const qsizetype lineEnd = m_text.lineEnd(line);
    for (const Highlight &highlight : m_highlights) {
        const qsizetype from = qMax(highlight.start, lineStart);
        const qsizetype to = qMin(highlight.start + highlight.length, lineEnd);
        if (from >= to)
            continue;
        for (std::size_t r = 0; r < layout.rows.size(); ++r) {
            const LineLayout::RowInfo &row = layout.rows[r];
            const int a = qMax<int>(int(from - lineStart), row.startColumn);
            const int b = qMin<int>(int(to - lineStart), row.endColumn);
            if (a >= b)
                continue;
            const QTextLine textLine = layout.textLine(int(r));
            const int segmentStart = layout.segmentStarts[row.segment];
            const qreal x1 = textLine.cursorToX(a - segmentStart);
            const qreal x2 = textLine.cursorToX(b - segmentStart);
            painter.fillRect(QRectF(origin.x() + x1, origin.y() + row.top, x2 - x1, row.height), highlight.background);
        }
    }
}

void ScriptMemo::setWordWrap(bool wrap)
{
    if (wrap == m_wordWrap)
        return;
    m_wordWrap = wrap;
    forgetLayouts();
    m_widestLine = 0;
    m_topRow = 0;
    updateScrollRange();
    viewport()->update();
}

void ScriptMemo::setLineNumbersShown(bool shown)
{
    m_lineNumbers = shown;
    forgetLayouts();
    updateScrollRange();
    viewport()->update();
}

void ScriptMemo::setCurrentLineMarked(bool marked)
{
    m_markCurrentLine = marked;
    viewport()->update();
}

qreal ScriptMemo::topLineY() const
{
    // The top line starts above the viewport by the rows of it scrolled out of view.
    const LineLayout &top = layoutOf(m_topLine);
    return -top.rows[qMin<int>(m_topRow, int(top.rows.size()) - 1)].top;
}

int ScriptMemo::lastTopLine() const
{
    // The first line of the last page: the lines from it to the end fill the viewport. It is worked
    // out again only when the end of the text or the view's size changed.
    if (m_lastTopLine >= 0)
        return m_lastTopLine;
    qreal height = viewport()->height();
    int line = lineCount() - 1;
    while (line > 0) {
        height -= lineHeight(line);
        if (height < lineHeight(line - 1))
            break;
        --line;
    }
    m_lastTopLine = line;
    return line;
}

void ScriptMemo::updateScrollRange()
{
    m_settingScroll = true;
    QScrollBar *vertical = verticalScrollBar();
    const int lineHeight = qMax(1, fontMetrics().lineSpacing());
    vertical->setRange(0, qMax(lastTopLine(), m_topLine));
    vertical->setPageStep(qMax(1, viewport()->height() / lineHeight));
    vertical->setSingleStep(1);
    vertical->setValue(m_topLine);
    QScrollBar *horizontal = horizontalScrollBar();
    if (m_wordWrap) {
        horizontal->setRange(0, 0);
    } else {
        horizontal->setRange(0, qMax(0, int(m_widestLine) + textLeft() + kTextMargin - viewport()->width()));
        horizontal->setPageStep(viewport()->width());
        horizontal->setSingleStep(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 2);
    }
    horizontal->setValue(m_xOffset);
    m_xOffset = horizontal->value();
    m_settingScroll = false;
}

void ScriptMemo::scrollContentsBy(int, int)
{
    if (m_settingScroll)
        return;
    m_topLine = qBound(0, verticalScrollBar()->value(), lineCount() - 1);
    m_topRow = 0;
    m_xOffset = horizontalScrollBar()->value();
    viewport()->update();
}

void ScriptMemo::scrollToLine(int line, int row)
{
    m_topLine = qBound(0, line, lineCount() - 1);
    m_topRow = qMax(0, row);
    updateScrollRange();
    viewport()->update();
}

void ScriptMemo::ensureCursorVisible()
{
    const int line = m_text.lineOf(m_caret);
    const LineLayout &layout = layoutOf(line);
    const int column = int(m_caret - m_text.lineStart(line));
    const int row = layout.rowOf(column);
    const qreal height = viewport()->height();

    if (line < m_topLine || (line == m_topLine && row < m_topRow)) {
        scrollToLine(line, row);
    } else {
        // The caret row's bottom, measured from the viewport's top, when the caret's line is near;
        // a far line is brought in from below without measuring what lies between.
        qreal bottom = topLineY();
        bool near = true;
        for (int l = m_topLine; l < line; ++l) {
            bottom += layoutOf(l).height;
            if (bottom > 2 * height) {
                near = false;
                break;
            }
        }
        bottom += layout.rows[row].top + layout.rows[row].height;
        if (!near || bottom > height) {
            // Put the caret's row at the bottom: walk up from it until the viewport is filled.
            int topLine = line;
            int topRow = row;
            qreal used = layout.rows[row].height;
            while (true) {
                int prevLine = topLine;
                int prevRow = topRow - 1;
                if (prevRow < 0) {
                    if (--prevLine < 0)
                        break;
                    prevRow = int(layoutOf(prevLine).rows.size()) - 1;
                }
                const qreal h = layoutOf(prevLine).rows[prevRow].height;
                if (used + h > height)
                    break;
                used += h;
                topLine = prevLine;
                topRow = prevRow;
            }
            scrollToLine(topLine, topRow);
        }
    }

    // Sideways, where lines do not wrap.
    if (!m_wordWrap) {
        const qreal x = layout.textLine(row).cursorToX(column - layout.segmentStarts[layout.rows[row].segment]);
        const int visible = viewport()->width() - textLeft() - kTextMargin;
        if (x < m_xOffset)
            m_xOffset = qMax(0, int(x) - visible / 4);
        else if (x > m_xOffset + visible)
            m_xOffset = int(x) - visible * 3 / 4;
        updateScrollRange();
        viewport()->update();
    }
}

// ---- Painting ------------------------------------------------------------------------------

QRect ScriptMemo::offsetRect(qsizetype offset) const
{
    offset = m_text.snapped(offset);
    const int line = m_text.lineOf(offset);
    if (line < m_topLine)
        return {};
    const qreal height = viewport()->height();
    qreal y = topLineY();
    for (int l = m_topLine; l < line; ++l) {
        y += layoutOf(l).height;
        if (y > height)
            return {};
    }
    const LineLayout &layout = layoutOf(line);
    const int column = int(offset - m_text.lineStart(line));
    const int row = layout.rowOf(column);
    const QTextLine textLine = layout.textLine(row);
    const qreal x = textLine.cursorToX(column - layout.segmentStarts[layout.rows[row].segment]);
    return QRect(int(textLeft() + x - m_xOffset), int(y + layout.rows[row].top), 1, int(layout.rows[row].height));
}

qsizetype ScriptMemo::offsetAt(QPoint point) const
{
    qreal y = topLineY();
    if (point.y() < 0 && m_topLine == 0 && m_topRow == 0)
        return 0;
    for (int line = m_topLine; line < lineCount(); ++line) {
        const LineLayout &layout = layoutOf(line);
        if (point.y() < y + layout.height || line == lineCount() - 1) {
            int row = 0;
            while (row + 1 < int(layout.rows.size()) && point.y() >= y + layout.rows[row + 1].top)
                ++row;
            const LineLayout::RowInfo &info = layout.rows[row];
            const qreal x = point.x() - textLeft() + m_xOffset;
            int column = layout.textLine(row).xToCursor(x) + layout.segmentStarts[info.segment];
            column = qBound(info.startColumn, column, info.endColumn);
            if (point.y() >= y + layout.height)
                return m_text.length();
            return m_text.lineStart(line) + column;
        }
        y += layout.height;
    }
    return m_text.length();
}

void ScriptMemo::paintGutter(QPainter &painter, const QRect &area)
{
    painter.fillRect(area, palette().color(QPalette::AlternateBase));
    painter.setPen(palette().color(QPalette::PlaceholderText));
    qreal y = topLineY();
    for (int line = m_topLine; line < lineCount() && y < area.height(); ++line) {
        const LineLayout &layout = layoutOf(line);
        const QRectF numberRect(0, y, area.width() - kTextMargin, layout.rows.front().height);
        painter.drawText(numberRect, Qt::AlignRight | Qt::AlignVCenter, QString::number(line + 1));
        y += layout.height;
    }
}

void ScriptMemo::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    const QRect area = viewport()->rect();
    const QPalette &pal = palette();
    const qsizetype selStart = SelStart();
    const qsizetype selEnd = selStart + SelLength();
    const int caretLine = m_text.lineOf(m_caret);
    const bool caretVisible = hasFocus() && m_caretShown && !m_readOnly;

    painter.setClipRect(QRect(gutterWidth(), 0, area.width() - gutterWidth(), area.height()));
    qreal y = topLineY();
    const qreal left = textLeft() - m_xOffset;
    for (int line = m_topLine; line < lineCount() && y < area.height(); ++line) {
        const LineLayout &layout = layoutOf(line);
        const qsizetype lineStart = m_text.lineStart(line);
        const qsizetype lineEnd = m_text.lineEnd(line);
        if (m_markCurrentLine && line == caretLine && SelLength() == 0) {
            QColor current = pal.color(QPalette::Highlight);
            current.setAlpha(28);
            painter.fillRect(QRectF(gutterWidth(), y, area.width(), layout.height), current);
        }
        if (!m_highlights.isEmpty())
            paintHighlights(painter, line, layout, QPointF(left, y));
        QTextCharFormat selected;
        selected.setBackground(pal.brush(hasFocus() ? QPalette::Active : QPalette::Inactive, QPalette::Highlight));
        selected.setForeground(pal.brush(hasFocus() ? QPalette::Active : QPalette::Inactive, QPalette::HighlightedText));
        painter.setPen(pal.color(QPalette::Text));
        const int lineLength = int(lineEnd - lineStart);
        for (int s = 0; s < layout.segmentCount(); ++s) {
            const auto [top, bottom] = layout.segmentSpan(s);
            if (y + bottom < 0 || y + top > area.height())
                continue;
            const qsizetype segmentStart = lineStart + layout.segmentStarts[s];
            const qsizetype segmentEnd = segmentStart + layout.segmentLength(s, lineLength);
            QList<QTextLayout::FormatRange> selections;
            const qsizetype from = qMax(selStart, segmentStart);
            const qsizetype to = qMin(selEnd, segmentEnd);
            if (from < to)
                selections.append({int(from - segmentStart), int(to - from), selected});
            layout.segment(s).draw(&painter, QPointF(left, y), selections);
        }
        // A selected line break shows as a narrow selected cell after the line's last character.
        if (selStart <= lineEnd && selEnd > lineEnd && line + 1 < lineCount()) {
            const LineLayout::RowInfo &last = layout.rows.back();
            const qreal x = left + layout.textLine(int(layout.rows.size()) - 1).naturalTextWidth();
            painter.fillRect(QRectF(x, y + last.top, fontMetrics().horizontalAdvance(QLatin1Char(' ')), last.height),
                             selected.background());
        }
        if (line == caretLine && (caretVisible || !m_preedit.isEmpty())) {
            const int column = int(m_caret - lineStart);
            const int segment = layout.segmentOf(column);
            const int position = column - layout.segmentStarts[segment]
                + (m_preedit.isEmpty() ? 0 : m_preeditCursor);
            layout.segment(segment).drawCursor(&painter, QPointF(left, y), position, 1);
        }
        y += layout.height;
    }
    if (m_dropOffset >= 0) {
        const QRect drop = offsetRect(m_dropOffset);
        if (!drop.isEmpty())
            painter.fillRect(drop, pal.color(QPalette::Text));
    }
    painter.setClipping(false);
    if (m_lineNumbers)
        paintGutter(painter, QRect(0, 0, gutterWidth(), area.height()));
    if (isLoading()) {
        painter.setPen(pal.color(QPalette::PlaceholderText));
        painter.drawText(area, Qt::AlignCenter, QStringLiteral("Открытие файла… %1 %").arg(m_loadingPercent));
    }
}

void ScriptMemo::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    m_lastTopLine = -1;
    if (m_wordWrap) {
        forgetLayouts();
        m_topRow = 0;
    }
    updateScrollRange();
}

void ScriptMemo::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        forgetLayouts();
        m_widestLine = 0;
        updateScrollRange();
        viewport()->update();
    } else if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ActivationChange) {
        viewport()->update();
    }
}

void ScriptMemo::restartBlink()
{
    m_caretShown = true;
    const int interval = QGuiApplication::styleHints()->cursorFlashTime() / 2;
    if (hasFocus() && interval > 0)
        m_blinkTimer.start(interval, this);
    else
        m_blinkTimer.stop();
}

void ScriptMemo::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    restartBlink();
    viewport()->update();
}

void ScriptMemo::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    m_blinkTimer.stop();
    viewport()->update();
}

void ScriptMemo::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_blinkTimer.timerId()) {
        m_caretShown = !m_caretShown;
        const QRect caret = offsetRect(m_caret);
        viewport()->update(caret.isEmpty() ? viewport()->rect() : caret.adjusted(-2, 0, 2, 0));
    } else if (event->timerId() == m_stateTimer.timerId()) {
        // While the program is idle, the lines' states are worked out ahead, a few milliseconds at a
        // time, so that a jump to the end of a long script shows its colours at once.
        if (!m_styler) {
            m_stateTimer.stop();
            return;
        }
        QElapsedTimer slice;
        slice.start();
        int line = int(m_lineStates.size());
        while (line < lineCount() && slice.elapsed() < 4)
            lineStartState(qMin(lineCount() - 1, line += 512));
        if (int(m_lineStates.size()) >= lineCount())
            m_stateTimer.stop();
    } else if (event->timerId() == m_scrollTimer.timerId()) {
        // Selecting with the mouse beyond the viewport's edge scrolls towards it.
        const QPoint point = m_lastMousePos;
        if (point.y() < 0)
            verticalScrollBar()->setValue(verticalScrollBar()->value() - 1);
        else if (point.y() > viewport()->height())
            verticalScrollBar()->setValue(verticalScrollBar()->value() + 1);
        const qsizetype at = offsetAt(point);
        setSelection(m_anchor, at);
    } else {
        QAbstractScrollArea::timerEvent(event);
    }
}

// ---- Mouse ---------------------------------------------------------------------------------

void ScriptMemo::mousePressEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    const qsizetype at = offsetAt(point);
    if (event->button() == Qt::MiddleButton) {
        QClipboard *clipboard = QGuiApplication::clipboard();
        if (clipboard->supportsSelection() && !m_readOnly) {
            setSelection(at, at);
            insertFromMimeData(clipboard->mimeData(QClipboard::Selection));
        }
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    m_pressPos = point;
    m_desiredX = -1;
    const bool tripleClick = m_lastDoubleClick.isValid()
        && m_lastDoubleClick.elapsed() < QGuiApplication::styleHints()->mouseDoubleClickInterval();
    if (tripleClick) {
        m_granularity = Granularity::Line;
        m_selectionOrigin = at;
        selectLineAt(at);
        return;
    }
    m_granularity = Granularity::Character;
    if (SelLength() > 0 && at >= SelStart() && at < SelStart() + SelLength() && !(event->modifiers() & Qt::ShiftModifier)) {
        m_mayDrag = true; // a press inside the selection may start dragging it
        return;
    }
    m_selectionOrigin = at;
    setSelection(event->modifiers() & Qt::ShiftModifier ? m_anchor : at, at);
}

void ScriptMemo::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const qsizetype at = offsetAt(event->position().toPoint());
    m_granularity = Granularity::Word;
    m_selectionOrigin = at;
    m_mayDrag = false;
    selectWordAt(at);
    m_lastDoubleClick.start();
}

void ScriptMemo::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint point = event->position().toPoint();
    if (m_mayDrag) {
        if ((point - m_pressPos).manhattanLength() < QApplication::startDragDistance())
            return;
        m_mayDrag = false;
        const qsizetype start = SelStart();
        const qsizetype length = SelLength();
        auto *drag = new QDrag(this);
        drag->setMimeData(selectionMimeData());
        const Qt::DropAction action = drag->exec(m_readOnly ? Qt::CopyAction : Qt::CopyAction | Qt::MoveAction,
                                                 Qt::MoveAction);
        // A move to another program takes the text away from here.
        if (action == Qt::MoveAction && drag->target() != viewport() && !m_readOnly) {
            setSelection(start, start + length);
            deleteSelectionOr(0, 0, EditHistory::Kind::Other);
        }
        return;
    }
    m_lastMousePos = point;
    if (!viewport()->rect().contains(point))
        m_scrollTimer.start(50, this);
    else
        m_scrollTimer.stop();
    const qsizetype at = offsetAt(point);
    switch (m_granularity) {
    case Granularity::Character:
        setSelection(m_anchor, at);
        break;
    case Granularity::Word: {
        // Whole words from the one first double-clicked.
        qsizetype wordStart = at;
        while (wordStart > 0 && isWordByte(m_text.byteAt(wordStart - 1)))
            --wordStart;
        qsizetype wordEnd = at;
        while (wordEnd < m_text.length() && isWordByte(m_text.byteAt(wordEnd)))
            ++wordEnd;
        if (at < m_selectionOrigin)
            setSelection(qMax(m_anchor, m_caret), wordStart);
        else
            setSelection(qMin(m_anchor, m_caret), wordEnd);
        break;
    }
    case Granularity::Line: {
        const int originLine = m_text.lineOf(m_selectionOrigin);
        const int line = m_text.lineOf(at);
        const auto lineAfter = [&](int l) { return l + 1 < lineCount() ? m_text.lineStart(l + 1) : m_text.length(); };
        if (line < originLine)
            setSelection(lineAfter(originLine), m_text.lineStart(line));
        else
            setSelection(m_text.lineStart(originLine), lineAfter(line));
        break;
    }
    }
}

void ScriptMemo::mouseReleaseEvent(QMouseEvent *event)
{
    m_scrollTimer.stop();
    if (event->button() == Qt::LeftButton && m_mayDrag) {
        // A click inside the selection, without dragging, puts the caret there.
        m_mayDrag = false;
        const qsizetype at = offsetAt(event->position().toPoint());
        setSelection(at, at);
    }
}

QMenu *ScriptMemo::createContextMenu()
{
    auto *menu = new QMenu(this);
    const bool selection = SelLength() > 0;
    const auto add = [&](const QString &caption, const QKeySequence &keys, bool enabled, auto slot) {
        QAction *action = menu->addAction(caption, this, slot);
        action->setShortcut(keys);
        action->setEnabled(enabled);
    };
    add(QStringLiteral("&Отменить"), QKeySequence::Undo, m_history.canUndo() && !m_readOnly, &ScriptMemo::undo);
    add(QStringLiteral("&Повторить"), QKeySequence::Redo, m_history.canRedo() && !m_readOnly, &ScriptMemo::redo);
    menu->addSeparator();
    add(QStringLiteral("Вы&резать"), QKeySequence::Cut, selection && !m_readOnly, &ScriptMemo::cut);
    add(QStringLiteral("&Копировать"), QKeySequence::Copy, selection, &ScriptMemo::copy);
    const QMimeData *clipboard = QGuiApplication::clipboard()->mimeData();
    add(QStringLiteral("&Вставить"), QKeySequence::Paste, !m_readOnly && clipboard && clipboard->hasText(),
        &ScriptMemo::paste);
    add(QStringLiteral("&Удалить"), QKeySequence(), selection && !m_readOnly,
        [this] { deleteSelectionOr(0, 0, EditHistory::Kind::Other); });
    menu->addSeparator();
    add(QStringLiteral("Выделить &всё"), QKeySequence::SelectAll, m_text.length() > 0, &ScriptMemo::selectAll);
    return menu;
}

void ScriptMemo::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // From the keyboard's menu key the menu opens at the caret, not where the mouse happens to be.
    const QRect caret = offsetRect(m_caret);
    const bool atCaret = event->reason() == QContextMenuEvent::Keyboard && !caret.isEmpty();
    menu->popup(atCaret ? viewport()->mapToGlobal(caret.bottomLeft()) : event->globalPos());
}

// ---- Drag and drop -------------------------------------------------------------------------

QStringList ScriptMemo::droppedFiles(const QMimeData *data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    }
    return files;
}

void ScriptMemo::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFiles(event->mimeData()).isEmpty() || (event->mimeData()->hasText() && !m_readOnly))
        event->acceptProposedAction();
    else
        event->ignore();
}

void ScriptMemo::dragMoveEvent(QDragMoveEvent *event)
{
    if (!droppedFiles(event->mimeData()).isEmpty()) {
        m_dropOffset = -1;
        event->acceptProposedAction();
        return;
    }
    if (!event->mimeData()->hasText() || m_readOnly) {
        event->ignore();
        return;
    }
    m_dropOffset = offsetAt(event->position().toPoint());
    viewport()->update();
    event->acceptProposedAction();
}

void ScriptMemo::dragLeaveEvent(QDragLeaveEvent *)
{
    m_dropOffset = -1;
    viewport()->update();
}

void ScriptMemo::dropEvent(QDropEvent *event)
{
    m_dropOffset = -1;
    viewport()->update();
    const QStringList files = droppedFiles(event->mimeData());
    if (!files.isEmpty()) {
        event->acceptProposedAction();
        emit filesDropped(files);
        return;
    }
    if (!event->mimeData()->hasText() || !takesEdits()) {
        event->ignore();
        return;
    }
    qsizetype at = offsetAt(event->position().toPoint());
    EditScope scope(this);
    if (event->source() == viewport() && event->dropAction() == Qt::MoveAction) {
        // Moving the selection within the text: take it out first, then insert it at the drop point.
        const qsizetype start = SelStart();
        const qsizetype length = SelLength();
        if (at >= start && at <= start + length) {
            event->ignore();
            return;
        }
        replaceBytes(start, length, QByteArray());
        if (at > start)
            at -= length;
        event->setDropAction(Qt::CopyAction); // nothing more to remove on the dragging side
    }
    // The dropped text ends up selected.
    at = m_text.snapped(at);
    const QByteArray bytes = ScriptText::encodedText(event->mimeData()->text());
    if (replaceBytes(at, 0, bytes)) {
        m_anchor = at;
        m_caret = at + bytes.size();
    }
    event->accept();
    setFocus();
}
