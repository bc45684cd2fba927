#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What Orl keeps between runs, in its one settings file in the user's configuration folder: the
// folder of the last file opened or saved, the recently used files and the main window's place.
namespace Remembered {

// The settings file: orl/Orl.conf in the user's configuration folder, %APPDATA%\orl\Orl.ini on Windows.
QString fileName();

// At most this many files are listed under "Последние файлы".
inline constexpr int kRecentFileCount = 10;

QString lastFolder();
void setLastFolder(const QString &folder);

// Newest first, each path once.
QStringList recentFiles();
// Puts the file first in the list (taking it out further down), keeping the newest ten.
void addRecentFile(const QString &path);
void removeRecentFile(const QString &path);

// Empty until the main window has been closed once.
QByteArray mainWindowGeometry();
void setMainWindowGeometry(const QByteArray &geometry);

} // namespace Remembered
