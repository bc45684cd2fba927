#include "editor/script_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace ScriptFile {

ReadError read(const QString &path, QByteArray *bytes)
{
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        return ReadError::CannotOpen;
    if (file.size() > kMaxFileSize)
        return ReadError::TooLarge;
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return ReadError::CannotOpen;
    return ReadError::None;
}

bool write(const QString &path, const QByteArray &bytes)
{
    const QFileInfo info(path);
    // A file the user may not write stays untouched, although its folder would allow a rename over it.
    if (path.isEmpty() || info.isDir() || (info.exists() && !info.isWritable()))
        return false;
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace ScriptFile
