#include "editor/script_text.h"

#include "common/utf8_codec.h"
#include "common/win1251_codec.h"

#include <cstring>

namespace ScriptText {

QString encodingName(ScriptEncoding encoding)
{
    switch (encoding) {
    case ScriptEncoding::Utf8:
        return QStringLiteral("UTF-8");
    case ScriptEncoding::Utf8WithBom:
        return QStringLiteral("UTF-8 с BOM");
    case ScriptEncoding::Windows1251:
        break;
    }
    return QStringLiteral("Windows-1251");
}

ScriptEncoding detectedEncoding(QByteArrayView fileBytes)
{
    const bool marked = fileBytes.startsWith(Utf8::kBom);
    const QByteArrayView text = marked ? fileBytes.sliced(Utf8::kBom.size()) : fileBytes;
    const Utf8::Scan scan = Utf8::scan(text);
    return encodingOf(marked, scan.validLength == text.size(), scan.multiByte);
}

ScriptEncoding encodingOf(bool marked, bool validUtf8, bool multiByte)
{
    // Bytes that are not UTF-8 stay Windows-1251, which keeps every byte, the mark's included.
    if (!validUtf8)
        return ScriptEncoding::Windows1251;
    if (marked)
        return ScriptEncoding::Utf8WithBom;
    return multiByte ? ScriptEncoding::Utf8 : ScriptEncoding::Windows1251;
}

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

QByteArray encodedText(QStringView text, ScriptEncoding encoding)
{
    if (!isUtf8(encoding))
        return encodedText(text);
    return normalizedLineBreaks(Utf8::encode(text));
}

QString decodedText(QByteArrayView bytes, ScriptEncoding encoding)
{
    return isUtf8(encoding) ? Utf8::decode(bytes) : Win1251::decode(bytes);
}

qsizetype missingCharacters(QStringView text, ScriptEncoding encoding)
{
    return isUtf8(encoding) ? 0 : Win1251::missingCount(text);
}

QByteArray appendedAsLine(bool targetEndsWithLineBreak, QStringView text, ScriptEncoding encoding)
{
    const QByteArray line = encodedText(text, encoding);
    return targetEndsWithLineBreak ? line + "\r\n" : "\r\n" + line;
}

} // namespace ScriptText
