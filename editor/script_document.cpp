#include "editor/script_document.h"

#include "common/utf8_codec.h"
#include "common/win1251_codec.h"
#include "editor/script_text.h"

#include <QElapsedTimer>
#include <QTimerEvent>

namespace {

// The largest removal whose bytes the last change keeps for those who follow changes; a larger one
// is told by its length only, so that its bytes are not held longer than the undo history holds them.
constexpr qsizetype kKeptRemovalLength = qsizetype(1) << 20;

} // namespace

// One command's edits: they make one undo step and one changed() notice, sent once the selection
// has its new place.
class ScriptDocument::EditScope {
public:
    EditScope(ScriptDocument *document, EditKind kind = EditKind::Other) : m_document(document), m_kind(kind)
    {
        if (m_document->m_scopeDepth++ == 0) {
            m_document->m_step = EditHistory::Step{};
            m_document->m_step.before = {m_document->m_anchor, m_document->m_caret};
        }
    }
    ~EditScope()
    {
        ScriptDocument *d = m_document;
        if (--d->m_scopeDepth > 0)
            return;
        if (!d->m_step.replacements.isEmpty()) {
            d->m_step.after = {d->m_anchor, d->m_caret};
            d->m_history.record(std::move(d->m_step), m_kind);
        }
        d->m_step = EditHistory::Step{};
        if (d->m_changed) {
            d->m_changed = false;
            emit d->changed();
        }
    }
    EditScope(const EditScope &) = delete;
    EditScope &operator=(const EditScope &) = delete;

private:
    ScriptDocument *m_document;
    EditKind m_kind;
};

ScriptDocument::ScriptDocument(QObject *parent) : QObject(parent) { }

ScriptDocument::~ScriptDocument() = default;

QByteArray ScriptDocument::encoded(QStringView text) const
{
    return ScriptText::encodedText(text, m_encoding);
}

// ---- Reading -------------------------------------------------------------------------------

QString ScriptDocument::line(int index) const
{
    if (index < 0 || index >= lineCount())
        return QString();
    return m_text.lineText(index);
}

QString ScriptDocument::text(qsizetype start, qsizetype length) const
{
    start = qBound<qsizetype>(0, start, m_text.length());
    return m_text.text(start, qBound<qsizetype>(0, length, m_text.length() - start));
}

QByteArray ScriptDocument::fileBytes(const TextBuffer::Progress &progress) const
{
    return m_text.allBytes(progress, m_encoding == ScriptEncoding::Utf8WithBom ? Utf8::kBom : QByteArrayView());
}

// ---- Selection -----------------------------------------------------------------------------

bool ScriptDocument::setSelection(qsizetype anchor, qsizetype caret)
{
    if (isLoading())
        return false;
    anchor = m_text.snapped(anchor);
    caret = m_text.snapped(caret);
    if (anchor == m_anchor && caret == m_caret)
        return false;
    m_anchor = anchor;
    m_caret = caret;
    m_history.close(); // typing elsewhere starts a new undo step
    emit selectionChanged();
    return true;
}

void ScriptDocument::placeSelection(qsizetype anchor, qsizetype caret)
{
    m_anchor = m_text.snapped(anchor);
    m_caret = m_text.snapped(caret);
}

// ---- Edits ---------------------------------------------------------------------------------

bool ScriptDocument::replaceBytes(qsizetype start, qsizetype length, const QByteArray &bytes)
{
    Q_ASSERT(m_scopeDepth > 0);
    // While a file is read into the window nothing else goes in: it would be lost under the file's text.
    if ((length == 0 && bytes.isEmpty()) || isLoading())
        return false;
    const int firstLine = m_text.lineOfByte(start);
    const int lastLine = m_text.lineOfByte(start + length);
    const int linesBefore = lineCount();
    m_step.replacements.append({start, m_text.bytes(start, length), bytes});
    const QByteArray &removed = m_step.replacements.constLast().removed;
    noteReplacement(m_text.offsetOfByte(start), m_text.lengthOf(removed), m_text.lengthOf(bytes), removed);
    m_text.replace(start, length, bytes);
    const int delta = lineCount() - linesBefore;
    if (m_states.linesReplaced(firstLine, lastLine, delta))
        startStateWarmUp();
    m_modified = true;
    m_changed = true;
    emit linesReplaced(firstLine, lastLine, delta);
    return true;
}

