#include "editor/script_text.h"

#include "common/win1251_codec.h"

#include <cstring>

namespace ScriptText {

QByteArray normalizedLineBreaks(QByteArray bytes)
{
    // Most files already have CR LF throughout: find the first lone break before copying anything.
    const qsizetype n = bytes.size();
    const char *in = bytes.constData();
    qsizetype first = 0;
    for (; first < n; ++first) {
        const char c = in[first];
        if (c == '\r') {
            if (first + 1 < n && in[first + 1] == '\n') {
                ++first;
                continue;
            }
            break;
        }
        if (c == '\n')
            break;
    }
    if (first == n)
        return bytes;

    QByteArray out;
    out.reserve(n + n / 16);
    out.append(in, first);
    for (qsizetype i = first; i < n; ++i) {
        const char c = in[i];
        if (c == '\r') {
            out.append("\r\n", 2);
            if (i + 1 < n && in[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out.append("\r\n", 2);
        } else {
            out.append(c);
        }
    }
    return out;
}

QByteArray encodedText(QStringView text)
{
    return normalizedLineBreaks(Win1251::encode(Win1251::sanitized(text.toString())));
}

QByteArray appendedAsLine(bool targetEndsWithLineBreak, QStringView text)
{
    const QByteArray line = encodedText(text);
    return targetEndsWithLineBreak ? line + "\r\n" : "\r\n" + line;
}

} // namespace ScriptText
