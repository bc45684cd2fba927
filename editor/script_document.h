#pragma once

#include "editor/edit_history.h"
#include "editor/line_states.h"
#include "editor/text_buffer.h"
#include "language/line_source.h"

#include <QBasicTimer>
#include <QList>
#include <QObject>
#include <QTextCharFormat>

#include <functional>

// The text of one script and what editing it means, apart from any view: the text store, the
// selection and its caret, undo and redo, the modified flag, the lines' styling states, the caret's
// steps by character, word and line, the wait for a large file being read, and the text's encoding.
// Views draw it and follow its notices; every edit says whether it changed the text.
//
// Offsets count the characters of the text in which every line break is the two characters CR LF,
// as QString counts them (a character outside the Basic Multilingual Plane counts two). The store
// holds bytes in the text's encoding: one Windows-1251 byte per character, or UTF-8. Text goes in
// through encoded(), edits and undo work on bytes, and offsets become bytes and back in the
// TextBuffer.
class ScriptDocument : public QObject, public LineSource {
    Q_OBJECT
public:
    explicit ScriptDocument(QObject *parent = nullptr);
    ~ScriptDocument() override;

    // ---- The text
    qsizetype length() const { return m_text.length(); }
    int lineCount() const override { return m_text.lineCount(); }
    // Line index without its line break; empty outside the text.
    QString line(int index) const override;
    qsizetype lineStart(int line) const { return m_text.lineStart(line); }
    // Where the line's text ends: before its line break, or at the end of the text for the last line.
    qsizetype lineEnd(int line) const { return m_text.lineEnd(line); }
    qsizetype lineLength(int line) const { return m_text.lineLength(line); }
    int lineOf(qsizetype offset) const { return m_text.lineOf(offset); }
    // A stretch of the text, clipped to it; it costs what the stretch holds.
    QString text(qsizetype start, qsizetype length) const;
    QString wholeText() const { return m_text.text(0, length()); }
    // The text as file bytes: the byte order mark where the encoding has one, CR LF between lines,
    // nothing after the last.
    QByteArray fileBytes(const TextBuffer::Progress &progress = {}) const;
    // The text as one run of bytes, for searching; holds until the next change.
    QByteArrayView bytes() const { return const_cast<TextBuffer &>(m_text).view(); }
    // Where an offset lies in bytes(), and back (from the start of a character).
    qsizetype byteOffset(qsizetype offset) const { return m_text.byteOffset(offset); }
    qsizetype offsetOfByte(qsizetype byteOffset) const { return m_text.offsetOfByte(byteOffset); }
    // Bytes in the text's encoding as characters.
    QString decoded(QByteArrayView bytes) const { return m_text.decoded(bytes); }
    // The nearest offset at or before offset that is a place for the caret: within the text, not
    // between the CR and the LF of a line break, nor between the halves of a surrogate pair.
    qsizetype snapped(qsizetype offset) const { return m_text.snapped(offset); }
    bool endsWithLineBreak() const { return m_text.endsWithLineBreak(); }

    // A stretch of the text: offset and length.
    struct Range {
        qsizetype start = 0;
        qsizetype length = 0;
    };

    // ---- The selection: the anchor and the caret, its moving end
    qsizetype anchor() const { return m_anchor; }
    qsizetype caret() const { return m_caret; }
    qsizetype selectionStart() const { return qMin(m_anchor, m_caret); }
    qsizetype selectionEnd() const { return qMax(m_anchor, m_caret); }
    qsizetype selectionLength() const { return selectionEnd() - selectionStart(); }
    QString selectedText() const { return m_text.text(selectionStart(), selectionLength()); }
    // Both ends are snapped to places for the caret. Refused while a file is loaded.
    bool setSelection(qsizetype anchor, qsizetype caret);

    // ---- Edits. Each is one undo step and one changed() notice, and says whether it changed the
    // text: none does while a file is loaded, nor when it would replace nothing by nothing. Texts
    // go in with every line break as CR LF and, in Windows-1251, a "?" for each character the code
    // page cannot hold.
    using EditKind = EditHistory::Kind;
    // The stretch becomes text; the caret ends after it, with nothing selected.
    bool replace(qsizetype start, qsizetype length, const QString &text, EditKind kind = EditKind::Other);
    bool replaceSelection(const QString &text, EditKind kind = EditKind::Other);
    // The selection goes, or the stretch from to to where nothing is selected.
    bool removeSelectionOr(qsizetype from, qsizetype to, EditKind kind);
    bool setLine(int index, const QString &text);
    bool clearLines();
    // Appends a text as a line at the end; the caret ends after it.
    bool appendAsLine(const QString &text);
    // Replaces every range (ascending, not overlapping) by the text as one step; the caret ends after
    // the last replacement.
    bool replaceRanges(const QList<Range> &ranges, const QString &text);
    // Puts the text in at offset and selects it (a drop).
    bool insertSelected(qsizetype offset, const QString &text);
    // Moves the selected text to offset, where it ends selected, as one step (a drag within the
    // text). Nothing happens where offset lies within the selection.
    bool moveSelection(qsizetype offset);
    bool undo();
    bool redo();
    bool canUndo() const { return m_history.canUndo(); }
    bool canRedo() const { return m_history.canRedo(); }