// Widens the last change by a replacement of the command under way; the first one starts it afresh.
void ScriptDocument::noteReplacement(qsizetype start, qsizetype length, qsizetype insertedLength,
                                     const QByteArray &removed)
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

bool ScriptDocument::replace(qsizetype start, qsizetype length, const QString &text, EditKind kind)
{
    start = m_text.snapped(start);
    const qsizetype end = m_text.snapped(start + qMax<qsizetype>(0, length));
    EditScope scope(this, kind);
    const QByteArray bytes = encoded(text);
    const qsizetype byteStart = m_text.byteOffset(start);
    if (!replaceBytes(byteStart, m_text.byteOffset(end) - byteStart, bytes))
        return false;
    m_anchor = m_caret = start + m_text.lengthOf(bytes);
    return true;
}

bool ScriptDocument::replaceSelection(const QString &text, EditKind kind)
{
    return replace(selectionStart(), selectionLength(), text, kind);
}

bool ScriptDocument::removeSelectionOr(qsizetype from, qsizetype to, EditKind kind)
{
    if (selectionLength() > 0) {
        from = selectionStart();
        to = selectionEnd();
        kind = EditKind::Other;
    }
    if (from >= to)
        return false;
    EditScope scope(this, kind);
    const qsizetype byteFrom = m_text.byteOffset(from);
    if (!replaceBytes(byteFrom, m_text.byteOffset(to) - byteFrom, QByteArray()))
        return false;
    m_anchor = m_caret = from;
    return true;
}

bool ScriptDocument::setLine(int index, const QString &text)
{
    if (index < 0 || index >= lineCount())
        return false;
    EditScope scope(this);
    const qsizetype start = m_text.lineByteStart(index);
    if (!replaceBytes(start, m_text.lineByteEnd(index) - start, encoded(text)))
        return false;
    placeSelection(m_anchor, m_caret);
    return true;
}

bool ScriptDocument::clearLines()
{
    EditScope scope(this);
    if (!replaceBytes(0, m_text.byteLength(), QByteArray()))
        return false;
    m_anchor = m_caret = 0;
    return true;
}

bool ScriptDocument::appendAsLine(const QString &text)
{
    EditScope scope(this);
    if (!replaceBytes(m_text.byteLength(), 0, ScriptText::appendedAsLine(m_text.endsWithLineBreak(), text, m_encoding)))
        return false;
    m_anchor = m_caret = m_text.length();
    return true;
}

bool ScriptDocument::replaceRanges(const QList<Range> &ranges, const QString &text)
{
    if (ranges.isEmpty())
        return false;
    EditScope scope(this);
    const QByteArray bytes = encoded(text);
    QList<Range> byteRanges;
    byteRanges.reserve(ranges.size());
    for (const Range &range : ranges) {
        const qsizetype start = m_text.byteOffset(range.start);
        byteRanges.append({start, m_text.byteOffset(range.start + range.length) - start});
    }
    // From the last range back, so that the offsets of the ranges still to do stay valid.
    bool changed = false;
    for (auto range = byteRanges.crbegin(); range != byteRanges.crend(); ++range)
        changed = replaceBytes(range->start, range->length, bytes) || changed;
    if (!changed)
        return false;
    const qsizetype inserted = m_text.lengthOf(bytes);
    qsizetype caret = ranges.constLast().start + inserted;
    for (qsizetype i = 0; i + 1 < ranges.size(); ++i)
        caret += inserted - ranges.at(i).length;
    m_anchor = m_caret = caret;
    return true;
}

