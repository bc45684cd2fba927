#include "editor/script_text.h"

#include "editor/win1251_codec.h"

namespace ScriptText {

QString decodeFile(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const uchar b = uchar(bytes[i]);
        if (b == '\r') {
            *out++ = QLatin1Char('\n');
            if (i + 1 < n && bytes[i + 1] == '\n')
                ++i;
        } else {
            *out++ = Win1251::toUnicode(b);
        }
    }
    text.truncate(out - text.constData());
    return text;
}

namespace {

// Appends one line's bytes to a file image, preceded by CR LF unless it is the first line.
void appendLineBytes(QByteArray &file, QStringView line, bool firstLine)
{
    if (!firstLine)
        file.append("\r\n", 2);
    const qsizetype at = file.size();
    file.resize(at + line.size());
    char *out = file.data() + at;
    for (QChar c : line)
        *out++ = Win1251::fromUnicode(c);
}

} // namespace

QByteArray encodeFile(QStringView textWithLf)
{
    QByteArray file;
    file.reserve(textWithLf.size() + textWithLf.count(QLatin1Char('\n')));
    bool first = true;
    for (QStringView line : textWithLf.tokenize(QLatin1Char('\n'))) {
        appendLineBytes(file, line, first);
        first = false;
    }
    return file;
}

QString joinedWithCrLf(const QStringList &lines)
{
    return lines.join(kCrLf);
}

QString appendedAsLine(const QString &target, const QString &text)
{
    if (target.isEmpty() || target.endsWith(QLatin1Char('\n')) || target.endsWith(QLatin1Char('\r')))
        return target + text + kCrLf;
    return target + kCrLf + text;
}

QStringList splitLines(QStringView text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines.append(text.mid(start, i - start).toString());
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
    }
    lines.append(text.mid(start).toString());
    return lines;
}

} // namespace ScriptText
