#pragma once

#include "editor/edit_history.h"
#include "editor/text_buffer.h"
#include "language/line_source.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QElapsedTimer>
#include <QKeySequence>
#include <QPoint>
#include <QTextLayout>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QMenu;
class QMimeData;

// The multi-line text control of a script: Windows-1251 text seen as lines, or as one string in
// which every line break is the two characters CR LF, with selection offsets counted in that string.
// The text lives in a TextBuffer; only the lines on screen are laid out and painted, so opening,
// typing and appending cost the same at any size.
class ScriptMemo : public QAbstractScrollArea, public LineSource {
    Q_OBJECT
public:
    explicit ScriptMemo(QWidget *parent = nullptr);
    ~ScriptMemo() override;

    // Selection in characters of the CR LF string.
    qsizetype SelStart() const;
    qsizetype SelLength() const;
    void setSelStart(qsizetype offset);  // caret there, nothing selected
    void setSelLength(qsizetype length); // selects from SelStart on; scrolls the caret into view
    QString SelText() const;             // line breaks as CR LF
    // The edits below say whether they changed the text: a read-only text, or one being loaded, takes none.
    bool setSelText(const QString &text);
    // The caret (the moving end of the selection) and the other end.
    qsizetype caretOffset() const { return m_caret; }
    qsizetype anchorOffset() const { return m_anchor; }
    void setSelection(qsizetype anchor, qsizetype caret);

    // Column (x) and line (y), from 0, of the end of the selection.
    QPoint CaretPos() const;

    int lineCount() const override { return m_text.lineCount(); }
    QString line(int index) const override;
    qsizetype lineStartOffset(int line) const { return m_text.lineStart(line); }
    int lineOfOffset(qsizetype offset) const { return m_text.lineOf(offset); }
    qsizetype lineLength(int line) const { return m_text.lineLength(line); }
    // Lines longer than this (a binary file, a minified script) are shown in rows of a fixed number
    // of characters, each laid out only when it comes into view, and without colours: a key press in
    // such a line costs what its shown rows cost, not what the whole line would.
    static constexpr int kLongLine = 20'000;
    bool setLine(int index, const QString &text);
    bool clearLines();

    // Appends a text as a line at the end, at a cost independent of the text already held.
    bool appendAsLine(const QString &text);

    // A stretch of the CR LF string.
    struct Range {
        qsizetype start = 0;
        qsizetype length = 0;
    };
    // What the last change of the text did, for those who follow it (Change says when): the stretch
    // [start, start + insertedLength) of the text now stands where removedLength characters stood.
    // removed holds those characters' bytes when the change was one replacement of a modest size;
    // otherwise it is empty.
    struct TextChange {
        qsizetype start = 0;
        qsizetype removedLength = 0;
        qsizetype insertedLength = 0;
        QByteArray removed;
    };
    const TextChange &lastChange() const { return m_lastChange; }

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
    void setLoadingProgress(int percent);
    bool isLoading() const { return m_loadingPercent >= 0; }
    // The same for a text of characters, whose line breaks may be CR LF, lone CR or lone LF.
    void loadText(QStringView text, const Progress &progress = {});
    // The text as file bytes: CR LF between lines, nothing after the last.
    QByteArray fileBytes(const Progress &progress = {}) const;
    QString wholeText() const;   // the CR LF string
    // A stretch of the CR LF string, clipped to the text; it costs what the stretch holds.
    QString textRange(qsizetype start, qsizetype length) const;
    QString toPlainText() const; // the text with LF between lines, as the clipboard holds it
    void setPlainText(const QString &text) { loadText(text); }
    qsizetype textLength() const { return m_text.length(); }
    // The text as one run of bytes, for searching; holds until the next change.
    QByteArrayView textBytes() const { return const_cast<TextBuffer &>(m_text).view(); }

    bool Modified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }

    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool wordWrap() const { return m_wordWrap; }
    void setWordWrap(bool wrap);
    bool lineNumbersShown() const { return m_lineNumbers; }
    void setLineNumbersShown(bool shown);
    bool currentLineMarked() const { return m_markCurrentLine; }
    void setCurrentLineMarked(bool marked);

    bool isUndoAvailable() const { return m_history.canUndo(); }
    bool isRedoAvailable() const { return m_history.canRedo(); }

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
    // The first line drawn at the top of the viewport.
    int firstVisibleLine() const { return m_topLine; }

    // Styles drawn over a line's characters [start, start + length).
    struct Mark {
        int start = 0;
        int length = 0;
        QTextCharFormat format;
    };
    // How a line is drawn, from its text and the state the line before it left (what a script
    // language carries from line to line: an open comment, the braces around it), and the state
    // it leaves to the next line.
    struct LineStyle {
        QList<Mark> marks;
        int endState = 0;
    };
    using LineStyler = std::function<LineStyle(const QString &text, int startState)>;
    // Installs the styler (an empty one draws plain text); the first line starts in initialState.
    // Lines are styled as they are drawn, each state computed once until an edit above it.
    void setLineStyler(const LineStyler &styler, int initialState = 0);
    bool hasLineStyler() const { return bool(m_styler); }
    // The state the line starts in: the one the styler left after the line before it.
    int lineStartState(int line) const;

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

