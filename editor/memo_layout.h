#pragma once

#include <QFont>
#include <QString>
#include <QTextLayout>

#include <array>
#include <map>
#include <memory>
#include <vector>

class ScriptDocument;

// What one view has laid out of a document's lines: the rows of each line at the view's width and
// font, built when first asked for and kept until the line is edited or the width, the font or the
// wrapping changes; and how many rows every line takes, known where it was laid out and estimated
// from its length elsewhere, so that the view scrolls by rows without laying out the whole text.
class MemoLayout {
public:
    // One laid-out line: a QTextLayout per segment, and its rows (visual lines) from top to bottom.
    // A line is cut into segments of a bounded length so that no QTextLayout grows huge; a line
    // longer than ScriptDocument::kLongLine is shown plain in rows that are segments of their own,
    // each laid out when first drawn.
    struct LineLayout {
        struct RowInfo {
            int segment = 0;
            int textLine = 0;
            int startColumn = 0; // in the line
            int endColumn = 0;
            qreal top = 0; // from the line's top
            qreal height = 0;
        };
        std::vector<int> segmentStarts;
        std::vector<RowInfo> rows;
        qreal height = 0;
        qreal width = 0;
        int startState = 0; // the styler's state the line was laid out in
        // A long line keeps its shown text: its segments, one row each, are laid out when first asked for.
        QString longText;
        QFont font;

        int segmentCount() const { return int(segmentStarts.size()); }
        int segmentLength(int i, int lineLength) const
        {
            return (i + 1 < segmentCount() ? segmentStarts[i + 1] : lineLength) - segmentStarts[i];
        }
        const QTextLayout &segment(int i) const;
        // The top and the bottom of a segment's rows, from the line's top.
        std::pair<qreal, qreal> segmentSpan(int i) const;
        int segmentOf(int column) const;
        // The row that shows column; a column at a wrap point belongs to the row it starts.
        int rowOf(int column) const;
        QTextLine textLine(int row) const { return segment(rows[row].segment).lineAt(rows[row].textLine); }
        // Where column stands in its row, from the row's left.
        qreal xOf(int column) const;

        mutable std::vector<std::unique_ptr<QTextLayout>> segments;
    };
    // A row of the view: which line, and which of its rows.
    struct Row {
        int line = 0;
        int row = 0;
        friend auto operator<=>(const Row &, const Row &) = default;
    };

    explicit MemoLayout(const ScriptDocument &document);
    ~MemoLayout();

    void setFont(const QFont &font);
    const QFont &font() const { return m_font; }
    // The width rows wrap at, where they wrap.
    void setWidth(qreal width);
    void setWrap(bool wrap);
    bool wraps() const { return m_wrap; }
    // An input method's text being composed at offset (the caret), drawn in its line; empty: none.
    void setPreedit(qsizetype offset, const QString &text);

    const LineLayout &layoutOf(int line) const;
    Row rowOf(qsizetype offset) const;
    // Where offset stands in its row, from the row's left.
    qreal xOf(qsizetype offset) const;
    // How many rows the line takes and how tall they are, without keeping what was laid out to
    // find out.
    struct Extent {
        int rows = 1;
        qreal height = 0;
    };
    Extent extentOf(int line) const;
    // The widest line laid out so far.
    qreal widestLine() const { return m_widest; }

    // Following the document: lines firstLine to lastLine became lines firstLine to lastLine + delta.
    void linesReplaced(int firstLine, int lastLine, int delta);
    // The lines first to last are laid out anew when next drawn.
    void refresh(int first, int last);
    // Everything laid out goes (a new text, a new styler); the rows known stay where keepRows.
    void clear(bool keepRows = false);

    // Rows counted from the text's first, for scrolling.
    int rowIndex(Row row) const;
    Row rowAtIndex(int index) const;
    int rowTotal() const;

private:
    struct TallLine {
        int line = 0;
        int rows = 1;
    };

    std::unique_ptr<LineLayout> build(int line, bool styled) const;
    std::unique_ptr<LineLayout> buildLong(int line, std::unique_ptr<LineLayout> layout) const;
    qreal advance(QChar c) const;
    std::array<qreal, 256> &advancePage(int index) const;
    // The rows a line of that many characters takes, as far as its length tells.
    int estimatedRows(qsizetype length) const;
    void noteRows(int line, int rows) const;
    void countRows() const;
    int extraRowsBefore(std::size_t tallIndex) const;

    const ScriptDocument &m_document;
    QFont m_font;
    qreal m_width = 100;
    bool m_wrap = true;
    qsizetype m_preeditOffset = -1;
    QString m_preedit;

    mutable std::map<int, std::unique_ptr<LineLayout>> m_layouts;
    mutable qreal m_widest = 0;
    // The advance of each character measured so far, in pages of 256 characters, -1 where not yet.
    mutable std::vector<std::unique_ptr<std::array<qreal, 256>>> m_advances;

    // The lines that take more than one row, by line: their rows as laid out, or as estimated.
    mutable std::vector<TallLine> m_tall;
    mutable bool m_rowsCounted = false;
    // extra rows (rows beyond the first) of the tall lines before each, valid up to m_prefixValid.
    mutable std::vector<int> m_extraBefore;
    mutable std::size_t m_prefixValid = 0;
};
