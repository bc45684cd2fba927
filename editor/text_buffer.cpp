#include "editor/text_buffer.h"

#include "common/win1251_codec.h"
#include "editor/script_text.h"

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

} // namespace

qsizetype TextBuffer::lineEnd(int line) const
{
    return line + 1 < lineCount() ? lineStart(line + 1) - 2 : length();
}

QByteArray TextBuffer::bytes(qsizetype start, qsizetype length) const
{
    QByteArray out(length, Qt::Uninitialized);
    m_bytes.copyOut(start, length, out.data());
    return out;
}

QString TextBuffer::text(qsizetype start, qsizetype length) const
{
    return Win1251::decode(bytes(start, length));
}

bool TextBuffer::endsWithLineBreak() const
{
    return isEmpty() || lineStart(lineCount() - 1) == length();
}

qsizetype TextBuffer::snapped(qsizetype offset) const
{
    offset = qBound<qsizetype>(0, offset, length());
    if (offset > 0 && offset < length() && byteAt(offset) == '\n' && byteAt(offset - 1) == '\r')
        --offset;
    return offset;
}

namespace {

QList<qsizetype> lineStartsOf(const QByteArray &bytes, const TextBuffer::Progress &progress,
                              const std::function<bool()> &cancelled)
{
    QList<qsizetype> starts{0};
    for (qsizetype done = 0; done < bytes.size(); done += kPieceSize) {
        if (cancelled && cancelled())
            return {0};
        const qsizetype piece = qMin(kPieceSize, bytes.size() - done);
        appendLineStarts(QByteArrayView(bytes).sliced(done, piece), done, starts);
        if (progress)
            progress(done + piece, bytes.size());
    }
    return starts;
}

} // namespace

TextBuffer::Prepared TextBuffer::prepare(QByteArray fileBytes, const Progress &progress,
                                         const std::function<bool()> &cancelled)
{
    Prepared text;
    text.bytes = ScriptText::normalizedLineBreaks(std::move(fileBytes));
    text.lineStarts = lineStartsOf(text.bytes, progress, cancelled);
    if (cancelled && cancelled())
        return {};
    return text;
}

void TextBuffer::adopt(Prepared &&text)
{
    m_bytes.assign(text.bytes.constData(), text.bytes.size());
    text.bytes = QByteArray();
    m_lines.setStarts(text.lineStarts);
}

void TextBuffer::setBytes(const QByteArray &bytes, const Progress &progress)
{
    adopt({bytes, lineStartsOf(bytes, progress, {})});
}

QByteArray TextBuffer::allBytes(const Progress &progress) const
{
    QByteArray out(length(), Qt::Uninitialized);
    for (qsizetype done = 0; done < length(); done += kPieceSize) {
        const qsizetype piece = qMin(kPieceSize, length() - done);
        m_bytes.copyOut(done, piece, out.data() + done);
        if (progress)
            progress(done + piece, length());
    }
    return out;
}

void TextBuffer::replace(qsizetype start, qsizetype length, QByteArrayView replacement)
{
    const int line = lineOf(start);
    if (length > 0) {
        int breaks = 0;
        for (int next = line + 1; next < lineCount() && lineStart(next) <= start + length; ++next)
            ++breaks;
        m_bytes.erase(start, length);
        m_lines.removeLines(line + 1, breaks);
        m_lines.shiftAfter(line, -length);
    }
    if (replacement.isEmpty())
        return;
    m_bytes.insert(start, replacement.data(), replacement.size());
    m_lines.shiftAfter(line, replacement.size());
    QList<qsizetype> starts;
    appendLineStarts(replacement, start, starts);
    int next = line + 1;
    for (qsizetype lineStart : starts)
        m_lines.insertLine(next++, lineStart);
}
