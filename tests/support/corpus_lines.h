#pragma once

#include "common/win1251_codec.h"

#include <QDir>
#include <QFile>
#include <QStringList>

// Corpus scripts as the editor holds them: decoded from Windows-1251, split into lines
// without their breaks (CR LF, LF or CR).
namespace CorpusLines {

// The corpus folder, or an empty string where it is absent.
inline QString folder()
{
    const QDir dir(QStringLiteral(ORL_CORPUS_DIR));
    return dir.exists() ? dir.absolutePath() : QString();
}

inline QStringList split(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

// The lines of a corpus file; empty where it cannot be read.
inline QStringList read(const QString &fileName)
{
    QFile file(QDir(folder()).filePath(fileName));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return split(Win1251::decode(file.readAll()));
}

// The script files of the corpus (.mrc and .ini).
inline QStringList scripts()
{
    return QDir(folder()).entryList({QStringLiteral("*.mrc"), QStringLiteral("*.ini")}, QDir::Files, QDir::Name);
}

} // namespace CorpusLines
