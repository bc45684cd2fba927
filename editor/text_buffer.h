#pragma once

#include "editor/gap_buffer.h"
#include "editor/line_index.h"

#include <QByteArray>
#include <QString>

#include <functional>

// A script's text as the editor holds it: Windows-1251 bytes in which every line break is the two
// bytes CR LF, so that a character offset is a byte offset, and the start of every line. Nothing
// else is ever stored: a lone CR or LF never enters, and no edit splits a CR LF pair.
class TextBuffer {
public:
    TextBuffer() = default;

    qsizetype length() const { return m_bytes.size(); }
    bool isEmpty() const { return m_bytes.isEmpty(); }
    int lineCount() const { return m_lines.lineCount(); }

    qsizetype lineStart(int line) const { return m_lines.lineStart(line); }
    // Where the line's text ends: before its CR LF, or at the end of the text for the last line.
    qsizetype lineEnd(int line) const;
    qsizetype lineLength(int line) const { return lineEnd(line) - lineStart(line); }
    int lineOf(qsizetype offset) const { return m_lines.lineOf(offset); }

    char byteAt(qsizetype offset) const { return m_bytes.element(offset); }
    QByteArray bytes(qsizetype start, qsizetype length) const;
    // Characters, one per byte; line breaks stay CR LF.
    QString text(qsizetype start, qsizetype length) const;
    QString lineText(int line) const { return text(lineStart(line), lineLength(line)); }

    // True when the text is empty or its last line is empty (it ends with a line break).
    bool endsWithLineBreak() const;

    // The nearest offset at or before offset that is not between the CR and the LF of a break,
    // within the text.
    qsizetype snapped(qsizetype offset) const;

    // Told how far a long load or save has come.
    using Progress = std::function<void(qint64 done, qint64 total)>;

    // A whole text made ready off the buffer (on another thread, for a large file): its bytes with
    // CR LF breaks and the start of every line.
    struct Prepared {
        QByteArray bytes;
        QList<qsizetype> lineStarts{0};
    };
    // A file's bytes (any line breaks) made ready; stops early, with an empty result, when cancelled.
    static Prepared prepare(QByteArray fileBytes, const Progress &progress = {},
                            const std::function<bool()> &cancelled = {});
    // Replaces the whole text by a prepared one.
    void adopt(Prepared &&text);

    // Replaces the whole text; the bytes hold only CR LF line breaks.
    void setBytes(const QByteArray &bytes, const Progress &progress = {});
    // The whole text, in pieces so that progress can be told between them.
    QByteArray allBytes(const Progress &progress = {}) const;

    // The bytes [start, start + length) become replacement, whose line breaks are all CR LF. The
    // range must not split a line break.
    void replace(qsizetype start, qsizetype length, QByteArrayView replacement);

    // The whole text as one run of bytes, for searching; holds until the next change.
    QByteArrayView view() { return QByteArrayView(m_bytes.range(0, length()), length()); }

private:
    GapBuffer<char> m_bytes;
    LineIndex m_lines;
};
