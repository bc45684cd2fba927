#include "editor/script_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ScriptFile {
#ifndef Q_OS_WIN // Windows writes its own way: script_file_windows.cpp
namespace {

// The mode's write bits (WriteUser says what the current user may do, which for root is anything).
constexpr QFileDevice::Permissions kAnyWrite =
    QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;

// A file whose mode forbids writing stays as it is, also for a user (root) whom the mode would not stop.
bool modeForbidsWriting(const QFileInfo &target)
{
    return !target.isWritable() || !(target.permissions() & kAnyWrite);
}

bool hasOtherLinks(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 && status.st_nlink > 1;
#else
    Q_UNUSED(path);
    return false;
#endif
}

// The new file takes the old one's owner and group where the process may give them.
void keepOwner(const QSaveFile &file, const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || file.handle() < 0)
        return;
    if (::fchown(file.handle(), status.st_uid, status.st_gid) != 0) {
        // Only root may give a file away; anyone else's new file stays their own.
    }
#else
    Q_UNUSED(file);
    Q_UNUSED(path);
#endif
}

// Writes over the file itself: its inode, links, mode and owner stay, at the price of an old file
// that a failure halfway leaves cut short.
bool writeInPlace(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size() && file.flush();
}

// Writes a temporary file beside the target and renames it over the target.
std::optional<bool> writeAtomically(const QString &path, const QByteArray &bytes, bool targetExists)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return std::nullopt; // no temporary file could be made
    if (targetExists) {
        file.setPermissions(QFileInfo(path).permissions());
        keepOwner(file, path);
    }
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace
#endif

ReadError read(const QString &path, QByteArray *bytes, const Progress &progress, const Cancelled &cancelled)
{
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        return ReadError::CannotOpen;
    const qint64 size = file.size();
    if (size > kMaxFileSize)
        return ReadError::TooLarge;
    if (!progress && !cancelled) {
        *bytes = file.readAll();
        return file.error() == QFileDevice::NoError ? ReadError::None : ReadError::CannotOpen;
    }
    constexpr qint64 kPiece = qint64(8) << 20;
    QByteArray read(size, Qt::Uninitialized);
    qint64 done = 0;
    while (done < size) {
        if (cancelled && cancelled())
            return ReadError::Cancelled;
        const qint64 got = file.read(read.data() + done, qMin(kPiece, size - done));
        if (got <= 0)
            break;
        done += got;
        if (progress)
            progress(done, size);
    }
    // A file that shrank meanwhile is taken as far as it went; one that cannot be read is refused.
    if (file.error() != QFileDevice::NoError)
        return ReadError::CannotOpen;
    read.truncate(done);
    *bytes = std::move(read);
    return ReadError::None;
}

#ifndef Q_OS_WIN
bool write(const QString &path, const QByteArray &bytes)
{
    const QFileInfo target(path);
    if (path.isEmpty() || target.isDir())
        return false;
    const bool exists = target.exists();
    if (exists && modeForbidsWriting(target))
        return false;
    // A file with other names keeps being one file under all of them.
    if (exists && hasOtherLinks(path))
        return writeInPlace(path, bytes);
    if (const std::optional<bool> written = writeAtomically(path, bytes, exists))
        return *written;
    // The folder cannot hold a temporary file, but the file itself may still be written.
    return exists && writeInPlace(path, bytes);
}
#endif

} // namespace ScriptFile
