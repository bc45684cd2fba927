#include "editor/memo_layout.h"

#include "editor/script_document.h"

#include <QFontMetricsF>
#include <QTextLine>

#include <algorithm>
#include <cmath>

namespace {

// Lines longer than this are laid out in pieces of this many characters, each starting a row of
// its own, so that a huge line never costs more than a page.
constexpr int kSegmentLength = 4096;
// How many laid-out lines the view keeps before it starts afresh.
constexpr std::size_t kMaxCachedLayouts = 2000;
// The distance between tab stops, as the toolkit's text controls have it.
constexpr qreal kTabStopDistance = 80;

QChar displayed(QChar c)
{
    // Control characters (mIRC's bold, colour, underline, reverse and plain codes among them) are
    // shown as the pictures Unicode has for them, one to a character, so offsets stay as they are.
    if (c.unicode() < 0x20 && c != u'\t')
        return QChar(0x2400 + c.unicode());
    if (c.unicode() == 0x7F)
        return QChar(0x2421);
    if (c.unicode() == 0x98)
        return QChar(0xFFFD);
    return c;
}

QString displayText(QString shown)
{
    for (QChar &c : shown)
        c = displayed(c);
    return shown;
}

QTextOption textOption(bool wrap)
{
    QTextOption option;
    option.setWrapMode(wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    option.setTabStopDistance(kTabStopDistance);
    return option;
}

} // namespace

// ---- One line ------------------------------------------------------------------------------

const QTextLayout &MemoLayout::LineLayout::segment(int i) const
{
    std::unique_ptr<QTextLayout> &laid = segments[i];
    if (!laid) {
        // Only a long line's segments are laid out late: one row of text each.
        const int end = i + 1 < segmentCount() ? segmentStarts[i + 1] : int(longText.size());
        laid = std::make_unique<QTextLayout>(longText.mid(segmentStarts[i], end - segmentStarts[i]), font);
        laid->setTextOption(textOption(false));
        laid->beginLayout();
        QTextLine line = laid->createLine();
        line.setLineWidth(1e9);
        line.setPosition(QPointF(0, rows[i].top));
        laid->endLayout();
    }
    return *laid;
}

std::pair<qreal, qreal> MemoLayout::LineLayout::segmentSpan(int i) const
{
    if (!longText.isNull())
        return {rows[i].top, rows[i].top + rows[i].height};
    qreal top = -1, bottom = 0;
    for (const RowInfo &row : rows) {
        if (row.segment != i)
            continue;
        if (top < 0)
            top = row.top;
        bottom = row.top + row.height;
    }
    return {qMax<qreal>(0, top), bottom};
}

int MemoLayout::LineLayout::segmentOf(int column) const
{
    const auto next = std::upper_bound(segmentStarts.begin(), segmentStarts.end(), column);
    return int(next - segmentStarts.begin()) - 1;
}

int MemoLayout::LineLayout::rowOf(int column) const
{
    if (!longText.isNull()) // one row per segment
        return qMin(segmentOf(column), int(rows.size()) - 1);
    for (int i = int(rows.size()) - 1; i > 0; --i) {
        if (column >= rows[i].startColumn)
            return i;
    }
    return 0;
}

qreal MemoLayout::LineLayout::xOf(int column) const
{
    const int row = rowOf(column);
    return textLine(row).cursorToX(column - segmentStarts[rows[row].segment]);
}

// ---- The view's lines ----------------------------------------------------------------------

MemoLayout::MemoLayout(const ScriptDocument &document) : m_document(document) { }

MemoLayout::~MemoLayout() = default;

void MemoLayout::setFont(const QFont &font)
{
    m_font = font;
    m_advances.clear();
    clear();
}

void MemoLayout::setWidth(qreal width)
{
    if (width == m_width)
        return;
    m_width = width;
    if (m_wrap)
        clear();
}

void MemoLayout::setWrap(bool wrap)
{
    if (wrap == m_wrap)
        return;
    m_wrap = wrap;
    clear();
}

void MemoLayout::setPreedit(qsizetype offset, const QString &text)
{
    m_preeditOffset = offset;
    m_preedit = text;
}

void MemoLayout::clear(bool keepRows)
{
    m_layouts.clear();
    if (keepRows)
        return;
    m_widest = 0;
    m_rowsCounted = false;
    m_tall.clear();
    m_extraBefore.clear();
    m_prefixValid = 0;
}

void MemoLayout::refresh(int first, int last)
{
    m_layouts.erase(m_layouts.lower_bound(first), m_layouts.upper_bound(last));
}

void MemoLayout::linesReplaced(int firstLine, int lastLine, int delta)
{
    // The edited lines are laid out anew; the lines after them keep their layouts under new numbers,
    // so an edit costs no more than the lines it touches.
    refresh(firstLine, lastLine);
    if (delta != 0) {
        std::vector<decltype(m_layouts)::node_type> after;
        for (auto it = m_layouts.upper_bound(lastLine); it != m_layouts.end();)
            after.push_back(m_layouts.extract(it++));
        for (auto &node : after) {
            node.key() += delta;
            m_layouts.insert(std::move(node));
        }
    }
    if (!m_rowsCounted)
        return;
    const auto byLine = [](const TallLine &tall, int line) { return tall.line < line; };
    const auto first = std::lower_bound(m_tall.begin(), m_tall.end(), firstLine, byLine);
    const auto last = std::lower_bound(first, m_tall.end(), lastLine + 1, byLine);
    const std::size_t at = first - m_tall.begin();
    m_tall.erase(first, last);
    for (std::size_t i = at; i < m_tall.size(); ++i)
        m_tall[i].line += delta;
    std::vector<TallLine> edited;
    for (int line = firstLine; line <= lastLine + delta; ++line) {
        if (const int rows = estimatedRows(m_document.lineLength(line)); rows > 1)
            edited.push_back({line, rows});
    }
    m_tall.insert(m_tall.begin() + at, edited.begin(), edited.end());
    m_prefixValid = qMin(m_prefixValid, at);
}

const MemoLayout::LineLayout &MemoLayout::layoutOf(int line) const
{
    const auto found = m_layouts.find(line);
    if (found != m_layouts.end()) {
        if (!m_document.hasLineStyler() || found->second->startState == m_document.lineStartState(line))
            return *found->second;
        m_layouts.erase(found);
    }
    if (m_layouts.size() >= kMaxCachedLayouts)
        m_layouts.clear();
    std::unique_ptr<LineLayout> layout = build(line, true);
    m_widest = qMax(m_widest, layout->width);
    noteRows(line, int(layout->rows.size()));
    return *m_layouts.emplace(line, std::move(layout)).first->second;
}

MemoLayout::Extent MemoLayout::extentOf(int line) const
{
    // A line not laid out yet is measured without its colours, which never change its rows.
    const auto found = m_layouts.find(line);
    if (found != m_layouts.end())
        return {int(found->second->rows.size()), found->second->height};
    const std::unique_ptr<LineLayout> layout = build(line, false);
    noteRows(line, int(layout->rows.size()));
    return {int(layout->rows.size()), layout->height};
}

MemoLayout::Row MemoLayout::rowOf(qsizetype offset) const
{
    const int line = m_document.lineOf(offset);
    return {line, layoutOf(line).rowOf(int(offset - m_document.lineStart(line)))};
}

qreal MemoLayout::xOf(qsizetype offset) const
{
    const int line = m_document.lineOf(offset);
    return layoutOf(line).xOf(int(offset - m_document.lineStart(line)));
}

std::unique_ptr<MemoLayout::LineLayout> MemoLayout::build(int line, bool styled) const
{
    auto layout = std::make_unique<LineLayout>();
    const bool preeditHere = !m_preedit.isEmpty() && line == m_document.lineOf(m_preeditOffset);
    if (m_document.lineLength(line) > ScriptDocument::kLongLine && !preeditHere)
        return buildLong(line, std::move(layout));
    const QString text = displayText(m_document.line(line));
    const int preeditColumn = int(m_preeditOffset - m_document.lineStart(line));
    const QTextOption option = textOption(m_wrap);
    QList<ScriptDocument::Mark> marks;
    if (m_document.hasLineStyler() && styled) {
        layout->startState = m_document.lineStartState(line);
        marks = m_document.styleOf(line).marks;
    }
    const qreal width = m_wrap ? m_width : 1e9;
    qreal y = 0;
    int start = 0;
    do {
        int length = qMin<int>(kSegmentLength, int(text.size()) - start);
        if (start + length < text.size() && text[start + length].isLowSurrogate())
            --length; // a surrogate pair is laid out whole, in the segment of its first half
        auto segment = std::make_unique<QTextLayout>(text.mid(start, length), m_font);
        segment->setCacheEnabled(true);
        segment->setTextOption(option);
        if (preeditHere && preeditColumn >= start && preeditColumn <= start + length)
            segment->setPreeditArea(preeditColumn - start, m_preedit);
        QList<QTextLayout::FormatRange> formats;
        for (const ScriptDocument::Mark &mark : marks) {
            const int from = qMax(mark.start, start);
            const int to = qMin(mark.start + mark.length, start + length);
            if (from < to)
                formats.append({from - start, to - from, mark.format});
        }
        segment->setFormats(formats);
        segment->beginLayout();
        for (QTextLine textLine = segment->createLine(); textLine.isValid(); textLine = segment->createLine()) {
            textLine.setLineWidth(width);
            textLine.setPosition(QPointF(0, y));
            layout->rows.push_back({int(layout->segments.size()), textLine.lineNumber(), start + textLine.textStart(),
                                    start + textLine.textStart() + textLine.textLength(), y, textLine.height()});
            y += textLine.height();
            layout->width = qMax(layout->width, textLine.naturalTextWidth());
        }
        segment->endLayout();
        layout->segmentStarts.push_back(start);
        layout->segments.push_back(std::move(segment));
        start += length;
    } while (start < text.size());
    // A preedit text lengthens the row it stands in; the rows' columns keep counting the line's text.
    if (preeditHere) {
        for (LineLayout::RowInfo &row : layout->rows) {
            row.startColumn = qMin<int>(row.startColumn, int(text.size()));
            row.endColumn = qMin<int>(row.endColumn, int(text.size()));
        }
    }
    layout->height = y;
    return layout;
}

std::array<qreal, 256> &MemoLayout::advancePage(int index) const
{
    if (m_advances.empty())
        m_advances.resize(256);
    std::unique_ptr<std::array<qreal, 256>> &page = m_advances[index];
    if (!page) {
        page = std::make_unique<std::array<qreal, 256>>();
        page->fill(-1);
    }
    return *page;
}

qreal MemoLayout::advance(QChar c) const
{
    qreal &known = advancePage(c.unicode() >> 8)[c.unicode() & 0xFF];
    if (known < 0)
        known = QFontMetricsF(m_font).horizontalAdvance(c);
    return known;
}

std::unique_ptr<MemoLayout::LineLayout> MemoLayout::buildLong(int line, std::unique_ptr<LineLayout> layout) const
{
    layout->font = m_font;
    layout->longText = displayText(m_document.line(line));
    layout->startState = m_document.hasLineStyler() ? m_document.lineStartState(line) : 0;
    const QChar *text = layout->longText.constData();
    const int length = int(layout->longText.size());
    std::vector<int> &starts = layout->segmentStarts;
    starts.push_back(0);
    if (m_wrap) {
        // Rows as wide as the view: each ends before the character that would cross its right edge,
        // a tab reaching to the next tab stop as it does when drawn.
        const qreal limit = m_width - 1;
        const std::array<qreal, 256> *page = nullptr;
        int pageIndex = -1;
        const auto after = [&](qreal x, char16_t c) {
            if (c == u'\t')
                return (std::floor(x / kTabStopDistance) + 1) * kTabStopDistance;
            if (c >> 8 != pageIndex) {
                pageIndex = c >> 8;
                page = &advancePage(pageIndex);
            }
            const qreal known = (*page)[c & 0xFF];
            return x + (known >= 0 ? known : advance(QChar(c)));
        };
        qreal x = 0;
        int rowStart = 0;
        for (int i = 0; i < length; ++i) {
            x = after(x, text[i].unicode());
            if (x > limit && i > rowStart && !text[i].isLowSurrogate()) {
                starts.push_back(rowStart = i);
                x = after(0, text[i].unicode());
            }
        }
    } else {
        // The segments keep a surrogate pair together: a cut before its second half moves before
        // its first.
        for (int start = kSegmentLength; start < length; start += kSegmentLength)
            starts.push_back(text[start].isLowSurrogate() ? start - 1 : start);
    }
    const qreal rowHeight = QFontMetricsF(m_font).height();
    const int count = int(starts.size());
    layout->rows.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int end = i + 1 < count ? starts[i + 1] : length;
        layout->rows.push_back({i, 0, starts[i], end, i * rowHeight, rowHeight});
    }
    layout->segments.resize(count);
    layout->height = count * rowHeight;
    layout->width = m_wrap ? m_width : kSegmentLength * advance(u'x');
    return layout;
}

