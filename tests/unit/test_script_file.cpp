// Reading and writing script files: only regular files are read, and no further than their size
// allows; writing over an existing file keeps its mode, owner, links and symbolic links, obeys a
// mode that forbids writing even for root, saves a file in a folder that takes no new file, and
// never cuts the old text short when there is no room for the new one.
#include "editor/script_file.h"
#include "support/test_files.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using TestFiles::readFile;
using TestFiles::writeFile;

struct stat statusOf(const QString &path)
{
    struct stat status {};
    ::stat(QFile::encodeName(path).constData(), &status);
    return status;
}

// Makes a folder refuse new entries: by its mode, or for root, whom modes do not stop, by the
// immutable attribute. False where neither works on this file system.
bool lockFolder(const QString &folder)
{
    if (::geteuid() != 0)
        return QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    return QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), folder}) == 0;
}

void unlockFolder(const QString &folder)
{
    if (::geteuid() == 0)
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), folder});
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// A file system of a few blocks, mounted on a folder of its own for the life of the object; where
// the tests may not mount one, mounted() is false.
class SmallDisk {
public:
    explicit SmallDisk(int kibibytes)
    {
        const QByteArray options = "size=" + QByteArray::number(kibibytes) + "k";
        m_mounted = ::geteuid() == 0
                    && ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    // Fills what room is left with a file of its own.
    void fill() const
    {
        QFile filler(filePath(QStringLiteral("filler")));
        if (filler.open(QIODevice::WriteOnly | QIODevice::Append)) {
            const QByteArray block(4096, 'f');
            while (filler.write(block) == block.size() && filler.flush()) { }
        }
    }
    QStringList entries() const
    {
        return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

// Lets a reader that waits in the opening of a FIFO go on after a while, by opening the FIFO's
// other end, so that a test of a reader that should never have waited fails instead of hanging.
class FifoRelease : public QThread {
public:
    explicit FifoRelease(const QString &path) : m_path(QFile::encodeName(path)) { start(); }
    ~FifoRelease() override
    {
        m_done.release();
        wait();
    }

private:
    void run() override
    {
        if (m_done.tryAcquire(1, 2000))
            return;
        const int fd = ::open(m_path.constData(), O_RDWR | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    }
    QByteArray m_path;
    QSemaphore m_done;
};

// Binds a Unix socket to the path; false where it cannot.
bool makeSocket(const QString &path)
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (size_t(name.size()) >= sizeof address.sun_path)
        return false;
    std::copy(name.begin(), name.end(), address.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    if (fd >= 0)
        ::close(fd);
    return bound;
}

// Runs the writes in a child process whose file-size limit is the given number of bytes; returns
// the child's exit status (each write's success a bit), or -1 when a signal ended it.
int writeUnderSizeLimit(rlim_t limit, const QList<std::pair<QString, QByteArray>> &writes)
{
    const pid_t child = ::fork();
    if (child == 0) {
        const struct rlimit fileSize {limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &fileSize);
        int status = 0;
        for (int i = 0; i < writes.size(); ++i)
            status |= ScriptFile::write(writes.at(i).first, writes.at(i).second) ? 1 << i : 0;
        ::_exit(status);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

} // namespace

class TestScriptFile : public QObject {
    Q_OBJECT
private slots:
    void replacingKeepsTheModeAndLeavesNoTemporaryFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.mrc"));
        writeFile(path, "old");
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        // Root may keep another user's file theirs.
        const bool root = ::geteuid() == 0;
        if (root)
            QCOMPARE(::chown(QFile::encodeName(path).constData(), 65534, 65534), 0);
        const struct stat before = statusOf(path);
        QVERIFY(ScriptFile::write(path, "new text"));
        QCOMPARE(readFile(path), QByteArray("new text"));
        QCOMPARE(statusOf(path).st_mode & 0777, mode_t(0640));
        QCOMPARE(statusOf(path).st_uid, before.st_uid);
        QCOMPARE(statusOf(path).st_gid, before.st_gid);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("a.mrc")});
    }

    void aReadOnlyFileIsRefusedWhoeverRunsTheProgram()
    {
        // The suite also runs as root, whom the mode alone would not stop.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("locked.mrc"));
        writeFile(path, "keep me");
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        QVERIFY(!ScriptFile::write(path, "lost"));
        QCOMPARE(readFile(path), QByteArray("keep me"));
        QCOMPARE(statusOf(path).st_mode & 0777, mode_t(0444));
    }

    void aHardLinkedFileStaysOneFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("script.mrc"));
        const QString link = dir.filePath(QStringLiteral("other-name.mrc"));
        writeFile(path, "before");
        QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(link).constData()), 0);
        const ino_t inode = statusOf(path).st_ino;
        QVERIFY(ScriptFile::write(path, "after, longer than before"));
        QCOMPARE(readFile(link), QByteArray("after, longer than before"));
        QCOMPARE(statusOf(path).st_nlink, nlink_t(2));
        QCOMPARE(statusOf(path).st_ino, inode);
        // A shorter text leaves nothing of the longer one behind, nor does the text that was first
        // written after the old end.
        QVERIFY(ScriptFile::write(link, "x"));
        QCOMPARE(readFile(path), QByteArray("x"));
        QVERIFY(ScriptFile::writeInPlace(path, "written after the end", ScriptFile::Room::AfterTheEnd));
        QCOMPARE(readFile(link), QByteArray("written after the end"));
        QCOMPARE(statusOf(path).st_ino, inode);
    }

    void aWritableFileInAFolderThatTakesNoNewFileIsWrittenInPlace()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("locked"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/kept.mrc");
        writeFile(path, "old");
        if (!lockFolder(folder))
            QSKIP("a folder cannot be locked against new files here");
        const bool written = ScriptFile::write(path, "new");
        const bool newFileMade = ScriptFile::write(folder + QStringLiteral("/new.mrc"), "x");
        const QByteArray bytes = readFile(path);
        const QStringList entries = QDir(folder).entryList(QDir::Files);
        unlockFolder(folder);
        QVERIFY(written);
        QCOMPARE(bytes, QByteArray("new"));
        QVERIFY(!newFileMade);
        QCOMPARE(entries, QStringList{QStringLiteral("kept.mrc")});
    }

    void aFolderOrAnEmptyNameIsNoFile()
    {
        QTemporaryDir dir;
        QVERIFY(!ScriptFile::write(dir.path(), "x"));
        QVERIFY(!ScriptFile::write(QString(), "x"));
        QVERIFY(!ScriptFile::write(dir.filePath(QStringLiteral("no-such/x.mrc")), "x"));
    }

    void onlyRegularFilesAreReadAndNothingWaits()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("pipe.mrc"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QString socket = dir.filePath(QStringLiteral("socket.mrc"));
        QVERIFY(makeSocket(socket));
        FifoRelease release(fifo);
        QElapsedTimer clock;
        clock.start();
        for (const QString &path : {fifo, socket, dir.path(), QStringLiteral("/dev/zero")}) {
            QByteArray bytes = "untouched";
            QCOMPARE(ScriptFile::check(path).error, ScriptFile::ReadError::CannotOpen);
            QCOMPARE(ScriptFile::read(path, &bytes), ScriptFile::ReadError::CannotOpen);
            QCOMPARE(ScriptFile::read(path, &bytes, [](qint64, qint64) { }), ScriptFile::ReadError::CannotOpen);
            QCOMPARE(bytes, QByteArray("untouched"));
        }
        QVERIFY(!ScriptFile::write(fifo, "x"));
        QVERIFY2(clock.elapsed() < 1500, "a read or write waited for the FIFO's other end");
        struct stat status {};
        QVERIFY(::stat(QFile::encodeName(fifo).constData(), &status) == 0 && S_ISFIFO(status.st_mode));

        const QString file = dir.filePath(QStringLiteral("a.mrc"));
        writeFile(file, "alias a {}");
        QCOMPARE(ScriptFile::check(file).size, qint64(10));
        QByteArray bytes;
        QCOMPARE(ScriptFile::read(file, &bytes), ScriptFile::ReadError::None);
        QCOMPARE(bytes, QByteArray("alias a {}"));
    }

    void aGrowingFileIsReadNoFurtherThanItsSizeAndTheAllowance()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("log.mrc"));
        writeFile(path, "start");
        QFile appender(path);
        QVERIFY(appender.open(QIODevice::WriteOnly | QIODevice::Append));
        const auto growBy = [&appender](qint64 size) {
            return [&appender, size](qint64, qint64) {
                appender.write(QByteArray(size, 'g'));
                appender.flush();
            };
        };
        // A little more than at the look is taken whole...
        QByteArray bytes;
        QCOMPARE(ScriptFile::read(path, &bytes, growBy(3)), ScriptFile::ReadError::None);
        QCOMPARE(bytes, QByteArray("startggg"));
        // ...a file that grows without end is not.
        QCOMPARE(ScriptFile::read(path, &bytes, growBy(ScriptFile::kGrowthAllowance + 1)), ScriptFile::ReadError::CannotOpen);
        QCOMPARE(bytes, QByteArray("startggg"));
    }

    void noRoomForTheNewTextLeavesTheOldFileWhole()
    {
        SmallDisk disk(256);
        if (!disk.mounted())
            QSKIP("no small file system can be mounted here");
        const QByteArray old(10 * 1024, 'o');
        const QByteArray longer(1024 * 1024, 'n');
        const QString linked = disk.filePath(QStringLiteral("linked.mrc"));
        const QString other = disk.filePath(QStringLiteral("other-name.mrc"));
        const QString single = disk.filePath(QStringLiteral("single.mrc"));
        writeFile(linked, old);
        writeFile(single, old);
        QCOMPARE(::link(QFile::encodeName(linked).constData(), QFile::encodeName(other).constData()), 0);
        const QStringList entries = disk.entries();

        QVERIFY(!ScriptFile::write(linked, longer));
        QVERIFY(!ScriptFile::write(single, longer));
        QVERIFY(!ScriptFile::writeInPlace(single, longer, ScriptFile::Room::AfterTheEnd));
        QCOMPARE(readFile(other), old);
        QCOMPARE(readFile(single), old);
        QCOMPARE(disk.entries(), entries);

        // On a disk full to the last block a text that fits where the old one stood still goes in.
        disk.fill();
        QVERIFY(ScriptFile::write(single, "shorter"));
        QCOMPARE(readFile(single), QByteArray("shorter"));
    }

    void aFileSizeLimitStopsTheWriteBeforeTheOldFileChanges()
    {
        QTemporaryDir dir;
        const QByteArray old(10 * 1024, 'o');
        const QString linked = dir.filePath(QStringLiteral("linked.mrc"));
        const QString single = dir.filePath(QStringLiteral("single.mrc"));
        writeFile(linked, old);
        writeFile(single, old);
        QCOMPARE(::link(QFile::encodeName(linked).constData(), QFile::encodeName(dir.filePath(QStringLiteral("l2"))).constData()), 0);
        const QByteArray longer(1024 * 1024, 'n');
        // Neither write succeeds, and neither lets the limit's signal end the program.
        QCOMPARE(writeUnderSizeLimit(64 * 1024, {{linked, longer}, {single, longer}, {single, "fits"}}), 0b100);
        QCOMPARE(readFile(linked), old);
        QCOMPARE(readFile(single), QByteArray("fits"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
    }

    void whatAStoppedSaveLeftIsRemovedByTheNextSave()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.mrc"));
        writeFile(path, "old");
        // A save stopped between writing the new text beside the file and renaming it over the file.
        writeFile(dir.filePath(QStringLiteral(".a.mrc.orl-save")), "new, never renamed");
        QVERIFY(ScriptFile::write(path, "newer"));
        QCOMPARE(readFile(path), QByteArray("newer"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("a.mrc")});
        // A name as long as a file name may be is saved too.
        const QString longName = dir.filePath(QString(255, QLatin1Char('n')));
        QVERIFY(ScriptFile::write(longName, "x"));
        QCOMPARE(readFile(longName), QByteArray("x"));
    }

    void aSymbolicLinkStaysALink()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("real.mrc"));
        const QString link = dir.filePath(QStringLiteral("link.mrc"));
        writeFile(file, "old");
        QVERIFY(QFile::link(file, link));
        QVERIFY(ScriptFile::write(link, "new"));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(readFile(file), QByteArray("new"));
    }
};

QTEST_GUILESS_MAIN(TestScriptFile)
#include "support/test_files.h"
#include "test_script_file.moc"
