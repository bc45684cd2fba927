#pragma once

#include "editor/find_replace.h"
#include "editor/script_memo.h"

// The find step and the occurrences of Replace All on an editor's text, searched where the
// editor holds it.
namespace MemoSearch {

// The match from the memo's selection on, as a selection of the CR LF text, or nothing.
std::optional<FindReplace::Selection> findStep(const ScriptMemo &memo, QStringView what,
                                               const FindReplace::Options &options);

// Every occurrence of what in the memo's text, left to right.
QList<ScriptMemo::Range> occurrences(const ScriptMemo &memo, QStringView what, const FindReplace::Options &options);

} // namespace MemoSearch
