#include "editor/script_file.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QSaveFile>
#endif

namespace ScriptFile {
namespace {

#ifdef Q_OS_UNIX

// An open file descriptor, closed when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) { }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }

private:
    int m_fd;
};

// A regular file opened for reading. The path is looked at before it is opened, so that a FIFO or a
// device is never opened; the opening does not wait (should the path have become a FIFO since),
// and what was opened is looked at once more.
class ReadableFile {
public:
    ReadError open(const QString &path)
    {
        const QByteArray name = QFile::encodeName(path);
        struct stat status {};
        if (name.isEmpty() || ::stat(name.constData(), &status) != 0 || !S_ISREG(status.st_mode))
            return ReadError::CannotOpen;
        m_fd.emplace(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (!m_fd->isOpen() || ::fstat(m_fd->get(), &status) != 0 || !S_ISREG(status.st_mode))
            return ReadError::CannotOpen;
        if (status.st_size > kMaxFileSize)
            return ReadError::TooLarge;
        m_size = status.st_size;
        return ReadError::None;
    }
    qint64 size() const { return m_size; }
    // Up to length bytes; 0 at the end, -1 on an error.
    qint64 readSome(char *into, qint64 length)
    {
        for (;;) {
            const ssize_t got = ::read(m_fd->get(), into, size_t(length));
            if (got >= 0 || errno != EINTR)
                return got;
        }
    }

private:
    std::optional<Descriptor> m_fd;
    qint64 m_size = 0;
};

#else

// A regular file opened for reading.
class ReadableFile {
public:
    ReadError open(const QString &path)
    {
        m_file.setFileName(path);
        if (!QFileInfo(path).isFile() || !m_file.open(QIODevice::ReadOnly))
            return ReadError::CannotOpen;
        return m_file.size() > kMaxFileSize ? ReadError::TooLarge : ReadError::None;
    }
    qint64 size() const { return m_file.size(); }
    qint64 readSome(char *into, qint64 length) { return m_file.read(into, length); }

private:
    QFile m_file;
};

#endif

// Reads the size the file had when it was opened, in pieces, and then what it gained since within
// the growth allowance.
ReadError readWhole(ReadableFile &file, QByteArray *bytes, const Progress &progress, const Cancelled &cancelled)
{
    constexpr qint64 kPiece = qint64(8) << 20;
    const qint64 size = file.size();
    QByteArray read(size, Qt::Uninitialized);
    qint64 done = 0;
    while (done < size) {
        if (cancelled && cancelled())
            return ReadError::Cancelled;
        const qint64 got = file.readSome(read.data() + done, qMin(kPiece, size - done));
        if (got < 0)
            return ReadError::CannotOpen;
        if (got == 0)
            break; // the file shrank meanwhile: it is taken as far as it went
        done += got;
        if (progress)
            progress(done, size);
    }
    read.truncate(done);
    if (done == size) {
        char chunk[64 * 1024];
        qint64 grown = 0;
        for (qint64 got; (got = file.readSome(chunk, sizeof chunk)) != 0;) {
            grown += got;
            if (got < 0 || grown > kGrowthAllowance)
                return ReadError::CannotOpen;
            read.append(chunk, got);
        }
    }
    *bytes = std::move(read);
    return ReadError::None;
}

#ifdef Q_OS_UNIX

// Writes all the bytes at the offset; false on an error, which errno tells.
bool writeAllAt(int fd, const QByteArray &bytes, qint64 offset)
{
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t put = ::pwrite(fd, data, size_t(qMin(left, qint64(1) << 30)), off_t(offset));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            if (put == 0)
                errno = ENOSPC;
            return false;
        }
        data += put;
        left -= put;
        offset += put;
    }
    return true;
}

// Whether the process's file-size limit lets a file grow to the size: a write past it would stop
// halfway, and the signal it raises would end the program.
bool sizeLimitAllows(qint64 size)
{
    struct rlimit limit {};
    return ::getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY || rlim_t(size) <= limit.rlim_cur;
}

// Reserves the blocks of a file of the size, without changing its length or content: 0, or the
// error. A file system that reserves nothing says EOPNOTSUPP.
int reserveBlocks(int fd, qint64 size)
{
#ifdef Q_OS_LINUX
    if (size == 0)
        return 0;
    while (::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, off_t(size)) != 0) {
        if (errno != EINTR)
            return errno == ENOSYS ? EOPNOTSUPP : errno;
    }
    return 0;
#else
    Q_UNUSED(fd);
    Q_UNUSED(size);
    return EOPNOTSUPP;
#endif
}

bool modeForbidsWriting(const QByteArray &name, const struct stat &status)
{
    // The mode's write bits hold also for root, whom access() would let through.
    return ::access(name.constData(), W_OK) != 0 || !(status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH));
}

QByteArray folderOf(const QByteArray &name)
{
    const qsizetype slash = name.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : name.left(qMax<qsizetype>(slash, 1));
}

// The name under which the new text is written beside the target before it is renamed over it:
// hidden, and the same for every save of the target, so that what a save stopped halfway leaves
// is recognised and removed by the next save. Its length stays within a file name's 255 bytes.
QByteArray stagingName(const QByteArray &target)
{
    const qsizetype slash = target.lastIndexOf('/');
    return target.left(slash + 1) + '.' + target.mid(slash + 1).left(200) + ".orl-save";
}

