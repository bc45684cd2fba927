#include "editor/script_memo.h"

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
#include <QScopeGuard>
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

// The gap between the text and the viewport's edges, and between the line numbers and the text.
constexpr int kTextMargin = 4;

bool isControlCharacter(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F || c.unicode() == 0x98;
}

} // namespace

ScriptMemo::ScriptMemo(QWidget *parent)
    : QAbstractScrollArea(parent), m_document(new ScriptDocument(this)), m_layout(*m_document)
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
    m_layout.setFont(font());
    connect(m_document, &ScriptDocument::linesReplaced, this, &ScriptMemo::linesReplaced);
    connect(m_document, &ScriptDocument::textReset, this, &ScriptMemo::textReset);
    connect(m_document, &ScriptDocument::changed, this, &ScriptMemo::textChanged);
    connect(m_document, &ScriptDocument::selectionChanged, this, &ScriptMemo::selectionChanged);
    connect(m_document, &ScriptDocument::restyled, this, [this] {
        m_layout.clear(true);
        viewport()->update();
    });
    connect(m_document, &ScriptDocument::loadingProgressed, viewport(), qOverload<>(&QWidget::update));
    updateLayoutWidth();
    updateScrollRange();
}

ScriptMemo::~ScriptMemo()
{
    // The document goes with the memo's children, after the view: it tells nothing more.
    m_document->disconnect(this);
}

void ScriptMemo::setReservedShortcuts(const QList<QKeySequence> &shortcuts)
{
    reservedShortcuts() = shortcuts;
}

// ---- Reading the text ----------------------------------------------------------------------

QPoint ScriptMemo::CaretPos() const
{
    const qsizetype end = m_document->selectionEnd();
    const int line = m_document->lineOf(end);
    return QPoint(int(end - m_document->lineStart(line)), line);
}

QString ScriptMemo::toPlainText() const
{
    return wholeText().replace(ScriptText::kCrLf, QStringLiteral("\n"));
}

// ---- Following the document ----------------------------------------------------------------

void ScriptMemo::linesReplaced(int firstLine, int lastLine, int delta)
{
    m_layout.linesReplaced(firstLine, lastLine, delta);
    if (delta != 0 || lastLine >= m_lastTop.line)
        m_lastTopKnown = false;
    // Lines gone from under the view: its top comes back onto the text before anything is laid out,
    // at the first row of a top line that was edited.
    if (delta < 0 && m_top.line >= firstLine) {
        if (m_top.line <= lastLine)
            m_top.row = 0;
        m_top.line = qMin(m_top.line, lineCount() - 1);
        m_topPastEnd = true;
    }
}

void ScriptMemo::textReset()
{
    m_layout.clear();
    m_highlights.clear();
    m_top = {};
    m_xOffset = 0;
    m_lastTopKnown = false;
}

void ScriptMemo::textChanged()
{
    m_desiredX = -1;
    updateLayoutWidth(); // the line numbers may have grown by a digit
    m_top.row = qMin(m_top.row, int(layoutOf(m_top.line).rows.size()) - 1);
    // Where lines went from under the view, it shows the last page rather than space beyond the end.
    if (m_topPastEnd) {
        m_topPastEnd = false;
        m_top = qMin(m_top, lastTop());
    }
    if (m_showCaretOnChange) {
        m_showCaretOnChange = false;
        ensureCursorVisible();
    }
    updateScrollRange();
    restartBlink();
    viewport()->update();
    emit caretMoved();
    emit Change();
}

void ScriptMemo::selectionChanged()
{
    restartBlink();
    viewport()->update();
    updatePrimarySelection();
    emit caretMoved();
}

template <typename Edit>
bool ScriptMemo::editShowingCaret(Edit edit)
{
    m_showCaretOnChange = true;
    const auto done = qScopeGuard([this] { m_showCaretOnChange = false; });
    return edit();
}

// ---- Selection -----------------------------------------------------------------------------

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
    setSelection(0, textLength());
}

void ScriptMemo::moveCaret(qsizetype offset, bool keepAnchor)
{
    m_desiredX = -1;
    setSelection(keepAnchor ? anchorOffset() : offset, offset);
    ensureCursorVisible();
}

// ---- Editing -------------------------------------------------------------------------------

bool ScriptMemo::setSelText(const QString &text)
{
    return m_document->replaceSelection(text);
}

