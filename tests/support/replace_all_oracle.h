#pragma once

#include "editor/find_replace.h"

// A test oracle, not program code: Replace All done as one string operation on a text of
// characters, from the occurrences the program replaces, to state the expected result plainly.
namespace ReplaceAllOracle {

struct Result {
    QString text;
    qsizetype count = 0;
};

inline Result replaceAll(QStringView text, QStringView what, QStringView replacement,
                         const FindReplace::Options &options, ScriptEncoding encoding = ScriptEncoding::Windows1251)
{
    const FindReplace::Pattern pattern(what, options, encoding);
    const QList<qsizetype> found = FindReplace::occurrences(text, what, options, encoding);
    Result result{QString(), found.size()};
    qsizetype copied = 0;
    for (qsizetype at : found) {
        result.text.append(text.sliced(copied, at - copied));
        result.text.append(replacement);
        copied = at + pattern.length();
    }
    result.text.append(text.sliced(copied));
    return result;
}

} // namespace ReplaceAllOracle