bool ScriptDocument::insertSelected(qsizetype offset, const QString &text)
{
    offset = m_text.snapped(offset);
    EditScope scope(this);
    const QByteArray bytes = encoded(text);
    if (!replaceBytes(m_text.byteOffset(offset), 0, bytes))
        return false;
    m_anchor = offset;
    m_caret = offset + m_text.lengthOf(bytes);
    return true;
}

bool ScriptDocument::moveSelection(qsizetype offset)
{
    const qsizetype start = selectionStart();
    const qsizetype length = selectionLength();
    offset = m_text.snapped(offset);
    if (length == 0 || isLoading() || (offset >= start && offset <= start + length))
        return false;
    EditScope scope(this);
    const qsizetype byteStart = m_text.byteOffset(start);
    const qsizetype byteLength = m_text.byteOffset(start + length) - byteStart;
    const qsizetype byteOffset = m_text.byteOffset(offset);
    const QByteArray moved = m_text.bytes(byteStart, byteLength);
    replaceBytes(byteStart, byteLength, QByteArray());
    replaceBytes(byteOffset > byteStart ? byteOffset - byteLength : byteOffset, 0, moved);
    const qsizetype at = offset > start ? offset - length : offset;
    m_anchor = at;
    m_caret = at + length;
    return true;
}

bool ScriptDocument::applyHistoryStep(const EditHistory::Step &step, bool undoing)
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
    placeSelection(selection.anchor, selection.caret);
    // The replayed edits are not a step of their own.
    m_step.replacements.clear();
    return true;
}

bool ScriptDocument::undo()
{
    if (!m_history.canUndo() || isLoading())
        return false;
    return applyHistoryStep(m_history.takeUndo(), true);
}

bool ScriptDocument::redo()
{
    if (!m_history.canRedo() || isLoading())
        return false;
    return applyHistoryStep(m_history.takeRedo(), false);
}

// ---- Loading -------------------------------------------------------------------------------

void ScriptDocument::loadFile(const QByteArray &fileBytes, const TextBuffer::Progress &progress)
{
    loadPrepared(TextBuffer::prepare(fileBytes, progress));
}

void ScriptDocument::loadText(QStringView text, const TextBuffer::Progress &progress)
{
    loadPrepared(TextBuffer::prepareText(encoded(text), m_encoding, progress));
}

void ScriptDocument::loadPrepared(TextBuffer::Prepared &&text)
{
    m_loadingPercent = -1;
    EditScope scope(this);
    adopt(std::move(text), true);
    m_anchor = m_caret = 0;
    m_modified = false;
}

// A whole new text, in its encoding: what was styled or recorded for undo goes. A load starts the
// views afresh; a conversion, whose lines stay, has them draw every line anew where they are.
void ScriptDocument::adopt(TextBuffer::Prepared &&text, bool load)
{
    Q_ASSERT(m_scopeDepth > 0);
    const qsizetype before = m_text.length();
    const ScriptEncoding encoding = text.encoding;
    m_text.adopt(std::move(text));
    m_lastChange = {0, before, m_text.length(), {}};
    m_history.clear();
    m_states.clear();
    m_changed = true;
    const bool newEncoding = encoding != m_encoding;
    m_encoding = encoding;
    if (load)
        emit textReset();
    else
        emit linesReplaced(0, lineCount() - 1, 0);
    if (newEncoding)
        emit encodingChanged();
    startStateWarmUp();
}

qsizetype ScriptDocument::missingCharacters(ScriptEncoding encoding) const
{
    if (ScriptText::isUtf8(encoding) || !isUtf8())
        return 0;
    // A line at a time, so that a large text is never held twice over as characters.
    qsizetype missing = 0;
    for (int line = 0; line < lineCount(); ++line)
        missing += ScriptText::missingCharacters(m_text.lineText(line), encoding);
    return missing;
}

