#include "editor/text_buffer.h"

#include <cstring>

namespace {

// Loads and saves tell their progress once per piece of this many bytes.
constexpr qsizetype kPieceSize = qsizetype(1) << 21;

// The start of every line after the first in bytes whose line breaks are CR LF, from offset base on.
void appendLineStarts(QByteArrayView bytes, qsizetype base, QList<qsizetype> &starts)
{
    const char *begin = bytes.data();
    const char *end = begin + bytes.size();
    for (const char *p = begin; (p = static_cast<const char *>(std::memchr(p, '\n', end - p))); ++p)
        starts.append(base + (p - begin) + 1);
}

// Fills in the start of every line of bytes with CR LF breaks, and in UTF-8 the starts in
// characters and the length; false when cancelled.
bool indexLines(TextBuffer::Prepared &text, const TextBuffer::Progress &progress,
                const std::function<bool()> &cancelled)
{
    const QByteArrayView bytes(text.bytes);
    const bool utf8 = ScriptText::isUtf8(text.encoding);
    text.lineStarts = {0};
    text.characterStarts = utf8 ? QList<qsizetype>{0} : QList<qsizetype>();
    for (qsizetype done = 0; done < bytes.size(); done += kPieceSize) {
        if (cancelled && cancelled())
            return false;
        const qsizetype piece = qMin(kPieceSize, bytes.size() - done);
        const qsizetype first = text.lineStarts.size();
        appendLineStarts(bytes.sliced(done, piece), done, text.lineStarts);
        if (utf8)
            Utf8::appendUnitStarts(bytes, text.lineStarts, first, text.characterStarts);
        if (progress)
            progress(done + piece, bytes.size());
    }
    const qsizetype lastLine = text.lineStarts.constLast();
    text.length = utf8 ? text.characterStarts.constLast() + Utf8::utf16Length(bytes.sliced(lastLine)) : bytes.size();
    return true;
}

} // namespace

// ---- Characters ----------------------------------------------------------------------------

qsizetype TextBuffer::lineEnd(int line) const
{
    return line + 1 < lineCount() ? lineStart(line + 1) - 2 : length();
}

QString TextBuffer::text(qsizetype start, qsizetype length) const
{
    const qsizetype from = byteOffset(start);
    qsizetype to = byteOffset(start + length);
    if (!m_utf8)
        return decoded(bytes(from, to - from));
    // A range may start or end between the two halves of a surrogate pair, as a QString's may: the
    // pair's character is decoded whole and the half outside the range left off.
    const qsizetype end = start + length;
    if (to < byteLength() && offsetOfByte(to) < end)
        to += Utf8::sequenceLength(uchar(byteAt(to)));
    const QString whole = decoded(bytes(from, to - from));
    const qsizetype lead = start - offsetOfByte(from);
    return lead == 0 && whole.size() == length ? whole : whole.mid(lead, length);
}

QString TextBuffer::lineText(int line) const
{
    const qsizetype from = lineByteStart(line);
    return decoded(bytes(from, lineByteEnd(line) - from));
}

bool TextBuffer::endsWithLineBreak() const
{
    return isEmpty() || lineByteStart(lineCount() - 1) == byteLength();
}

qsizetype TextBuffer::snapped(qsizetype offset) const
{
    offset = qBound<qsizetype>(0, offset, length());
    qsizetype byte = offset;
    if (m_utf8) {
        byte = byteOffset(offset);
        const qsizetype start = offsetOfByte(byte);
        if (start != offset)
            return start; // the second half of a surrogate pair
    }
    if (offset > 0 && offset < length() && byteAt(byte) == '\n' && byteAt(byte - 1) == '\r')
        --offset;
    return offset;
}

// ---- Bytes ---------------------------------------------------------------------------------

qsizetype TextBuffer::lineByteEnd(int line) const
{
    return line + 1 < lineCount() ? lineByteStart(line + 1) - 2 : byteLength();
}

QByteArray TextBuffer::bytes(qsizetype byteStart, qsizetype byteLength) const
{
    QByteArray out(byteLength, Qt::Uninitialized);
    m_bytes.copyOut(byteStart, byteLength, out.data());
    return out;
}

QString TextBuffer::decoded(QByteArrayView bytes) const
{
    return ScriptText::decodedText(bytes, m_utf8 ? ScriptEncoding::Utf8 : ScriptEncoding::Windows1251);
}

TextBuffer::LineSpan TextBuffer::spanOf(int line) const
{
    const bool last = line + 1 >= lineCount();
    return {m_lines.lineStart(line), last ? byteLength() : m_lines.lineStart(line + 1), m_characters.lineStart(line),
            last ? m_charLength : m_characters.lineStart(line + 1)};
}

qsizetype TextBuffer::byteOffset(qsizetype offset) const
{
    if (!m_utf8)
        return offset;
    offset = qBound<qsizetype>(0, offset, length());
    const LineSpan span = spanOf(m_characters.lineOf(offset));
    if (span.ascii())
        return span.byteStart + (offset - span.start);
    return byteAfter(span.byteStart, offset - span.start);
}

qsizetype TextBuffer::offsetOfByte(qsizetype byteOffset) const
{
    if (!m_utf8)
        return byteOffset;
    const LineSpan span = spanOf(m_lines.lineOf(byteOffset));
    if (span.ascii())
        return span.start + (byteOffset - span.byteStart);
    return span.start + lengthAt(span.byteStart, byteOffset - span.byteStart);
}

qsizetype TextBuffer::lengthAt(qsizetype start, qsizetype length) const
{
    qsizetype characters = 0;
    for (qsizetype at = start, end = start + length; at < end;) {
        qsizetype run = end - at;
        const char *bytes = m_bytes.runFrom(at, &run);
        characters += Utf8::utf16Length(QByteArrayView(bytes, run));
        at += run;
    }
    return characters;
}

