// Writing script files on Windows: a replaced file keeps its attributes and its own ACL, a
// read-only file is refused, a hard-linked file stays one file, a file another program holds open
// is written in place where it lets us and otherwise left whole; no temporary file stays behind.
// Every name has Cyrillic letters, as the users' files do.
#include "editor/script_file.h"
#include "support/test_files.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

namespace {

using TestFiles::readFile;
using TestFiles::writeFile;

std::wstring native(const QString &path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

DWORD attributes(const QString &path)
{
    return GetFileAttributesW(native(path).c_str());
}

// The file's own access list, as SDDL text ("D:P(A;;FA;;;WD)..."), inherited entries left out.
QString ownAccessList(const QString &path)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    PACL dacl = nullptr;
    if (GetNamedSecurityInfoW(native(path).c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                              &dacl, nullptr, &descriptor) != ERROR_SUCCESS)
        return QStringLiteral("<unreadable>");
    LPWSTR text = nullptr;
    QString sddl;
    if (ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION,
                                                             &text, nullptr)) {
        sddl = QString::fromWCharArray(text);
        LocalFree(text);
    }
    LocalFree(descriptor);
    return sddl;
}

// Gives the file an access list of its own: full access for everyone, read for the anonymous logon,
// nothing inherited from the folder.
bool setOwnAccessList(const QString &path)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;FA;;;WD)(A;;FR;;;AN)", SDDL_REVISION_1,
                                                              &descriptor, nullptr))
        return false;
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted);
    std::wstring name = native(path);
    const DWORD result = SetNamedSecurityInfoW(name.data(), SE_FILE_OBJECT,
                                               DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                               nullptr, nullptr, dacl, nullptr);
    LocalFree(descriptor);
    return result == ERROR_SUCCESS;
}

HANDLE holdOpen(const QString &path, DWORD sharing)
{
    return CreateFileW(native(path).c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

QStringList filesIn(const QTemporaryDir &dir)
{
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

class ScriptFileWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void aNewFileGetsItsTextUnderACyrillicName()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Скрипт №1.mrc"_qs);
        QVERIFY(ScriptFile::write(path, "alias \xcf\xf0\xe8\xe2\xe5\xf2\r\n"));
        QCOMPARE(readFile(path), QByteArray("alias \xcf\xf0\xe8\xe2\xe5\xf2\r\n"));
        QByteArray read;
        QCOMPARE(ScriptFile::read(path, &read), ScriptFile::ReadError::None);
        QCOMPARE(read, readFile(path));
        QCOMPARE(filesIn(dir), QStringList{u"Скрипт №1.mrc"_qs});
    }

    void replacingKeepsAttributesAndTheFilesOwnAccessList()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"скрытый.mrc"_qs);
        writeFile(path, "old text, longer than the new");
        QVERIFY(SetFileAttributesW(native(path).c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
        QVERIFY(setOwnAccessList(path));
        const QString accessList = ownAccessList(path);
        // Wine keeps a file's security descriptor only where the Unix file system has extended
        // attributes; elsewhere it shows one made from the file's mode.
        const bool keptByFileSystem = accessList.startsWith(u"D:P"_qs);

        QVERIFY(ScriptFile::write(path, "new"));
        QCOMPARE(readFile(path), QByteArray("new"));
        QVERIFY(attributes(path) & FILE_ATTRIBUTE_HIDDEN);
        QCOMPARE(filesIn(dir), QStringList{u"скрытый.mrc"_qs});
        if (!keptByFileSystem)
            QSKIP(qPrintable(u"this file system keeps no access list of a file's own: "_qs + accessList));
        QCOMPARE(ownAccessList(path), accessList);
    }

    void aReadOnlyFileIsRefused()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"только чтение.mrc"_qs);
        writeFile(path, "keep me");
        QVERIFY(SetFileAttributesW(native(path).c_str(), FILE_ATTRIBUTE_READONLY));
        QVERIFY(!ScriptFile::write(path, "lost"));
        QCOMPARE(readFile(path), QByteArray("keep me"));
        QVERIFY(attributes(path) & FILE_ATTRIBUTE_READONLY);
        SetFileAttributesW(native(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    }

    void aHardLinkedFileStaysOneFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"скрипт.mrc"_qs);
        const QString link = dir.filePath(u"другое имя.mrc"_qs);
        writeFile(path, "before");
        QVERIFY(CreateHardLinkW(native(link).c_str(), native(path).c_str(), nullptr));
        QVERIFY(ScriptFile::write(path, "after, longer than before"));
        QCOMPARE(readFile(link), QByteArray("after, longer than before"));
        QVERIFY(ScriptFile::write(link, "x"));
        QCOMPARE(readFile(path), QByteArray("x"));
    }

    void aFileHeldOpenIsWrittenInPlaceOrLeftWhole()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"открыт.mrc"_qs);
        writeFile(path, "old");
        // A reader that lets others write but not rename: the replacement is refused, the file written.
        HANDLE reader = holdOpen(path, FILE_SHARE_READ | FILE_SHARE_WRITE);
        QVERIFY(reader != INVALID_HANDLE_VALUE);
        const bool written = ScriptFile::write(path, "new");
        CloseHandle(reader);
        QVERIFY(written);
        QCOMPARE(readFile(path), QByteArray("new"));

        // A reader that shares nothing: the save fails and the old text stays whole.
        HANDLE locker = holdOpen(path, 0);
        QVERIFY(locker != INVALID_HANDLE_VALUE);
        const bool refused = !ScriptFile::write(path, "lost");
        CloseHandle(locker);
        QVERIFY(refused);
        QCOMPARE(readFile(path), QByteArray("new"));
        QCOMPARE(filesIn(dir), QStringList{u"открыт.mrc"_qs});
    }
};

QTEST_GUILESS_MAIN(ScriptFileWindowsTest)
#include "test_script_file_windows.moc"