bool ScriptMemo::setLine(int index, const QString &text)
{
    return m_document->setLine(index, text);
}

bool ScriptMemo::clearLines()
{
    return m_document->clearLines();
}

bool ScriptMemo::appendAsLine(const QString &text)
{
    return editShowingCaret([&] { return m_document->appendAsLine(text); });
}

bool ScriptMemo::replaceRanges(const QList<Range> &ranges, const QString &text)
{
    return editShowingCaret([&] { return m_document->replaceRanges(ranges, text); });
}

void ScriptMemo::loadFile(const QByteArray &fileBytes, const Progress &progress)
{
    m_document->loadFile(fileBytes, progress);
}

void ScriptMemo::loadPrepared(TextBuffer::Prepared &&text)
{
    m_document->loadPrepared(std::move(text));
}

void ScriptMemo::loadText(QStringView text, const Progress &progress)
{
    m_document->loadText(text, progress);
}

bool ScriptMemo::insertTyped(const QString &text)
{
    if (!takesEdits() || text.isEmpty())
        return false;
    if (!editShowingCaret([&] { return m_document->replaceSelection(text, ScriptDocument::EditKind::Typing); }))
        return false;
    emit typed(text);
    return true;
}

bool ScriptMemo::removeSelectionOr(qsizetype from, qsizetype to, ScriptDocument::EditKind kind)
{
    return takesEdits() && editShowingCaret([&] { return m_document->removeSelectionOr(from, to, kind); });
}

bool ScriptMemo::undo()
{
    return takesEdits() && editShowingCaret([&] { return m_document->undo(); });
}

bool ScriptMemo::redo()
{
    return takesEdits() && editShowingCaret([&] { return m_document->redo(); });
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
    return removeSelectionOr(0, 0, ScriptDocument::EditKind::Other);
}

bool ScriptMemo::paste()
{
    return takesEdits() && insertFromMimeData(QGuiApplication::clipboard()->mimeData());
}

bool ScriptMemo::insertFromMimeData(const QMimeData *source)
{
    if (!source || !source->hasText() || !takesEdits())
        return false;
    return editShowingCaret([&] { return m_document->replaceSelection(source->text()); });
}

void ScriptMemo::updatePrimarySelection()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (clipboard->supportsSelection() && SelLength() > 0 && SelLength() < (qsizetype(1) << 24))
        clipboard->setMimeData(selectionMimeData(), QClipboard::Selection);
}

// ---- Caret movement ------------------------------------------------------------------------

qsizetype ScriptMemo::rowMove(qsizetype offset, int rows)
{
    if (m_desiredX < 0)
        m_desiredX = m_layout.xOf(offset);
    Row at = m_layout.rowOf(offset);
    int moved = 0;
    for (; moved < qAbs(rows); ++moved) {
        if (rows < 0 && at.row > 0) {
            --at.row;
        } else if (rows < 0 && at.line > 0) {
            --at.line;
            at.row = int(layoutOf(at.line).rows.size()) - 1;
        } else if (rows > 0 && at.row + 1 < int(layoutOf(at.line).rows.size())) {
            ++at.row;
        } else if (rows > 0 && at.line + 1 < lineCount()) {
            ++at.line;
            at.row = 0;
        } else {
            break;
        }
    }
    // Up on the first row and Down on the last leave the caret where it is.
    if (moved == 0)
        return offset;
    const LineLayout &layout = layoutOf(at.line);
    const LineLayout::RowInfo &info = layout.rows[at.row];
    int column = layout.textLine(at.row).xToCursor(m_desiredX) + layout.segmentStarts[info.segment];
    column = qBound(info.startColumn, column, info.endColumn);
    return lineStartOffset(at.line) + column;
}

qsizetype ScriptMemo::rowEdge(qsizetype offset, bool end) const
{
    const int line = lineOfOffset(offset);
    const LineLayout &layout = layoutOf(line);
    const LineLayout::RowInfo &info = layout.rows[layout.rowOf(int(offset - lineStartOffset(line)))];
    qsizetype column = end ? info.endColumn : info.startColumn;
    // At a wrap point the end of a row is the start of the next: stay before the row's last space.
    if (end && info.endColumn < lineLength(line) && column > info.startColumn)
        --column;
    return lineStartOffset(line) + column;
}

