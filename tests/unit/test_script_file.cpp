// Writing script files over existing ones: the old file's mode, owner and hard links stay, a mode
// that forbids writing is obeyed even by root, and a file in a folder that cannot take a temporary
// file is still saved.
#include "editor/script_file.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
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
        // A shorter text leaves nothing of the longer one behind.
        QVERIFY(ScriptFile::write(link, "x"));
        QCOMPARE(readFile(path), QByteArray("x"));
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
};

QTEST_GUILESS_MAIN(TestScriptFile)
#include "support/test_files.h"
#include "test_script_file.moc"
