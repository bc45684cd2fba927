#include "app/remembered.h"

#include <QSettings>

// QSettings() is the file that the organization and application names set at start-up name:
// orl/Orl.conf in the user's configuration folder.
namespace Remembered {
namespace {

const QString kLastFolder = QStringLiteral("files/lastFolder");
const QString kRecentFiles = QStringLiteral("files/recent");
const QString kGeometry = QStringLiteral("mainWindow/geometry");

} // namespace

QString lastFolder()
{
    return QSettings().value(kLastFolder).toString();
}

void setLastFolder(const QString &folder)
{
    QSettings().setValue(kLastFolder, folder);
}

QStringList recentFiles()
{
    QStringList files = QSettings().value(kRecentFiles).toStringList();
    files.removeDuplicates();
    return files.mid(0, kRecentFileCount);
}

void addRecentFile(const QString &path)
{
    QStringList files = recentFiles();
    files.removeAll(path);
    files.prepend(path);
    QSettings().setValue(kRecentFiles, files.mid(0, kRecentFileCount));
}

void removeRecentFile(const QString &path)
{
    QStringList files = recentFiles();
    files.removeAll(path);
    QSettings().setValue(kRecentFiles, files);
}

QByteArray mainWindowGeometry()
{
    return QSettings().value(kGeometry).toByteArray();
}

void setMainWindowGeometry(const QByteArray &geometry)
{
    QSettings().setValue(kGeometry, geometry);
}

} // namespace Remembered
