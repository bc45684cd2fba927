#pragma once

#include "editor/memo_layout.h"
#include "editor/script_document.h"
#include "language/line_source.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QElapsedTimer>
#include <QKeySequence>
#include <QPoint>

class QMenu;
class QMimeData;

// The multi-line text control of a script: Windows-1251 or UTF-8 text seen as lines, or as one
// string in which every line break is the two characters CR LF, with selection offsets counted in
// that string as QString counts them.
// The text and its editing live in a ScriptDocument that the control owns; the control lays out and
// paints only the lines on screen, turns keys, the mouse and the clipboard into the document's
// edits and steps, and follows the document's notices, so opening, typing and appending cost the
// same at any size.
class ScriptMemo : public QAbstractScrollArea, public LineSource {
    Q_OBJECT
public:
    explicit ScriptMemo(QWidget *parent = nullptr);
    ~ScriptMemo() override;

    // The text and its editing state.
    ScriptDocument *document() const { return m_document; }

    // Selection in characters of the CR LF string.
    qsizetype SelStart() const { return m_document->selectionStart(); }
    qsizetype SelLength() const { return m_document->selectionLength(); }
    void setSelStart(qsizetype offset);  // caret there, nothing selected
    void setSelLength(qsizetype length); // selects from SelStart on; scrolls the caret into view
    QString SelText() const { return m_document->selectedText(); } // line breaks as CR LF
    // The edits below say whether they changed the text: a text being loaded takes none.
    bool setSelText(const QString &text);
    // The caret (the moving end of the selection) and the other end.
    qsizetype caretOffset() const { return m_document->caret(); }
    qsizetype anchorOffset() const { return m_document->anchor(); }
    void setSelection(qsizetype anchor, qsizetype caret) { m_document->setSelection(anchor, caret); }

    // Column (x) and line (y), from 0, of the end of the selection.
    QPoint CaretPos() const;

    int lineCount() const override { return m_document->lineCount(); }
    QString line(int index) const override { return m_document->line(index); }
    qsizetype lineStartOffset(int line) const { return m_document->lineStart(line); }
    int lineOfOffset(qsizetype offset) const { return m_document->lineOf(offset); }
    qsizetype lineLength(int line) const { return m_document->lineLength(line); }
    // Lines longer than this (a binary file, a minified script) are shown in rows as wide as the
    // view, each laid out only when it comes into view, and without colours: a key press in such a
    // line costs what its shown rows cost, not what the whole line would.
    static constexpr int kLongLine = ScriptDocument::kLongLine;
    bool setLine(int index, const QString &text);
    bool clearLines();

    // Appends a text as a line at the end, at a cost independent of the text already held.
    bool appendAsLine(const QString &text);

    using Range = ScriptDocument::Range;
    // What the last change of the text did, for those who follow it (Change says when).
    using TextChange = ScriptDocument::TextChange;
    const TextChange &lastChange() const { return m_document->lastChange(); }

    // Replaces every range (ascending, not overlapping) by the text as one step, which a single
    // undo reverts and which signals Change once; the caret ends after the last replacement.
    bool replaceRanges(const QList<Range> &ranges, const QString &text);

    using Progress = TextBuffer::Progress;

    // Replaces the whole text with a file's bytes (any line breaks) and clears Modified. Progress is
    // told between pieces of a large text; the load cannot be undone.
    void loadFile(const QByteArray &fileBytes, const Progress &progress = {});
    // The same for a text made ready elsewhere (a large file read on a thread of its own).
    void loadPrepared(TextBuffer::Prepared &&text);
    // While a file is being read into the window: how far it has come, shown over the empty text;
    // the text takes no edits, and the caret and the selection do not move, meanwhile. loadPrepared
    // ends it.
    void setLoadingProgress(int percent) { m_document->setLoadingProgress(percent); }
    bool isLoading() const { return m_document->isLoading(); }
    // The same for a text of characters, whose line breaks may be CR LF, lone CR or lone LF.
    void loadText(QStringView text, const Progress &progress = {});
    // The text as file bytes: CR LF between lines, nothing after the last.
    QByteArray fileBytes(const Progress &progress = {}) const { return m_document->fileBytes(progress); }
    QString wholeText() const { return m_document->wholeText(); } // the CR LF string
    // A stretch of the CR LF string, clipped to the text; it costs what the stretch holds.
    QString textRange(qsizetype start, qsizetype length) const { return m_document->text(start, length); }
    QString toPlainText() const; // the text with LF between lines, as the clipboard holds it
    void setPlainText(const QString &text) { loadText(text); }
    qsizetype textLength() const { return m_document->length(); }

    bool Modified() const { return m_document->isModified(); }
    void setModified(bool modified) { m_document->setModified(modified); }

    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool wordWrap() const { return m_layout.wraps(); }
    void setWordWrap(bool wrap);
    bool lineNumbersShown() const { return m_lineNumbers; }
    void setLineNumbersShown(bool shown);
    bool currentLineMarked() const { return m_markCurrentLine; }
    void setCurrentLineMarked(bool marked);

    bool isUndoAvailable() const { return m_document->canUndo(); }
    bool isRedoAvailable() const { return m_document->canRedo(); }

    // Application-wide shortcuts that the text control must leave to the main window,
    // although the platform binds some of them to editing keys (Ctrl+K deletes to line end on X11).
    static void setReservedShortcuts(const QList<QKeySequence> &shortcuts);

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

