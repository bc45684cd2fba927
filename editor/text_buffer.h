#pragma once

#include "common/utf8_codec.h"
#include "editor/gap_buffer.h"
#include "editor/line_index.h"
#include "editor/script_text.h"

#include <QByteArray>
#include <QString>

#include <functional>

// A script's text as the editor holds it: bytes in which every line break is the two bytes CR LF,
// and the start of every line. Nothing else is ever stored: a lone CR or LF never enters, and no
// edit splits a CR LF pair.
//
// Offsets count characters as QString does (UTF-16 units). In Windows-1251 a byte is a character,
// so an offset is a byte offset. In UTF-8 the start of every line is also kept in characters, with
// the same one pending shift as the byte starts, so that turning an offset into a byte offset costs
// a search among the lines and a walk along one line, and nothing on a line of ASCII alone.
// Edits and searches work on bytes; readers ask in characters.
class TextBuffer {
public:
    TextBuffer() = default;

    // ---- Characters
    qsizetype length() const { return m_utf8 ? m_charLength : m_bytes.size(); }
    bool isEmpty() const { return m_bytes.isEmpty(); }
    int lineCount() const { return m_lines.lineCount(); }

    qsizetype lineStart(int line) const { return characterLines().lineStart(line); }
    // Where the line's text ends: before its CR LF, or at the end of the text for the last line.
    qsizetype lineEnd(int line) const;
    qsizetype lineLength(int line) const { return lineEnd(line) - lineStart(line); }
    int lineOf(qsizetype offset) const { return characterLines().lineOf(offset); }

    // Characters of the text; line breaks stay CR LF.
    QString text(qsizetype start, qsizetype length) const;
    QString lineText(int line) const;

    // True when the text is empty or its last line is empty (it ends with a line break).
    bool endsWithLineBreak() const;

    // The nearest offset at or before offset that is not between the CR and the LF of a break, nor
    // between the two halves of a surrogate pair, within the text.
    qsizetype snapped(qsizetype offset) const;

    // ---- Bytes
    bool isUtf8() const { return m_utf8; }
    qsizetype byteLength() const { return m_bytes.size(); }
    qsizetype lineByteStart(int line) const { return m_lines.lineStart(line); }
    qsizetype lineByteEnd(int line) const;
    int lineOfByte(qsizetype byteOffset) const { return m_lines.lineOf(byteOffset); }
    char byteAt(qsizetype byteOffset) const { return m_bytes.element(byteOffset); }
    QByteArray bytes(qsizetype byteStart, qsizetype byteLength) const;

    // An offset in bytes, and back; an offset inside a surrogate pair gives the byte its character
    // starts at. byteOffset takes offsets within the text, offsetOfByte the starts of characters.
    qsizetype byteOffset(qsizetype offset) const;
    qsizetype offsetOfByte(qsizetype byteOffset) const;
    // Characters of bytes in the text's encoding, and how many offsets they take.
    QString decoded(QByteArrayView bytes) const;
    qsizetype lengthOf(QByteArrayView bytes) const { return m_utf8 ? Utf8::utf16Length(bytes) : bytes.size(); }

    // Told how far a long load or save has come.
    using Progress = std::function<void(qint64 done, qint64 total)>;

    // A whole text made ready off the buffer (on another thread, for a large file): its bytes with
    // CR LF breaks, the start of every line, and for UTF-8 those starts in characters too.
    struct Prepared {
        QByteArray bytes;
        QList<qsizetype> lineStarts{0};
        QList<qsizetype> characterStarts; // UTF-8 only
        qsizetype length = 0;             // in characters
        ScriptEncoding encoding = ScriptEncoding::Windows1251;
        // Where UTF-8 was asked for bytes that are not UTF-8: the offset in the file of the first
        // byte that is not; the text is then empty. -1 otherwise.
        qsizetype invalidAt = -1;
    };
    // A file's bytes (any line breaks) made ready in the encoding detected from them; stops early,
    // with an empty result, when cancelled.
    static Prepared prepare(QByteArray fileBytes, const Progress &progress = {},
                            const std::function<bool()> &cancelled = {});
    // The same in the encoding given. A byte order mark is the file's, not the text's, in UTF-8,
    // and so is a part of the text in Windows-1251; UTF-8 asked for a file with the mark gives
    // UTF-8 with the mark.
    static Prepared prepare(QByteArray fileBytes, ScriptEncoding encoding, const Progress &progress = {},
                            const std::function<bool()> &cancelled = {});
    // Text bytes in an encoding (valid UTF-8 for UTF-8), any line breaks, no byte order mark.
    static Prepared prepareText(QByteArray bytes, ScriptEncoding encoding, const Progress &progress = {},
                                const std::function<bool()> &cancelled = {});
    // Replaces the whole text by a prepared one.
    void adopt(Prepared &&text);

    // Replaces the whole text in the present encoding; the bytes hold only CR LF line breaks.
    void setBytes(const QByteArray &bytes, const Progress &progress = {});
    // The whole text after prefix, in pieces so that progress can be told between them.
    QByteArray allBytes(const Progress &progress = {}, QByteArrayView prefix = {}) const;

    // The bytes [start, start + length) become replacement, whose line breaks are all CR LF. The
    // range must not split a line break, nor a character.
    void replace(qsizetype start, qsizetype length, QByteArrayView replacement);

    // The whole text as one run of bytes, for searching; holds until the next change.
    QByteArrayView view() { return QByteArrayView(m_bytes.range(0, byteLength()), byteLength()); }

private:
    const LineIndex &characterLines() const { return m_utf8 ? m_characters : m_lines; }
    // How many characters the bytes [start, start + length) of the text hold.
    qsizetype lengthAt(qsizetype start, qsizetype length) const;
    // Where, from byte start on, count characters end (before a character that would end beyond it).
    qsizetype byteAfter(qsizetype start, qsizetype count) const;
    // A line's extent in bytes and characters: the same where the line is ASCII.
    struct LineSpan {
        qsizetype byteStart, byteEnd, start, end;
        bool ascii() const { return byteEnd - byteStart == end - start; }
    };
    LineSpan spanOf(int line) const;

    GapBuffer<char> m_bytes;
    LineIndex m_lines;
    bool m_utf8 = false;
    // UTF-8 only.
    LineIndex m_characters;
    qsizetype m_charLength = 0;
};
