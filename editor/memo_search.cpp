#include "editor/memo_search.h"

namespace MemoSearch {

std::optional<FindReplace::Selection> findStep(const ScriptMemo &memo, QStringView what,
                                               const FindReplace::Options &options)
{
    return FindReplace::findStep(memo.textBytes(), {memo.SelStart(), memo.SelLength()},
                                 FindReplace::Pattern(what, options), options.direction);
}

QList<ScriptMemo::Range> occurrences(const ScriptMemo &memo, QStringView what, const FindReplace::Options &options)
{
    const FindReplace::Pattern pattern(what, options);
    const QList<qsizetype> found = FindReplace::occurrences(memo.textBytes(), pattern);
    QList<ScriptMemo::Range> ranges;
    ranges.reserve(found.size());
    for (qsizetype at : found)
        ranges.append({at, pattern.length()});
    return ranges;
}

} // namespace MemoSearch
