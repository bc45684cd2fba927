#include "app/remembered.h"

#include <QSettings>

// One file in the user's configuration folder: orl/Orl.conf.
namespace Remembered {
namespace {

QSettings settings()
{
    return QSettings(QStringLiteral("orl"), QStringLiteral("Orl"));
}

const QString kLastFolder = QStringLiteral("files/lastFolder");
const QString kRecentFiles = QStringLiteral("files/recent");
const QString kGeometry = QStringLiteral("mainWindow/geometry");

} // namespace

QString lastFolder()
{
    return settings().value(kLastFolder).toString();
}

void setLastFolder(const QString &folder)
{
    settings().setValue(kLastFolder, folder);
}

QStringList recentFiles()
{
    QStringList files = settings().value(kRecentFiles).toStringList();
    files.removeDuplicates();
    return files.mid(0, kRecentFileCount);
}

void addRecentFile(const QString &path)
{
    QStringList files = recentFiles();
    files.removeAll(path);
    files.prepend(path);
    settings().setValue(kRecentFiles, files.mid(0, kRecentFileCount));
}

void removeRecentFile(const QString &path)
{
    QStringList files = recentFiles();
    files.removeAll(path);
    settings().setValue(kRecentFiles, files);
}

QByteArray mainWindowGeometry()
{
    return settings().value(kGeometry).toByteArray();
}

void setMainWindowGeometry(const QByteArray &geometry)
{
    settings().setValue(kGeometry, geometry);
}

} // namespace Remembered