bool ScriptDocument::convertTo(ScriptEncoding encoding)
{
    if (encoding == m_encoding || isLoading())
        return false;
    EditScope scope(this);
    if (ScriptText::isUtf8(encoding) == isUtf8()) {
        // Only the mark before the text changes.
        m_history.clear();
        m_lastChange = {0, 0, 0, {}};
        m_encoding = encoding;
        emit encodingChanged();
    } else {
        // Line by line into the new encoding; the lines stay, and with them the selection's lines.
        // A column keeps its characters: in Windows-1251 a surrogate pair, one "?", takes one place.
        const auto place = [&](qsizetype offset) {
            const int line = m_text.lineOf(offset);
            const QString before = m_text.text(m_text.lineStart(line), offset - m_text.lineStart(line));
            return std::pair{line, ScriptText::isUtf8(encoding) ? before.size() : qsizetype(Win1251::encode(before).size())};
        };
        const auto [anchorLine, anchorColumn] = place(m_anchor);
        const auto [caretLine, caretColumn] = place(m_caret);
        QByteArray bytes;
        bytes.reserve(m_text.byteLength() + m_text.byteLength() / 2);
        for (int line = 0; line < lineCount(); ++line) {
            if (line > 0)
                bytes += "\r\n";
            bytes += ScriptText::encodedText(m_text.lineText(line), encoding);
        }
        adopt(TextBuffer::prepareText(std::move(bytes), encoding), false);
        m_anchor = m_text.lineStart(anchorLine) + anchorColumn;
        m_caret = m_text.lineStart(caretLine) + caretColumn;
    }
    m_modified = true;
    m_changed = true;
    return true;
}

void ScriptDocument::setLoadingProgress(int percent)
{
    m_loadingPercent = percent;
    emit loadingProgressed(percent);
}

// ---- Steps of the caret --------------------------------------------------------------------

qsizetype ScriptDocument::nextByte(qsizetype byte) const
{
    return byte + (isUtf8() ? Utf8::sequenceLength(uchar(m_text.byteAt(byte))) : 1);
}

qsizetype ScriptDocument::previousByte(qsizetype byte) const
{
    --byte;
    while (isUtf8() && byte > 0 && Utf8::isContinuation(uchar(m_text.byteAt(byte))))
        --byte;
    return byte;
}

bool ScriptDocument::isWordByte(qsizetype byte) const
{
    const uchar lead = uchar(m_text.byteAt(byte));
    char32_t c = Win1251::toUnicode(lead).unicode();
    if (isUtf8() && lead >= 0x80) {
        uchar sequence[4] = {};
        const int length = Utf8::sequenceLength(lead);
        for (int i = 0; i < length && byte + i < m_text.byteLength(); ++i)
            sequence[i] = uchar(m_text.byteAt(byte + i));
        c = Utf8::codePoint(sequence, length);
    }
    return ScriptText::isWordCodePoint(c);
}

qsizetype ScriptDocument::previousCharacter(qsizetype offset) const
{
    if (offset <= 0)
        return 0;
    const qsizetype byte = m_text.byteOffset(offset);
    if (isUtf8() && m_text.offsetOfByte(byte) != offset)
        return offset - 1; // from inside a surrogate pair to its start
    // A line break is one step: from a line's start back to the end of the line before.
    if (offset >= 2 && m_text.byteAt(byte - 1) == '\n')
        return offset - 2;
    return offset - (isUtf8() ? Utf8::unitsOfLead(uchar(m_text.byteAt(previousByte(byte)))) : 1);
}

qsizetype ScriptDocument::nextCharacter(qsizetype offset) const
{
    if (offset >= m_text.length())
        return m_text.length();
    const qsizetype byte = m_text.byteOffset(offset);
    const qsizetype start = m_text.offsetOfByte(byte);
    if (m_text.byteAt(byte) == '\r' && offset + 1 < m_text.length())
        return offset + 2;
    return start + (isUtf8() ? Utf8::unitsOfLead(uchar(m_text.byteAt(byte))) : 1);
}

