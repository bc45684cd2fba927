#include "common/field_text.h"

#include "common/win1251_codec.h"

namespace FieldText {
namespace {

qsizetype firstLineBreak(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\n') || text.at(i) == QLatin1Char('\r'))
            return i;
    }
    return -1;
}

// Where the inserted part of after ends. A paste or a keystroke leaves the caret there, with the
// text after it as it was; otherwise it lies before the characters both texts end with.
qsizetype insertionEnd(QStringView before, QStringView after, qsizetype cursor)
{
    const qsizetype tail = after.size() - cursor;
    if (cursor >= 0 && tail >= 0 && tail <= before.size() && after.sliced(cursor) == before.sliced(before.size() - tail))
        return cursor;
    const qsizetype shorter = qMin(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before.at(prefix) == after.at(prefix))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix && before.at(before.size() - 1 - suffix) == after.at(after.size() - 1 - suffix))
        ++suffix;
    return after.size() - suffix;
}

// Drops the inserted text from its first line break on; the text around the insertion stays.
Kept cutAtLineBreak(QStringView before, const QString &after, qsizetype cursor)
{
    const qsizetype breakAt = firstLineBreak(after);
    if (breakAt < 0)
        return {after, cursor};
    const qsizetype end = qMax(insertionEnd(before, after, cursor), breakAt);
    QString text = after.left(breakAt) + after.mid(end);
    // A break that was there before the change (none should be) ends the text as well.
    const qsizetype rest = firstLineBreak(text);
    if (rest >= 0)
        text.truncate(rest);
    if (cursor > breakAt)
        cursor = cursor <= end ? breakAt : cursor - (end - breakAt);
    return {text, qMin(cursor, text.size())};
}

std::function<Repertoire()> &scriptRepertoireSource()
{
    static std::function<Repertoire()> source;
    return source;
}

} // namespace

QString held(const QString &text, Repertoire repertoire)
{
    return repertoire == Repertoire::Unicode ? text : Win1251::sanitized(text);
}

void setScriptRepertoire(const std::function<Repertoire()> &source)
{
    scriptRepertoireSource() = source;
}

Repertoire scriptRepertoire()
{
    const std::function<Repertoire()> &source = scriptRepertoireSource();
    return source ? source() : Repertoire::Windows1251;
}

Kept kept(QStringView before, const QString &after, qsizetype cursor, LineBreaks lineBreaks, Repertoire repertoire)
{
    Kept result = lineBreaks == LineBreaks::EndInsertedText ? cutAtLineBreak(before, after, cursor)
                                                             : Kept{after, cursor};
    if (repertoire == Repertoire::Unicode)
        return result;
    const QString clean = Win1251::sanitized(result.text);
    if (clean.size() != result.text.size())
        result.cursor = qMin(Win1251::sanitized(result.text.left(result.cursor)).size(), clean.size());
    result.text = clean;
    return result;
}

} // namespace FieldText