// ---- Rows for scrolling --------------------------------------------------------------------

int MemoLayout::estimatedRows(qsizetype length) const
{
    if (!m_wrap)
        return length > ScriptDocument::kLongLine ? int((length + kSegmentLength - 1) / kSegmentLength) : 1;
    const qreal typical = advance(u'x');
    if (length * typical <= m_width)
        return 1;
    return int(std::ceil(length * typical / qMax<qreal>(1, m_width)));
}

void MemoLayout::countRows() const
{
    if (m_rowsCounted)
        return;
    m_tall.clear();
    // One pass over the line starts: a line's length is the distance to the next start, less its break.
    const int lines = m_document.lineCount();
    qsizetype start = 0;
    auto laidOut = m_layouts.cbegin(); // the lines laid out are known exactly
    for (int line = 0; line < lines; ++line) {
        const qsizetype next = line + 1 < lines ? m_document.lineStart(line + 1) : m_document.length() + 2;
        while (laidOut != m_layouts.cend() && laidOut->first < line)
            ++laidOut;
        const bool known = laidOut != m_layouts.cend() && laidOut->first == line;
        const int rows = known ? int(laidOut->second->rows.size()) : estimatedRows(next - start - 2);
        if (rows > 1)
            m_tall.push_back({line, rows});
        start = next;
    }
    m_rowsCounted = true;
    m_prefixValid = 0;
}

