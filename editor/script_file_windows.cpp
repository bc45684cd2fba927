// Writing script files on Windows: the new text goes into a temporary file beside the target, which
// then takes the target's place with ReplaceFileW, the way Windows' own editors save. The replaced
// file's attributes (hidden, archive ...), its security descriptor (an ACL given to it alone), its
// creation time and its alternate data streams stay; a new file gets the folder's inherited ACL.
#include "editor/script_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <io.h>
#include <windows.h>

namespace ScriptFile {
namespace {

// The attributes a user gives a file, which its new text must not lose.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

std::wstring nativePath(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()).toStdWString();
}

DWORD attributesOf(const QString &path)
{
    return GetFileAttributesW(nativePath(path).c_str());
}

// NTFS hard links: a file under several names stays one file under all of them.
bool hasOtherLinks(const QString &path)
{
    const HANDLE file = CreateFileW(nativePath(path).c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION information{};
    const bool linked = GetFileInformationByHandle(file, &information) && information.nNumberOfLinks > 1;
    CloseHandle(file);
    return linked;
}

// The whole text in a temporary file in the target's folder, flushed to the disk; empty where the
// folder takes no new file or the write fails, with nothing left behind.
QString writeTemporary(const QString &path, const QByteArray &bytes)
{
    QTemporaryFile file(QFileInfo(path).absolutePath() + QStringLiteral("/.orl-XXXXXX.tmp"));
    if (!file.open())
        return {};
    if (file.write(bytes) != bytes.size() || !file.flush()
        || !FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()))))
        return {};
    file.setAutoRemove(false);
    return file.fileName();
}

} // namespace

bool write(const QString &path, const QByteArray &bytes)
{
    const QFileInfo target(path);
    if (path.isEmpty() || target.isDir())
        return false;
    const bool exists = target.exists();
    // The read-only attribute is Windows' way of saying "do not change this file".
    if (exists && (attributesOf(path) & FILE_ATTRIBUTE_READONLY))
        return false;
    if (exists && hasOtherLinks(path))
        return writeInPlace(path, bytes);
    const QString temporary = writeTemporary(path, bytes);
    if (temporary.isEmpty()) // the folder takes no new file, but the file itself may still be written
        return exists && writeInPlace(path, bytes);
    const std::wstring from = nativePath(temporary), to = nativePath(path);
    if (!exists) {
        if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH))
            return true;
        DeleteFileW(from.c_str());
        return false;
    }
    // The old file steps aside under a backup name while the new one takes its place, so that
    // whichever step fails, one of the two is there under the file's name.
    const std::wstring backup = nativePath(temporary + QStringLiteral(".old"));
    const DWORD kept = attributesOf(path) & kKeptAttributes;
    if (ReplaceFileW(to.c_str(), from.c_str(), backup.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        DeleteFileW(backup.c_str());
        // ReplaceFileW carries them over on Windows' own file systems; not every file system does.
        const DWORD now = attributesOf(path);
        if (now != INVALID_FILE_ATTRIBUTES && (now & kept) != kept)
            SetFileAttributesW(to.c_str(), now | kept);
        return true;
    }
    if (GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) // the old file is under the backup name
        MoveFileExW(backup.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    DeleteFileW(from.c_str());
    // Another program holding the file open without letting it be renamed refuses the replacement;
    // the old file is whole under its name, and writing it in place works where it allows writing.
    return QFileInfo::exists(path) && writeInPlace(path, bytes);
}

} // namespace ScriptFile