void ScriptMemo::movePage(int direction, bool selecting)
{
    // The view moves a page, as far as the text goes, and the caret as many rows: it keeps its
    // place on screen.
    const int rows = pageRows();
    scrollByRows(direction * rows);
    const qsizetype target = rowMove(caretOffset(), direction * rows);
    setSelection(selecting ? anchorOffset() : target, target);
    ensureCursorVisible();
}

bool ScriptMemo::handleMovementKey(QKeyEvent *event)
{
    const ScriptDocument &d = *m_document;
    // With a selection, Left and Right go to its start and its end, and the selection goes.
    if (d.selectionLength() > 0) {
        if (event->matches(QKeySequence::MoveToPreviousChar) || event->matches(QKeySequence::MoveToNextChar)) {
            const bool left = event->matches(QKeySequence::MoveToPreviousChar);
            moveCaret(left ? d.selectionStart() : d.selectionEnd(), false);
            return true;
        }
    }
    struct Move {
        QKeySequence::StandardKey key;
        QKeySequence::StandardKey selecting;
        std::function<qsizetype(qsizetype)> target;
    };
    const Move moves[] = {
        {QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar, [&](qsizetype o) { return d.nextCharacter(o); }},
        {QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar,
         [&](qsizetype o) { return d.previousCharacter(o); }},
        {QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord, [&](qsizetype o) { return d.wordEndAfter(o); }},
        {QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord,
         [&](qsizetype o) { return d.wordStartBefore(o); }},
        {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine, [&](qsizetype o) { return rowEdge(o, false); }},
        {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine, [&](qsizetype o) { return rowEdge(o, true); }},
        {QKeySequence::MoveToStartOfBlock, QKeySequence::SelectStartOfBlock,
         [&](qsizetype o) { return d.lineStart(d.lineOf(o)); }},
        {QKeySequence::MoveToEndOfBlock, QKeySequence::SelectEndOfBlock, [&](qsizetype o) { return d.lineEnd(d.lineOf(o)); }},
        {QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument, [](qsizetype) { return qsizetype(0); }},
        {QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument, [&](qsizetype) { return d.length(); }},
    };
    for (const Move &move : moves) {
        const bool selecting = event->matches(move.selecting);
        if (selecting || event->matches(move.key)) {
            moveCaret(move.target(d.caret()), selecting);
            return true;
        }
    }
    const struct {
        QKeySequence::StandardKey key, selecting;
        int direction;
        bool page;
    } vertical[] = {
        {QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine, 1, false},
        {QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine, -1, false},
        {QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage, 1, true},
        {QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage, -1, true},
    };
    for (const auto &move : vertical) {
        const bool selecting = event->matches(move.selecting);
        if (!selecting && !event->matches(move.key))
            continue;
        // The column aimed at stays that of the first vertical move until the caret moves otherwise.
        if (move.page) {
            movePage(move.direction, selecting);
        } else {
            const qsizetype target = rowMove(d.caret(), move.direction);
            setSelection(selecting ? d.anchor() : target, target);
            ensureCursorVisible();
        }
        return true;
    }
    return false;
}

bool ScriptMemo::handleEditingKey(QKeyEvent *event)
{
    using Kind = ScriptDocument::EditKind;
    const ScriptDocument &d = *m_document;
    const qsizetype caret = d.caret();
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
        removeSelectionOr(caret, d.nextCharacter(caret), Kind::DeletingForward);
    } else if (event->matches(QKeySequence::DeleteEndOfWord)) {
        removeSelectionOr(caret, d.wordEndAfter(caret), Kind::Other);
    } else if (event->matches(QKeySequence::DeleteStartOfWord)) {
        removeSelectionOr(d.wordStartBefore(caret), caret, Kind::Other);
    } else if (event->matches(QKeySequence::DeleteEndOfLine)) {
        // At a line's end the line break goes; elsewhere the rest of the line.
        const qsizetype lineEnd = d.lineEnd(d.lineOf(caret));
        removeSelectionOr(caret, caret == lineEnd ? d.nextCharacter(caret) : lineEnd, Kind::Other);
    } else if (event->key() == Qt::Key_Backspace && !(event->modifiers() & ~Qt::ShiftModifier)) {
        removeSelectionOr(d.previousCharacter(caret), caret, Kind::DeletingBackward);
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
    bool committed = false;
    if (!event->commitString().isEmpty() || event->replacementLength() > 0) {
        qsizetype start = SelStart();
        qsizetype length = SelLength();
        if (event->replacementLength() > 0 || event->replacementStart() != 0) {
            start = m_document->snapped(caretOffset() + event->replacementStart());
            length = m_document->snapped(start + event->replacementLength()) - start;
        }
        committed = m_document->replace(start, length, event->commitString(), ScriptDocument::EditKind::Typing);
    }
    if (committed && !event->commitString().isEmpty())
        emit typed(event->commitString());
    m_preedit = event->preeditString();
    m_preeditCursor = int(m_preedit.size());
    for (const QInputMethodEvent::Attribute &attribute : event->attributes()) {
        if (attribute.type == QInputMethodEvent::Cursor)
            m_preeditCursor = attribute.start;
    }
    m_layout.setPreedit(caretOffset(), m_preedit);
    const int caretLine = lineOfOffset(caretOffset());
    refreshLines(caretLine, caretLine);
    ensureCursorVisible();
    event->accept();
}