void MemoLayout::noteRows(int line, int rows) const
{
    if (!m_rowsCounted)
        return;
    const auto found = std::lower_bound(m_tall.begin(), m_tall.end(), line,
                                        [](const TallLine &tall, int l) { return tall.line < l; });
    const std::size_t at = found - m_tall.begin();
    if (found != m_tall.end() && found->line == line) {
        if (found->rows == rows)
            return;
        if (rows > 1)
            found->rows = rows;
        else
            m_tall.erase(found);
    } else if (rows > 1) {
        m_tall.insert(found, {line, rows});
    } else {
        return;
    }
    m_prefixValid = qMin(m_prefixValid, at);
}

int MemoLayout::extraRowsBefore(std::size_t tallIndex) const
{
    // m_extraBefore[i]: the rows beyond the first of the tall lines before the i-th.
    m_extraBefore.resize(m_tall.size() + 1);
    m_extraBefore[0] = 0;
    for (std::size_t i = m_prefixValid; i < tallIndex; ++i)
        m_extraBefore[i + 1] = m_extraBefore[i] + m_tall[i].rows - 1;
    m_prefixValid = qMax(m_prefixValid, tallIndex);
    return m_extraBefore[tallIndex];
}

int MemoLayout::rowIndex(Row row) const
{
    countRows();
    const auto found = std::lower_bound(m_tall.begin(), m_tall.end(), row.line,
                                        [](const TallLine &tall, int l) { return tall.line < l; });
    return row.line + extraRowsBefore(found - m_tall.begin()) + row.row;
}

MemoLayout::Row MemoLayout::rowAtIndex(int index) const
{
    countRows();
    extraRowsBefore(m_tall.size());
    const auto startOf = [this](std::size_t i) { return m_tall[i].line + m_extraBefore[i]; };
    // The last tall line that starts at or before the row.
    std::size_t low = 0, high = m_tall.size();
    while (low < high) {
        const std::size_t mid = (low + high) / 2;
        if (startOf(mid) <= index)
            low = mid + 1;
        else
            high = mid;
    }
    Row row{qMax(0, index), 0};
    if (low > 0) {
        const std::size_t tall = low - 1;
        const int start = startOf(tall);
        if (index < start + m_tall[tall].rows)
            row = {m_tall[tall].line, index - start};
        else
            row = {m_tall[tall].line + 1 + (index - start - m_tall[tall].rows), 0};
    }
    if (row.line >= m_document.lineCount())
        row = {m_document.lineCount() - 1, 0};
    return row;
}

int MemoLayout::rowTotal() const
{
    countRows();
    return m_document.lineCount() + extraRowsBefore(m_tall.size());
}
