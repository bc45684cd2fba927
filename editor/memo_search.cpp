#include "editor/memo_search.h"

namespace MemoSearch {

std::optional<FindReplace::Selection> findStep(const ScriptMemo &memo, QStringView what,
                                               const FindReplace::Options &options)
{
    // The search runs on the bytes; the selection goes there in bytes and the match comes back in
    // characters.
    const ScriptDocument &document = *memo.document();
    const FindReplace::Pattern pattern(what, options, document.encoding());
    const qsizetype start = document.byteOffset(memo.SelStart());
    const qsizetype end = document.byteOffset(memo.SelStart() + memo.SelLength());
    const auto found = FindReplace::findStep(document.bytes(), {start, end - start}, pattern, options.direction);
    if (!found)
        return std::nullopt;
    return FindReplace::Selection{document.offsetOfByte(found->start), pattern.length()};
}

QList<ScriptMemo::Range> occurrences(const ScriptMemo &memo, QStringView what, const FindReplace::Options &options)
{
    const ScriptDocument &document = *memo.document();
    const FindReplace::Pattern pattern(what, options, document.encoding());
    const QList<qsizetype> found = FindReplace::occurrences(document.bytes(), pattern);
    QList<ScriptMemo::Range> ranges;
    ranges.reserve(found.size());
    for (qsizetype at : found)
        ranges.append({document.offsetOfByte(at), pattern.length()});
    return ranges;
}

} // namespace MemoSearch
