#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Whole-file reads and writes of script files.
namespace ScriptFile {

// Files larger than this are refused with a message rather than exhausting memory.
inline constexpr qint64 kMaxFileSize = qint64(1) << 30;
// How much a file may grow between the look at its size and the end of its reading; one that
// keeps growing beyond that is refused rather than read without end.
inline constexpr qint64 kGrowthAllowance = qint64(1) << 20;

enum class ReadError { None, CannotOpen, TooLarge, Cancelled };

// What a look at a path found: whether it can be read as a script file, and its size then.
struct Check {
    ReadError error = ReadError::None;
    qint64 size = 0;
};

// Looks at the path without reading it. Only a regular file that the process may open passes: a
// folder, FIFO, socket or device is refused without being opened, so that nothing waits for a
// writer or reads without end.
Check check(const QString &path);

// Told how far a read has come; asked whether to stop.
using Progress = std::function<void(qint64 done, qint64 total)>;
using Cancelled = std::function<bool()>;

// Reads the whole file, in pieces when progress or cancelled is given, on the terms of check().
ReadError read(const QString &path, QByteArray *bytes, const Progress &progress = {},
               const Cancelled &cancelled = {});

// Writes the new text beside the target and renames it over the target, so a failure at any step
// leaves the old file as it was; the new file keeps the old one's mode, and its owner where the
// process may. A file whose mode forbids writing, and anything but a regular file, is refused,
// whoever runs the program. A file with several hard links, or one in a folder that cannot hold
// the new text beside it, is written in place (writeInPlace) so that it stays the same file.
// A symbolic link stays a link: the file it points to is written.
// On Windows (script_file_windows.cpp) the replacement is ReplaceFileW's, which keeps the old
// file's attributes and ACL, and the read-only attribute refuses the write.
bool write(const QString &path, const QByteArray &bytes);

// How an in-place write makes sure of the room for the whole new text before the first old byte
// changes: by reserving the file system's blocks, or by writing the new text after the old end
// first (where the file system reserves nothing, which Reserve falls back to by itself).
enum class Room { Reserve, AfterTheEnd };

// Overwrites an existing regular file with the text, keeping its inode, links, mode and owner.
// A text for which no room can be had (a full disk, a file-size limit) leaves the old bytes as
// they were; once the room is there, only a failing device, or the program being killed during
// the overwrite itself, can leave a mixture.
bool writeInPlace(const QString &path, const QByteArray &bytes, Room room = Room::Reserve);

} // namespace ScriptFile