    // The local files a drop carries; empty when it carries none (text, or addresses of the web).
    static QStringList droppedFiles(const QMimeData *data);

    // Where the text of the given offset is drawn, in viewport coordinates: the caret's rectangle.
    // Empty when the offset's line is not on screen.
    QRect offsetRect(qsizetype offset) const;
    // The offset under a point of the viewport.
    qsizetype offsetAt(QPoint viewportPoint) const;
    // The first line drawn at the top of the viewport, and which of its rows is drawn first.
    int firstVisibleLine() const { return m_top.line; }
    int firstVisibleRow() const { return m_top.row; }

    using Mark = ScriptDocument::Mark;
    using LineStyle = ScriptDocument::LineStyle;
    using LineStyler = ScriptDocument::LineStyler;
    // Installs the styler (an empty one draws plain text); the first line starts in initialState.
    // Lines are styled as they are drawn, each state computed once until an edit above it.
    void setLineStyler(const LineStyler &styler, int initialState = 0) { m_document->setLineStyler(styler, initialState); }
    bool hasLineStyler() const { return m_document->hasLineStyler(); }
    // The state the line starts in: the one the styler left after the line before it.
    int lineStartState(int line) const { return m_document->lineStartState(line); }

    // Backgrounds drawn behind stretches of the text, such as the partner of the bracket at the caret.
    struct Highlight {
        qsizetype start = 0;
        qsizetype length = 0;
        QColor background;
    };
    void setHighlights(const QList<Highlight> &highlights);
    const QList<Highlight> &highlights() const { return m_highlights; }
    // Drops what the view has laid out of lines first to last, so they are drawn anew.
    void refreshLines(int first, int last);

public slots:
    bool undo();
    bool redo();
    bool cut();
    void copy();
    bool paste();
    void selectAll();
    bool clear() { return clearLines(); }
    void ensureCursorVisible();

signals:
    // After every change of the text; a compound change made by one command signals once, after it.
    void Change();
    // After every move of the caret or the selection, changes of the text included.
    void caretMoved();
    // Text typed at the keyboard or committed by an input method, after it went in.
    void typed(const QString &text);
    // Files dropped on the text: they are opened, not inserted.
    void filesDropped(const QStringList &paths);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

    // Text that goes into the editor from a drop or a paste.
    virtual bool insertFromMimeData(const QMimeData *source);
    // Where a drop comes from: the memo itself when its own selection is dragged.
    virtual QObject *dropSource(const QDropEvent *event) const;

private:
    using Row = MemoLayout::Row;
    using LineLayout = MemoLayout::LineLayout;

    // Following the document.
    void linesReplaced(int firstLine, int lastLine, int delta);
    void textReset();
    void textChanged();
    void selectionChanged();
    // An edit asked for through this view, which then brings the caret into view.
    template <typename Edit>
    bool editShowingCaret(Edit edit);

    bool takesEdits() const { return !m_readOnly && !isLoading(); }
    bool insertTyped(const QString &text);
    bool removeSelectionOr(qsizetype from, qsizetype to, ScriptDocument::EditKind kind);

    // Caret movement.
    void moveCaret(qsizetype offset, bool keepAnchor);
    qsizetype rowMove(qsizetype offset, int rows);
    qsizetype rowEdge(qsizetype offset, bool end) const;
    void movePage(int direction, bool selecting);
    bool handleMovementKey(QKeyEvent *event);
    bool handleEditingKey(QKeyEvent *event);
    bool isEditorKey(QKeyEvent *event) const;
    void updatePrimarySelection();

    // Layout and view.
    const LineLayout &layoutOf(int line) const { return m_layout.layoutOf(line); }
    qreal layoutWidth() const;
    int textLeft() const;
    int pageRows() const;
    void updateLayoutWidth();
    void updateScrollRange();
    void scrollToRow(Row top);
    void scrollByRows(int rows);
    // The top of the last page: the rows from it to the end fill the viewport.
    Row lastTop() const;
    // Where the top line's first row stands in the viewport: at 0 or above it.
    qreal topLineY() const;
    int gutterWidth() const;
    void paintGutter(QPainter &painter, const QRect &area);
    void paintHighlights(QPainter &painter, int line, const LineLayout &layout, QPointF origin);
    void restartBlink();
    QMenu *createContextMenu();
    QMimeData *selectionMimeData() const;

    ScriptDocument *const m_document;
    MemoLayout m_layout;
    bool m_showCaretOnChange = false;
    qreal m_desiredX = -1;
    bool m_readOnly = false;
    bool m_lineNumbers = false;
    bool m_markCurrentLine = false;
    QList<Highlight> m_highlights;

    Row m_top; // the line drawn at the top, and how many of its rows are scrolled above the viewport
    bool m_topPastEnd = false; // lines were removed from under the view
    int m_xOffset = 0;
    bool m_settingScroll = false;
    mutable Row m_lastTop;
    mutable bool m_lastTopKnown = false; // worked out again when the end of the text or the view changed

    QBasicTimer m_blinkTimer;
    bool m_caretShown = true;
    QBasicTimer m_scrollTimer;
    QPoint m_lastMousePos;
    enum class Granularity { Character, Word, Line } m_granularity = Granularity::Character;
    qsizetype m_selectionOrigin = 0;
    QElapsedTimer m_lastDoubleClick;
    QPoint m_doubleClickPos;
    bool m_mayDrag = false;
    QPoint m_pressPos;
    qsizetype m_dropOffset = -1;
    QString m_preedit;
    int m_preeditCursor = 0;
};