private:
    class EditScope;
    friend class EditScope;
    struct LineLayout;
    struct Row;

    // Edits: every change of the text goes through replaceBytes inside an EditScope.
    // Whether the text now differs: nothing goes in while a file is being loaded.
    bool replaceBytes(qsizetype start, qsizetype length, const QByteArray &bytes);
    bool takesEdits() const { return !m_readOnly && !isLoading(); }
    void noteReplacement(qsizetype start, qsizetype length, qsizetype insertedLength, const QByteArray &removed);
    bool insertTyped(const QString &text);
    bool deleteSelectionOr(qsizetype from, qsizetype to, EditHistory::Kind kind);
    void applyHistoryStep(const EditHistory::Step &step, bool undoing);
    void textReplaced();

    // Caret movement.
    void moveCaret(qsizetype offset, bool keepAnchor);
    qsizetype previousCharacter(qsizetype offset) const;
    qsizetype nextCharacter(qsizetype offset) const;
    qsizetype wordStartBefore(qsizetype offset) const;
    qsizetype wordEndAfter(qsizetype offset) const;
    qsizetype rowMove(qsizetype offset, int rows);
    qsizetype rowEdge(qsizetype offset, bool end) const;
    bool handleMovementKey(QKeyEvent *event);
    bool handleEditingKey(QKeyEvent *event);
    bool isEditorKey(QKeyEvent *event) const;
    void selectWordAt(qsizetype offset);
    void selectLineAt(qsizetype offset);
    void updatePrimarySelection();

    // Layout and view.
    const LineLayout &layoutOf(int line) const;
    std::unique_ptr<LineLayout> buildLayout(int line, bool styled) const;
    qreal lineHeight(int line) const;
    qreal layoutWidth() const;
    int textLeft() const;
    QString displayText(QString lineText) const;
    LineStyle styleOf(int line, int startState) const;
    std::unique_ptr<LineLayout> buildLongLayout(int line, std::unique_ptr<LineLayout> layout) const;
    Row rowAt(qsizetype offset) const;
    qreal rowX(qsizetype offset) const;
    // Everything laid out goes (a new width, font or text).
    void forgetLayouts();
    void shiftLayouts(int firstLine, int lastLine, int delta);
    void updateLineStates(int firstLine, int lastLine, int delta);
    void startStateWarmUp();
    void updateScrollRange();
    void scrollToLine(int line, int row);
    int lastTopLine() const;
    // Where the top line's first row stands in the viewport: at 0 or above it.
    qreal topLineY() const;
    int gutterWidth() const;
    void paintGutter(QPainter &painter, const QRect &area);
    void paintHighlights(QPainter &painter, int line, const LineLayout &layout, QPointF origin);
    void restartBlink();
    QMenu *createContextMenu();
    QMimeData *selectionMimeData() const;

    TextBuffer m_text;
    EditHistory m_history;
    qsizetype m_anchor = 0;
    qsizetype m_caret = 0;
    qreal m_desiredX = -1;
    bool m_modified = false;
    int m_loadingPercent = -1; // -1: not loading
    bool m_readOnly = false;
    bool m_wordWrap = true;
    bool m_lineNumbers = false;
    bool m_markCurrentLine = false;
    LineStyler m_styler;
    int m_initialState = 0;
    mutable std::vector<int> m_lineStates; // start states of the lines from 0, as far as known
    QList<Highlight> m_highlights;

    int m_topLine = 0;
    int m_topRow = 0; // rows of the top line scrolled above the viewport
    int m_xOffset = 0;
    bool m_settingScroll = false;
    mutable qreal m_widestLine = 0;
    mutable int m_lastTopLine = -1; // worked out when needed
    mutable std::map<int, std::unique_ptr<LineLayout>> m_layouts;

    // One command's edits.
    int m_scopeDepth = 0;
    EditHistory::Step m_step;
    bool m_changed = false;
    TextChange m_lastChange;

    QBasicTimer m_blinkTimer;
    bool m_caretShown = true;
    QBasicTimer m_scrollTimer;
    QBasicTimer m_stateTimer;
    QPoint m_lastMousePos;
    enum class Granularity { Character, Word, Line } m_granularity = Granularity::Character;
    qsizetype m_selectionOrigin = 0;
    QElapsedTimer m_lastDoubleClick;
    bool m_mayDrag = false;
    QPoint m_pressPos;
    qsizetype m_dropOffset = -1;
    QString m_preedit;
    int m_preeditCursor = 0;
};