void syncFolder(const QByteArray &folder)
{
    const Descriptor dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.isOpen() && ::fsync(dir.get()) != 0) {
        // The rename is done; a folder that cannot be flushed leaves it to the system.
    }
}

// Writes the text under the staging name and renames that over the target. Nothing when no file
// could be made beside the target, or there was no room for the text there: in place it may still
// go.
std::optional<bool> replaceByRename(const QByteArray &target, const QByteArray &bytes, const struct stat *old)
{
    const QByteArray staging = stagingName(target);
    ::unlink(staging.constData());
    const Descriptor file(::open(staging.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666));
    if (!file.isOpen())
        return std::nullopt;
    if (old) {
        // The owner first: giving a file away clears its set-id bits.
        if (::fchown(file.get(), old->st_uid, old->st_gid) != 0) {
            // Only root may give a file away; anyone else's new file stays their own.
        }
        ::fchmod(file.get(), old->st_mode & 07777);
    }
    struct stat written {};
    struct stat named {};
    if (!writeAllAt(file.get(), bytes, 0) || ::fsync(file.get()) != 0) {
        const int error = errno;
        ::unlink(staging.constData());
        if (error == ENOSPC || error == EDQUOT)
            return std::nullopt;
        return false;
    }
    // Another program saving the same file at the same moment may have taken the name meanwhile.
    if (::fstat(file.get(), &written) != 0 || ::lstat(staging.constData(), &named) != 0
        || written.st_ino != named.st_ino || written.st_dev != named.st_dev)
        return false;
    if (::rename(staging.constData(), target.constData()) != 0) {
        ::unlink(staging.constData());
        return false;
    }
    syncFolder(folderOf(target));
    return true;
}

#endif

} // namespace

Check check(const QString &path)
{
    ReadableFile file;
    Check result;
    result.error = file.open(path);
    result.size = file.size();
    return result;
}

ReadError read(const QString &path, QByteArray *bytes, const Progress &progress, const Cancelled &cancelled)
{
    ReadableFile file;
    if (const ReadError error = file.open(path); error != ReadError::None)
        return error;
    return readWhole(file, bytes, progress, cancelled);
}

#ifdef Q_OS_UNIX

bool writeInPlace(const QString &path, const QByteArray &bytes, Room room)
{
    const Descriptor file(::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status {};
    if (!file.isOpen() || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    const qint64 oldSize = status.st_size;
    const qint64 newSize = bytes.size();
    if (!sizeLimitAllows(newSize))
        return false;
    if (room == Room::Reserve) {
        const int error = reserveBlocks(file.get(), newSize);
        if (error == EOPNOTSUPP)
            room = Room::AfterTheEnd;
        else if (error != 0)
            return false;
    }
    if (room == Room::AfterTheEnd) {
        // The new text goes after the old end first, so that the file system has given all its
        // room before an old byte changes; should it run out, cutting the file back to its old end
        // undoes the attempt.
        if (!sizeLimitAllows(oldSize + newSize) || !writeAllAt(file.get(), bytes, oldSize) || ::fsync(file.get()) != 0) {
            if (::ftruncate(file.get(), oldSize) != 0) {
                // The old text is whole either way; only the attempt's tail may stay.
            }
            return false;
        }
    }
    // Only from here do the old bytes give way, with the room for the new ones there already.
    return writeAllAt(file.get(), bytes, 0) && ::ftruncate(file.get(), newSize) == 0 && ::fsync(file.get()) == 0;
}

bool write(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    // A symbolic link stays a link to the file it names.
    const QString resolved = info.isSymLink() && info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    const QByteArray target = QFile::encodeName(resolved);
    struct stat old {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (!exists && errno != ENOENT)
        return false;
    if (exists && (!S_ISREG(old.st_mode) || modeForbidsWriting(target, old)))
        return false;
    if (!sizeLimitAllows(bytes.size()))
        return false;
    // A file with other names keeps being one file under all of them.
    if (exists && old.st_nlink > 1)
        return writeInPlace(resolved, bytes);
    if (const std::optional<bool> replaced = replaceByRename(target, bytes, exists ? &old : nullptr))
        return *replaced;
    // The folder cannot hold the new text beside the old, but the file itself may still take it.
    return exists && writeInPlace(resolved, bytes);
}

#else

// Without a way to reserve blocks, the new text goes after the old end first: the file grows by the
// whole text or, where there is no room, is cut back to what it was, before the first old byte
// changes.
bool writeInPlace(const QString &path, const QByteArray &bytes, Room)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadWrite))
        return false;
    const qint64 oldSize = file.size();
    if (!file.seek(oldSize) || file.write(bytes) != bytes.size() || !file.flush()) {
        file.resize(oldSize);
        return false;
    }
    return file.seek(0) && file.write(bytes) == bytes.size() && file.flush() && file.resize(bytes.size());
}

#ifndef Q_OS_WIN // Windows replaces its files its own way: script_file_windows.cpp
bool write(const QString &path, const QByteArray &bytes)
{
    const QFileInfo target(path);
    if (path.isEmpty() || target.isDir())
        return false;
    const bool exists = target.exists();
    constexpr QFileDevice::Permissions kAnyWrite =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (exists && (!target.isWritable() || !(target.permissions() & kAnyWrite)))
        return false;
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return exists && writeInPlace(path, bytes, Room::Reserve);
    if (exists)
        file.setPermissions(target.permissions());
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
#endif

#endif

} // namespace ScriptFile