qsizetype ScriptDocument::wordStartBefore(qsizetype offset) const
{
    // The mirror of wordEndAfter: back over what is no word, then over the word, within the line.
    const int line = m_text.lineOf(offset);
    if (offset <= m_text.lineStart(line))
        return previousCharacter(offset);
    const qsizetype start = m_text.lineByteStart(line);
    qsizetype at = m_text.byteOffset(offset);
    while (at > start && !isWordByte(previousByte(at)))
        at = previousByte(at);
    while (at > start && isWordByte(previousByte(at)))
        at = previousByte(at);
    return m_text.offsetOfByte(at);
}

qsizetype ScriptDocument::wordEndAfter(qsizetype offset) const
{
    const int line = m_text.lineOf(offset);
    if (offset >= m_text.lineEnd(line))
        return nextCharacter(offset);
    const qsizetype end = m_text.lineByteEnd(line);
    qsizetype at = m_text.byteOffset(offset);
    while (at < end && isWordByte(at))
        at = nextByte(at);
    while (at < end && !isWordByte(at))
        at = nextByte(at);
    return m_text.offsetOfByte(at);
}

ScriptDocument::Range ScriptDocument::wordAround(qsizetype offset) const
{
    qsizetype start = m_text.byteOffset(offset);
    qsizetype end = start;
    while (start > 0 && isWordByte(previousByte(start)))
        start = previousByte(start);
    while (end < m_text.byteLength() && isWordByte(end))
        end = nextByte(end);
    const qsizetype startOffset = m_text.offsetOfByte(start);
    return {startOffset, m_text.offsetOfByte(end) - startOffset};
}

ScriptDocument::Range ScriptDocument::wordAt(qsizetype offset) const
{
    const Range word = wordAround(offset);
    if (word.length > 0)
        return word;
    const qsizetype at = isUtf8() ? m_text.offsetOfByte(m_text.byteOffset(offset)) : offset;
    if (at < m_text.lineEnd(m_text.lineOf(at)))
        return {at, nextCharacter(at) - at};
    return {at, 0};
}

ScriptDocument::Range ScriptDocument::lineAt(qsizetype offset) const
{
    const int line = m_text.lineOf(offset);
    const qsizetype end = line + 1 < lineCount() ? m_text.lineStart(line + 1) : m_text.length();
    return {m_text.lineStart(line), end - m_text.lineStart(line)};
}

// ---- Styling -------------------------------------------------------------------------------

void ScriptDocument::setLineStyler(const LineStyler &styler, int initialState)
{
    m_styler = styler;
    LineStates::Step step;
    if (m_styler)
        step = [this](int line, int state) { return styleOf(line, state).endState; };
    m_states.setStep(step, initialState);
    emit restyled();
    startStateWarmUp();
}

ScriptDocument::LineStyle ScriptDocument::styleOf(int line, int startState) const
{
    if (!m_styler || m_text.lineLength(line) > kLongLine)
        return {{}, startState};
    return m_styler(m_text.lineText(line), startState);
}

ScriptDocument::LineStyle ScriptDocument::styleOf(int line) const
{
    return styleOf(line, lineStartState(line));
}

void ScriptDocument::startStateWarmUp()
{
    if (m_states.isActive() && m_states.known() < lineCount())
        m_stateTimer.start(0, this);
}

void ScriptDocument::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_stateTimer.timerId()) {
        QObject::timerEvent(event);
        return;
    }
    // While the program is idle, the lines' states are worked out ahead, a few milliseconds at a
    // time, so that a jump to the end of a long script shows its colours at once.
    QElapsedTimer slice;
    slice.start();
    int line = m_states.known();
    while (m_states.isActive() && line < lineCount() && slice.elapsed() < 4)
        m_states.startState(qMin(lineCount() - 1, line += 512));
    if (!m_states.isActive() || m_states.known() >= lineCount())
        m_stateTimer.stop();
}