qsizetype TextBuffer::byteAfter(qsizetype start, qsizetype count) const
{
    // Along the runs of bytes on either side of the gap: a character split by the gap counts at its
    // first byte, the rest of it is passed over in the next run.
    qsizetype at = start;
    while (at < byteLength()) {
        qsizetype run = byteLength() - at;
        const char *bytes = m_bytes.runFrom(at, &run);
        const Utf8::Position found = Utf8::positionOfUnits(QByteArrayView(bytes, run), count);
        at += found.bytes;
        count -= found.units;
        if (found.bytes < run)
            break;
    }
    return at;
}

// ---- Whole texts ---------------------------------------------------------------------------

TextBuffer::Prepared TextBuffer::prepare(QByteArray fileBytes, const Progress &progress,
                                         const std::function<bool()> &cancelled)
{
    Prepared text;
    text.bytes = ScriptText::normalizedLineBreaks(std::move(fileBytes));
    text.encoding = ScriptText::detectedEncoding(text.bytes);
    if (text.encoding == ScriptEncoding::Utf8WithBom)
        text.bytes.remove(0, Utf8::kBom.size());
    if (!indexLines(text, progress, cancelled))
        return {};
    return text;
}

TextBuffer::Prepared TextBuffer::prepare(QByteArray fileBytes, ScriptEncoding encoding, const Progress &progress,
                                         const std::function<bool()> &cancelled)
{
    if (ScriptText::isUtf8(encoding)) {
        const bool marked = fileBytes.startsWith(Utf8::kBom);
        const qsizetype textStart = marked ? Utf8::kBom.size() : 0;
        const Utf8::Scan scan = Utf8::scan(QByteArrayView(fileBytes).sliced(textStart));
        if (textStart + scan.validLength < fileBytes.size()) {
            Prepared refused;
            refused.encoding = encoding;
            refused.invalidAt = textStart + scan.validLength;
            return refused;
        }
        encoding = marked ? ScriptEncoding::Utf8WithBom : ScriptEncoding::Utf8;
        if (marked)
            fileBytes.remove(0, Utf8::kBom.size());
    }
    return prepareText(std::move(fileBytes), encoding, progress, cancelled);
}

TextBuffer::Prepared TextBuffer::prepareText(QByteArray bytes, ScriptEncoding encoding, const Progress &progress,
                                             const std::function<bool()> &cancelled)
{
    Prepared text;
    text.encoding = encoding;
    text.bytes = ScriptText::normalizedLineBreaks(std::move(bytes));
    if (!indexLines(text, progress, cancelled))
        return {};
    return text;
}

void TextBuffer::adopt(Prepared &&text)
{
    m_bytes.assign(text.bytes.constData(), text.bytes.size());
    text.bytes = QByteArray();
    m_lines.setStarts(text.lineStarts);
    m_utf8 = ScriptText::isUtf8(text.encoding);
    m_characters.setStarts(m_utf8 ? text.characterStarts : QList<qsizetype>{0});
    m_charLength = m_utf8 ? text.length : 0;
}

void TextBuffer::setBytes(const QByteArray &bytes, const Progress &progress)
{
    Prepared text;
    text.bytes = bytes;
    text.encoding = m_utf8 ? ScriptEncoding::Utf8 : ScriptEncoding::Windows1251;
    indexLines(text, progress, {});
    adopt(std::move(text));
}

QByteArray TextBuffer::allBytes(const Progress &progress, QByteArrayView prefix) const
{
    QByteArray out(prefix.size() + byteLength(), Qt::Uninitialized);
    if (!prefix.isEmpty())
        std::memcpy(out.data(), prefix.data(), prefix.size());
    char *text = out.data() + prefix.size();
    for (qsizetype done = 0; done < byteLength(); done += kPieceSize) {
        const qsizetype piece = qMin(kPieceSize, byteLength() - done);
        m_bytes.copyOut(done, piece, text + done);
        if (progress)
            progress(done + piece, byteLength());
    }
    return out;
}

void TextBuffer::replace(qsizetype start, qsizetype length, QByteArrayView replacement)
{
    const int line = lineOfByte(start);
    const qsizetype characterStart = m_utf8 ? offsetOfByte(start) : start;
    if (length > 0) {
        const qsizetype removed = m_utf8 ? lengthAt(start, length) : length;
        int breaks = 0;
        for (int next = line + 1; next < lineCount() && lineByteStart(next) <= start + length; ++next)
            ++breaks;
        m_bytes.erase(start, length);
        m_lines.removeLines(line + 1, breaks);
        m_lines.shiftAfter(line, -length);
        if (m_utf8) {
            m_characters.removeLines(line + 1, breaks);
            m_characters.shiftAfter(line, -removed);
            m_charLength -= removed;
        }
    }
    if (replacement.isEmpty())
        return;
    m_bytes.insert(start, replacement.data(), replacement.size());
    m_lines.shiftAfter(line, replacement.size());
    if (m_utf8) {
        const qsizetype inserted = Utf8::utf16Length(replacement);
        m_characters.shiftAfter(line, inserted);
        m_charLength += inserted;
    }
    QList<qsizetype> starts;
    appendLineStarts(replacement, start, starts);
    int next = line + 1;
    qsizetype from = start;
    qsizetype characters = characterStart;
    for (qsizetype lineStart : starts) {
        m_lines.insertLine(next, lineStart);
        if (m_utf8) {
            characters += Utf8::utf16Length(replacement.sliced(from - start, lineStart - from));
            m_characters.insertLine(next, characters);
            from = lineStart;
        }
        ++next;
    }
}
