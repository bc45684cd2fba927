#pragma once

#include <QKeySequence>
#include <QPlainTextEdit>
#include <QPoint>

#include <functional>

// The multi-line text control of a script: Windows-1251 text seen as lines, or as one string in
// which every line break is the two characters CR LF, with selection offsets counted in that string.
class ScriptMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ScriptMemo(QWidget *parent = nullptr);

    // Selection in characters of the CR LF string.
    qsizetype SelStart() const;
    qsizetype SelLength() const;
    void setSelStart(qsizetype offset);  // caret there, nothing selected
    void setSelLength(qsizetype length); // selects from SelStart on; scrolls the caret into view
    QString SelText() const;             // line breaks as CR LF
    void setSelText(const QString &text);

    // Column (x) and line (y), from 0, of the end of the selection.
    QPoint CaretPos() const;

    int lineCount() const;
    QString line(int index) const;
    void setLine(int index, const QString &text);
    void clearLines();

    // Appends a text as a line at the end, at a cost independent of the text already held.
    void appendAsLine(const QString &text);

    // A stretch of document positions (a line break counts as one there).
    struct Range {
        int position = 0;
        int length = 0;
    };
    // Replaces every range (ascending, not overlapping) by the text as one step, which a single
    // undo reverts and which signals Change once; the caret ends after the last replacement.
    void replaceRanges(const QList<Range> &ranges, const QString &text);

    // Told how far a long load or save has come.
    using Progress = std::function<void(qint64 done, qint64 total)>;

    // Replaces the whole text with file text ('\n' between lines) and clears Modified. Large texts go
    // in piece by piece, telling progress between pieces; the load cannot be undone.
    void loadText(const QString &textWithLf, const Progress &progress = {});
    // The text as file bytes: CR LF between lines, nothing after the last.
    QByteArray fileBytes(const Progress &progress = {}) const;
    QString wholeText() const; // the CR LF string

    bool Modified() const;
    void setModified(bool modified);

    qsizetype offsetOfPosition(int position) const;
    int positionOfOffset(qsizetype offset) const;
    qsizetype textLength() const;

    // Application-wide shortcuts that the text control must leave to the main window,
    // although the platform binds some of them to editing keys (Ctrl+K deletes to line end on X11).
    static void setReservedShortcuts(const QList<QKeySequence> &shortcuts);

signals:
    // After every change of the text; a compound change made by one command signals once, after it.
    void Change();
    // Files dropped on the text, which open in windows of their own instead of going into the text.
    void filesDropped(const QStringList &paths);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
    void dropEvent(QDropEvent *event) override;

    class CompoundChange;
    friend class CompoundChange;

private:
    void documentChanged();

    int m_compoundDepth = 0;
    bool m_changedInCompound = false;
};
