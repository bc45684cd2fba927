#include "catalogue/catalogue_file.h"

#include "common/win1251_codec.h"

#include <QFile>

namespace CatalogueFile {

QStringList labels(QByteArrayView bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes = bytes.first(nul);

    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(Win1251::decode(bytes.sliced(start, i - start)));
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.append(Win1251::decode(bytes.sliced(start)));
    return lines;
}

std::optional<QStringList> read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return labels(file.readAll());
}

} // namespace CatalogueFile