    // What the last change did: the stretch [start, start + insertedLength) of the text now stands
    // where removedLength characters stood. removed holds those characters' bytes (decoded() reads
    // them) when the change was one replacement of a modest size; otherwise it is empty.
    struct TextChange {
        qsizetype start = 0;
        qsizetype removedLength = 0;
        qsizetype insertedLength = 0;
        QByteArray removed;
    };
    const TextChange &lastChange() const { return m_lastChange; }

    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }

    // ---- Loading. The whole text is replaced, Modified cleared, and undo cannot bring back the old.
    // A file's bytes with any line breaks, in the encoding they show (ScriptText::detectedEncoding);
    // progress is told between pieces of a large text.
    void loadFile(const QByteArray &fileBytes, const TextBuffer::Progress &progress = {});
    // A text made ready elsewhere (a large file read on a thread of its own), in its encoding.
    void loadPrepared(TextBuffer::Prepared &&text);
    // A text of characters, whose line breaks may be CR LF, lone CR or lone LF, in the present encoding.
    void loadText(QStringView text, const TextBuffer::Progress &progress = {});

    // ---- The encoding: Windows-1251 for a new text.
    ScriptEncoding encoding() const { return m_encoding; }
    bool isUtf8() const { return m_text.isUtf8(); }
    // How many characters of the text would become "?" in the encoding.
    qsizetype missingCharacters(ScriptEncoding encoding) const;
    // Puts the text into another encoding, each character the new one lacks becoming "?"; between
    // UTF-8 with and without the mark only the mark changes. Like a load, it cannot be undone and
    // leaves nothing to undo; unlike a load, it sets Modified, since the file is to be written anew,
    // and keeps the selection on the same characters. False where the encoding is the present one
    // or a file is being loaded.
    bool convertTo(ScriptEncoding encoding);
    // While a file is being read: how far it has come. The text takes no edits and the selection
    // does not move meanwhile; a load ends it.
    void setLoadingProgress(int percent);
    bool isLoading() const { return m_loadingPercent >= 0; }
    int loadingPercent() const { return m_loadingPercent; }

    // ---- Steps of the caret. A line break is one step; a word is a run of letters, digits and "_".
    qsizetype previousCharacter(qsizetype offset) const;
    qsizetype nextCharacter(qsizetype offset) const;
    // Back to the start of a word; from a line's start, to the end of the line before.
    qsizetype wordStartBefore(qsizetype offset) const;
    // On to the start of the next word, or the end of the line; from a line's end, to the start of
    // the next line.
    qsizetype wordEndAfter(qsizetype offset) const;
    // The word at offset (a double click); where there is none, the one character there.
    Range wordAt(qsizetype offset) const;
    // The letters, digits and "_" on both sides of offset, perhaps none.
    Range wordAround(qsizetype offset) const;
    // The line that holds offset, with its line break (a triple click).
    Range lineAt(qsizetype offset) const;

    // ---- Styling: how lines are drawn, and the state the language carries from line to line.
    // Lines longer than this (a binary file, a minified script) are no script lines: they are drawn
    // plain and pass the state on as it came.
    static constexpr int kLongLine = 20'000;
    // Styles drawn over a line's characters [start, start + length).
    struct Mark {
        int start = 0;
        int length = 0;
        QTextCharFormat format;
    };
    // How a line is drawn, from its text and the state the line before it left, and the state it
    // leaves to the next line.
    struct LineStyle {
        QList<Mark> marks;
        int endState = 0;
    };
    using LineStyler = std::function<LineStyle(const QString &text, int startState)>;
    // Installs the styler (an empty one: plain text); the first line starts in initialState. States
    // are worked out as lines are asked for, and ahead while the program is idle.
    void setLineStyler(const LineStyler &styler, int initialState = 0);
    bool hasLineStyler() const { return bool(m_styler); }
    int lineStartState(int line) const { return m_states.startState(line); }
    // The line's style, in the state the line before it left.
    LineStyle styleOf(int line) const;

signals:
    // After each replacement within an edit: lines firstLine to lastLine became lines firstLine to
    // lastLine + delta. The selection may not have its new place yet.
    void linesReplaced(int firstLine, int lastLine, int delta);
    // The whole text was replaced by a load: all that was laid out or styled goes.
    void textReset();
    // After every edit, once, when the selection has its new place.
    void changed();
    // After every move of the caret or the selection that was no edit.
    void selectionChanged();
    // The text was put into another encoding, or a load brought one.
    void encodingChanged();
    // A new styler: every line is to be styled again.
    void restyled();
    // A file being loaded came further.
    void loadingProgressed(int percent);

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    class EditScope;
    friend class EditScope;

    QByteArray encoded(QStringView text) const;
    // Steps along the bytes, a character at a time, from the start of a character.
    qsizetype nextByte(qsizetype byte) const;
    qsizetype previousByte(qsizetype byte) const;
    bool isWordByte(qsizetype byte) const;
    // Every change of the text goes through replaceBytes inside an EditScope: start and length in
    // bytes of the store.
    bool replaceBytes(qsizetype start, qsizetype length, const QByteArray &bytes);
    void adopt(TextBuffer::Prepared &&text, bool load);
    void noteReplacement(qsizetype start, qsizetype length, qsizetype insertedLength, const QByteArray &removed);
    void placeSelection(qsizetype anchor, qsizetype caret);
    bool applyHistoryStep(const EditHistory::Step &step, bool undoing);
    LineStyle styleOf(int line, int startState) const;
    void startStateWarmUp();

    TextBuffer m_text;
    ScriptEncoding m_encoding = ScriptEncoding::Windows1251;
    EditHistory m_history;
    qsizetype m_anchor = 0;
    qsizetype m_caret = 0;
    bool m_modified = false;
    int m_loadingPercent = -1; // -1: not loading

    LineStyler m_styler;
    LineStates m_states;
    QBasicTimer m_stateTimer;

    // One command's edits.
    int m_scopeDepth = 0;
    EditHistory::Step m_step;
    bool m_changed = false;
    TextChange m_lastChange;
};