QVariant ScriptMemo::inputMethodQuery(Qt::InputMethodQuery query) const
{
    const qsizetype caret = caretOffset();
    const int line = lineOfOffset(caret);
    const qsizetype lineStart = lineStartOffset(line);
    switch (query) {
    case Qt::ImEnabled:
        return !m_readOnly;
    case Qt::ImCursorRectangle:
        return offsetRect(caret).translated(viewport()->pos());
    case Qt::ImFont:
        return font();
    case Qt::ImCursorPosition:
        return int(caret - lineStart);
    case Qt::ImAnchorPosition:
        return int(qBound(lineStart, anchorOffset(), m_document->lineEnd(line)) - lineStart);
    case Qt::ImSurroundingText:
        return this->line(line);
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

void ScriptMemo::updateLayoutWidth()
{
    m_layout.setWidth(layoutWidth());
}

int ScriptMemo::pageRows() const
{
    return qMax(1, viewport()->height() / qMax(1, fontMetrics().lineSpacing()) - 1);
}

void ScriptMemo::refreshLines(int first, int last)
{
    m_layout.refresh(first, last);
    viewport()->update();
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
    const qsizetype lineStart = lineStartOffset(line);
    const qsizetype lineEnd = m_document->lineEnd(line);
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
    if (wrap == wordWrap())
        return;
    m_layout.setWrap(wrap);
    m_top.row = 0;
    m_lastTopKnown = false;
    updateScrollRange();
    viewport()->update();
}

void ScriptMemo::setLineNumbersShown(bool shown)
{
    m_lineNumbers = shown;
    updateLayoutWidth();
    updateScrollRange();
    viewport()->update();
}

void ScriptMemo::setCurrentLineMarked(bool marked)
{
    m_markCurrentLine = marked;
    viewport()->update();
}

// ---- Scrolling -----------------------------------------------------------------------------

qreal ScriptMemo::topLineY() const
{
    // The top line starts above the viewport by the rows of it scrolled out of view.
    const LineLayout &top = layoutOf(m_top.line);
    return -top.rows[qMin<int>(m_top.row, int(top.rows.size()) - 1)].top;
}

ScriptMemo::Row ScriptMemo::lastTop() const
{
    // Worked out from the end, measuring lines without keeping them, and kept until the end of the
    // text or the view's size changed.
    if (m_lastTopKnown)
        return m_lastTop;
    qreal room = viewport()->height();
    const int lastLine = lineCount() - 1;
    Row top{lastLine, 0};
    for (int line = lastLine; line >= 0; --line) {
        const MemoLayout::Extent extent = m_layout.extentOf(line);
        if (extent.height <= room) {
            room -= extent.height;
            top = {line, 0};
            continue;
        }
        // The line fills the rest of the page with its last rows (at least one row of the last line).
        const int fit = int(room / (extent.height / qMax(1, extent.rows)));
        if (fit > 0 || line == lastLine)
            top = {line, extent.rows - qMax(1, fit)};
        break;
    }
    m_lastTop = top;
    m_lastTopKnown = true;
    return top;
}

void ScriptMemo::updateScrollRange()
{
    // The vertical scroll bar counts rows, those of lines not laid out yet as estimated from their
    // length, so that the wheel and the bar reach every row of a line wrapped into many.
    m_settingScroll = true;
    QScrollBar *vertical = verticalScrollBar();
    const int top = m_layout.rowIndex(m_top);
    vertical->setRange(0, qMax(m_layout.rowIndex(lastTop()), top));
    vertical->setPageStep(qMax(1, viewport()->height() / qMax(1, fontMetrics().lineSpacing())));
    vertical->setSingleStep(1);
    vertical->setValue(top);
    QScrollBar *horizontal = horizontalScrollBar();
    if (wordWrap()) {
        horizontal->setRange(0, 0);
    } else {
        horizontal->setRange(0, qMax(0, int(m_layout.widestLine()) + textLeft() + kTextMargin - viewport()->width()));
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
    Row top = m_layout.rowAtIndex(verticalScrollBar()->value());
    top.row = qMin(top.row, int(layoutOf(top.line).rows.size()) - 1);
    m_top = top;
    m_xOffset = horizontalScrollBar()->value();
    viewport()->update();
}

void ScriptMemo::scrollToRow(Row top)
{
    m_top = {qBound(0, top.line, lineCount() - 1), qMax(0, top.row)};
    updateScrollRange();
    viewport()->update();
}

void ScriptMemo::scrollByRows(int rows)
{
    Row top = m_top;
    if (rows > 0) {
        const Row last = qMax(lastTop(), m_top);
        while (rows > 0 && top < last) {
            const int below = int(layoutOf(top.line).rows.size()) - 1 - top.row;
            if (below > 0) {
                const int step = qMin(rows, below);
                top.row += step;
                rows -= step;
            } else {
                top = {top.line + 1, 0};
                --rows;
            }
        }
        top = qMin(top, last);
    }
    while (rows < 0 && (top.line > 0 || top.row > 0)) {
        if (top.row > 0) {
            const int step = qMin(-rows, top.row);
            top.row -= step;
            rows += step;
        } else {
            top.line -= 1;
            top.row = int(layoutOf(top.line).rows.size()) - 1;
            ++rows;
        }
    }
    scrollToRow(top);
}

void ScriptMemo::ensureCursorVisible()
{
    const qsizetype caret = caretOffset();
    const int line = lineOfOffset(caret);
    const LineLayout &layout = layoutOf(line);
    const int column = int(caret - lineStartOffset(line));
    const int row = layout.rowOf(column);
    const qreal height = viewport()->height();

    if (Row{line, row} < m_top) {
        scrollToRow({line, row});
    } else {
        // The caret row's bottom, measured from the viewport's top, when the caret's line is near;
        // a far line is brought in from below without measuring what lies between.
        qreal bottom = topLineY();
        bool near = true;
        for (int l = m_top.line; l < line; ++l) {
            bottom += layoutOf(l).height;
            if (bottom > 2 * height) {
                near = false;
                break;
            }
        }
        bottom += layout.rows[row].top + layout.rows[row].height;
        if (!near || bottom > height) {
            // Put the caret's row at the bottom: walk up from it until the viewport is filled.
            Row top{line, row};
            qreal used = layout.rows[row].height;
            while (true) {
                Row previous{top.line, top.row - 1};
                if (previous.row < 0) {
                    if (--previous.line < 0)
                        break;
                    previous.row = int(layoutOf(previous.line).rows.size()) - 1;
                }
                const qreal h = layoutOf(previous.line).rows[previous.row].height;
                if (used + h > height)
                    break;
                used += h;
                top = previous;
            }
            scrollToRow(top);
        }
    }

    // Sideways, where lines do not wrap.
    if (!wordWrap()) {
        const qreal x = layout.xOf(column);
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
    offset = m_document->snapped(offset);
    const int line = lineOfOffset(offset);
    if (line < m_top.line)
        return {};
    const qreal height = viewport()->height();
    qreal y = topLineY();
    for (int l = m_top.line; l < line; ++l) {
        y += layoutOf(l).height;
        if (y > height)
            return {};
    }
    const LineLayout &layout = layoutOf(line);
    const int column = int(offset - lineStartOffset(line));
    const int row = layout.rowOf(column);
    const qreal x = layout.xOf(column);
    return QRect(int(textLeft() + x - m_xOffset), int(y + layout.rows[row].top), 1, int(layout.rows[row].height));
}

qsizetype ScriptMemo::offsetAt(QPoint point) const
{
    qreal y = topLineY();
    if (point.y() < 0 && m_top == Row{})
        return 0;
    for (int line = m_top.line; line < lineCount(); ++line) {
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
                return textLength();
            return lineStartOffset(line) + column;
        }
        y += layout.height;
    }
    return textLength();
}

void ScriptMemo::paintGutter(QPainter &painter, const QRect &area)
{
    painter.fillRect(area, palette().color(QPalette::AlternateBase));
    painter.setPen(palette().color(QPalette::PlaceholderText));
    qreal y = topLineY();
    for (int line = m_top.line; line < lineCount() && y < area.height(); ++line) {
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
    const int caretLine = lineOfOffset(caretOffset());
    const bool caretVisible = hasFocus() && m_caretShown && !m_readOnly;
    QTextCharFormat selected;
    selected.setBackground(pal.brush(hasFocus() ? QPalette::Active : QPalette::Inactive, QPalette::Highlight));
    selected.setForeground(pal.brush(hasFocus() ? QPalette::Active : QPalette::Inactive, QPalette::HighlightedText));

    painter.setClipRect(QRect(gutterWidth(), 0, area.width() - gutterWidth(), area.height()));
    qreal y = topLineY();
    const qreal left = textLeft() - m_xOffset;
    for (int line = m_top.line; line < lineCount() && y < area.height(); ++line) {
        const LineLayout &layout = layoutOf(line);
        const qsizetype lineStart = lineStartOffset(line);
        const qsizetype lineEnd = m_document->lineEnd(line);
        if (m_markCurrentLine && line == caretLine && SelLength() == 0) {
            QColor current = pal.color(QPalette::Highlight);
            current.setAlpha(28);
            painter.fillRect(QRectF(gutterWidth(), y, area.width(), layout.height), current);
        }
        if (!m_highlights.isEmpty())
            paintHighlights(painter, line, layout, QPointF(left, y));
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
            const int column = int(caretOffset() - lineStart);
            const int segment = layout.segmentOf(column);
            const int position = column - layout.segmentStarts[segment] + (m_preedit.isEmpty() ? 0 : m_preeditCursor);
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
        painter.drawText(area, Qt::AlignCenter,
                         QStringLiteral("Открытие файла… %1 %").arg(m_document->loadingPercent()));
    }
}

void ScriptMemo::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    m_lastTopKnown = false;
    if (wordWrap())
        m_top.row = 0;
    updateLayoutWidth();
    updateScrollRange();
}

void ScriptMemo::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_layout.setFont(font());
        updateLayoutWidth();
        m_lastTopKnown = false;
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
        const QRect caret = offsetRect(caretOffset());
        viewport()->update(caret.isEmpty() ? viewport()->rect() : caret.adjusted(-2, 0, 2, 0));
    } else if (event->timerId() == m_scrollTimer.timerId()) {
        // Selecting with the mouse beyond the viewport's edge scrolls towards it.
        const QPoint point = m_lastMousePos;
        if (point.y() < 0)
            verticalScrollBar()->setValue(verticalScrollBar()->value() - 1);
        else if (point.y() > viewport()->height())
            verticalScrollBar()->setValue(verticalScrollBar()->value() + 1);
        setSelection(anchorOffset(), offsetAt(point));
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
        if (clipboard->supportsSelection() && takesEdits()) {
            setSelection(at, at);
            insertFromMimeData(clipboard->mimeData(QClipboard::Selection));
        }
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    m_pressPos = point;
    m_desiredX = -1;
    // A third click soon after a double click, and near it, selects the line.
    const bool tripleClick = m_lastDoubleClick.isValid()
        && m_lastDoubleClick.elapsed() < QGuiApplication::styleHints()->mouseDoubleClickInterval()
        && (point - m_doubleClickPos).manhattanLength() < QApplication::startDragDistance();
    m_lastDoubleClick.invalidate();
    if (tripleClick) {
        m_granularity = Granularity::Line;
        m_selectionOrigin = at;
        const Range line = m_document->lineAt(at);
        setSelection(line.start, line.start + line.length);
        return;
    }
    m_granularity = Granularity::Character;
    if (SelLength() > 0 && at >= SelStart() && at < SelStart() + SelLength() && !(event->modifiers() & Qt::ShiftModifier)) {
        m_mayDrag = true; // a press inside the selection may start dragging it
        return;
    }
    m_selectionOrigin = at;
    setSelection(event->modifiers() & Qt::ShiftModifier ? anchorOffset() : at, at);
}

void ScriptMemo::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    const qsizetype at = offsetAt(point);
    m_granularity = Granularity::Word;
    m_selectionOrigin = at;
    m_mayDrag = false;
    const Range word = m_document->wordAt(at);
    setSelection(word.start, word.start + word.length);
    m_lastDoubleClick.start();
    m_doubleClickPos = point;
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
        // A move to another editor or program takes the text away from here; a move within this
        // text was made whole by the drop.
        const bool droppedHere = drag->target() == this || drag->target() == viewport();
        if (action == Qt::MoveAction && !droppedHere && takesEdits()) {
            setSelection(start, start + length);
            removeSelectionOr(0, 0, ScriptDocument::EditKind::Other);
        }
        return;
    }
    m_lastMousePos = point;
    if (!viewport()->rect().contains(point))
        m_scrollTimer.start(50, this);
    else
        m_scrollTimer.stop();
    const qsizetype at = offsetAt(point);
    const ScriptDocument &d = *m_document;
    switch (m_granularity) {
    case Granularity::Character:
        setSelection(anchorOffset(), at);
        break;
    case Granularity::Word: {
        // Whole words from the one first double-clicked.
        const Range word = d.wordAround(at);
        if (at < m_selectionOrigin)
            setSelection(d.selectionEnd(), word.start);
        else
            setSelection(d.selectionStart(), word.start + word.length);
        break;
    }
    case Granularity::Line: {
        const Range origin = d.lineAt(m_selectionOrigin);
        const Range line = d.lineAt(at);
        if (line.start < origin.start)
            setSelection(origin.start + origin.length, line.start);
        else
            setSelection(origin.start, line.start + line.length);
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
    const bool editable = takesEdits();
    add(QStringLiteral("&Отменить"), QKeySequence::Undo, isUndoAvailable() && editable, &ScriptMemo::undo);
    add(QStringLiteral("&Повторить"), QKeySequence::Redo, isRedoAvailable() && editable, &ScriptMemo::redo);
    menu->addSeparator();
    add(QStringLiteral("Вы&резать"), QKeySequence::Cut, selection && editable, &ScriptMemo::cut);
    add(QStringLiteral("&Копировать"), QKeySequence::Copy, selection, &ScriptMemo::copy);
    const QMimeData *clipboard = QGuiApplication::clipboard()->mimeData();
    add(QStringLiteral("&Вставить"), QKeySequence::Paste, editable && clipboard && clipboard->hasText(),
        &ScriptMemo::paste);
    add(QStringLiteral("&Удалить"), QKeySequence(), selection && editable,
        [this] { removeSelectionOr(0, 0, ScriptDocument::EditKind::Other); });
    menu->addSeparator();
    add(QStringLiteral("Выд&елить всё"), QKeySequence::SelectAll, textLength() > 0, &ScriptMemo::selectAll);
    return menu;
}

void ScriptMemo::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // From the keyboard's menu key the menu opens at the caret, not where the mouse happens to be.
    const QRect caret = offsetRect(caretOffset());
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
    if (!droppedFiles(event->mimeData()).isEmpty() || (event->mimeData()->hasText() && takesEdits()))
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
    if (!event->mimeData()->hasText() || !takesEdits()) {
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

QObject *ScriptMemo::dropSource(const QDropEvent *event) const
{
    return event->source();
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
    const qsizetype at = offsetAt(event->position().toPoint());
    // The drag starts at the memo itself (its viewport only shows it).
    const QObject *source = dropSource(event);
    if (source == this || source == viewport()) {
        // Dropped onto the dragged selection: nothing moves, nothing is copied.
        if (at >= SelStart() && at <= SelStart() + SelLength()) {
            event->ignore();
            return;
        }
        if (event->dropAction() == Qt::MoveAction) {
            m_document->moveSelection(at);
            event->setDropAction(Qt::CopyAction); // nothing more to remove on the dragging side
            event->accept();
            setFocus();
            return;
        }
    }
    // The dropped text ends up selected.
    m_document->insertSelected(at, event->mimeData()->text());
    event->accept();
    setFocus();
}
