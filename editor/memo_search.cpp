#include "editor/memo_search.h"

#include <QTextBlock>
#include <QTextDocument>

namespace MemoSearch {

using FindReplace::Direction;
using FindReplace::Options;
using FindReplace::Pattern;
using FindReplace::Selection;

namespace {

// The document's characters in one string, index for index with document positions (blocks
// separated by U+2029), kept until the document next changes so that repeated searches of an
// unchanged text do not copy it again.
class DocumentSnapshot : public QObject {
    Q_OBJECT
public:
    static QStringView textOf(const QTextDocument &document)
    {
        auto *doc = const_cast<QTextDocument *>(&document);
        auto *snapshot = doc->findChild<DocumentSnapshot *>(QString(), Qt::FindDirectChildrenOnly);
        if (!snapshot)
            snapshot = new DocumentSnapshot(doc);
        if (!snapshot->m_valid) {
            snapshot->m_text = doc->toRawText();
            snapshot->m_valid = true;
        }
        return snapshot->m_text;
    }

private:
    explicit DocumentSnapshot(QTextDocument *document) : QObject(document)
    {
        connect(document, &QTextDocument::contentsChange, this, [this] {
            m_valid = false;
            m_text.clear();
        });
    }

    QString m_text;
    bool m_valid = false;
};

// Line breaks as the document holds them: a text to find whose only line breaks are CR LF pairs
// matches there with each pair turned into the block separator. A lone CR or LF has no such
// counterpart.
std::optional<QString> inDocumentTerms(QStringView what)
{
    QString text = what.toString();
    text.replace(QStringLiteral("\r\n"), QString(QChar::ParagraphSeparator));
    if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')))
        return std::nullopt;
    return text;
}

// A character offset of the CR LF text for a document position: one more for each line break before it.
qsizetype offsetOf(const QTextDocument &document, qsizetype position)
{
    return position + document.findBlock(int(position)).blockNumber();
}

} // namespace

std::optional<Selection> findStep(const ScriptMemo &memo, QStringView what, const Options &options)
{
    if (what.isEmpty())
        return std::nullopt;
    const std::optional<QString> target = inDocumentTerms(what);
    if (!target) {
        // A lone CR or LF matches half of a line break: search the CR LF text itself.
        return FindReplace::findStep(memo.wholeText(), {memo.SelStart(), memo.SelLength()}, what, options);
    }
    const QTextDocument &document = *memo.document();
    const QStringView text = DocumentSnapshot::textOf(document);
    const Pattern pattern(*target, options);
    const QTextCursor cursor = memo.textCursor();
    const qsizetype at = options.direction == Direction::Up ? pattern.lastIndexIn(text, cursor.selectionStart())
                                                            : pattern.indexIn(text, cursor.selectionEnd());
    if (at < 0)
        return std::nullopt;
    return Selection{offsetOf(document, at), what.size()};
}

QList<ScriptMemo::Range> occurrences(const ScriptMemo &memo, QStringView what, const Options &options)
{
    QList<ScriptMemo::Range> ranges;
    if (what.isEmpty())
        return ranges;
    const std::optional<QString> target = inDocumentTerms(what);
    if (!target) {
        for (qsizetype offset : FindReplace::occurrences(memo.wholeText(), what, options)) {
            const int start = memo.positionOfOffset(offset);
            ranges.append({start, memo.positionOfOffset(offset + what.size()) - start});
        }
        return ranges;
    }
    const Pattern pattern(*target, options);
    const int length = int(pattern.length());
    const QList<qsizetype> found = pattern.allIn(DocumentSnapshot::textOf(*memo.document()));
    ranges.reserve(found.size());
    for (qsizetype at : found)
        ranges.append({int(at), length});
    return ranges;
}

} // namespace MemoSearch

#include "memo_search.moc"
