#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Whole-file reads and writes of script files.
namespace ScriptFile {

// Files larger than this are refused with a message rather than exhausting memory.
inline constexpr qint64 kMaxFileSize = qint64(1) << 30;

enum class ReadError { None, CannotOpen, TooLarge, Cancelled };

// Told how far a read has come; asked whether to stop.
using Progress = std::function<void(qint64 done, qint64 total)>;
using Cancelled = std::function<bool()>;

// Reads the whole file, in pieces when progress or cancelled is given.
ReadError read(const QString &path, QByteArray *bytes, const Progress &progress = {},
               const Cancelled &cancelled = {});

// Writes a temporary file beside the target, flushes it and renames it over the target, so a
// failure at any step leaves the old file as it was and no temporary file behind; the new file
// keeps the old one's mode, and its owner where the process may. A file whose mode forbids
// writing is refused, whoever runs the program. A file with several hard links, or one in a folder
// that cannot hold the temporary file, is written in place so that it stays the same file.
// On Windows (script_file_windows.cpp) the replacement keeps the old file's attributes and ACL, and
// the read-only attribute refuses the write.
bool write(const QString &path, const QByteArray &bytes);

} // namespace ScriptFile
