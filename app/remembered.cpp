#include "app/remembered.h"

#include <QSettings>

namespace Remembered {
namespace {

const QString kLastFolder = QStringLiteral("files/lastFolder");
const QString kRecentFiles = QStringLiteral("files/recent");
const QString kGeometry = QStringLiteral("mainWindow/geometry");

#ifdef Q_OS_WIN
// A file rather than the registry: it roams with the user's profile and can be read, copied and
// deleted like any file.
constexpr QSettings::Format kFormat = QSettings::IniFormat;
#else
constexpr QSettings::Format kFormat = QSettings::NativeFormat;
#endif

// One file in the user's configuration folder, orl/Orl.conf (on Windows orl\Orl.ini in the roaming
// application data), and no organization-wide or system-wide file read as a fallback. The names are
// fixed here rather than taken from the application's, which is its desktop id.
class Settings : public QSettings {
public:
    Settings() : QSettings(kFormat, QSettings::UserScope, QStringLiteral("orl"), QStringLiteral("Orl"))
    {
        setFallbacksEnabled(false);
    }
};

} // namespace

QString fileName()
{
    return Settings().fileName();
}

QString lastFolder()
{
    return Settings().value(kLastFolder).toString();
}

void setLastFolder(const QString &folder)
{
    Settings().setValue(kLastFolder, folder);
}

QStringList recentFiles()
{
    QStringList files = Settings().value(kRecentFiles).toStringList();
    files.removeDuplicates();
    return files.mid(0, kRecentFileCount);
}

void addRecentFile(const QString &path)
{
    QStringList files = recentFiles();
    files.removeAll(path);
    files.prepend(path);
    Settings().setValue(kRecentFiles, files.mid(0, kRecentFileCount));
}

void removeRecentFile(const QString &path)
{
    QStringList files = recentFiles();
    files.removeAll(path);
    Settings().setValue(kRecentFiles, files);
}

QByteArray mainWindowGeometry()
{
    return Settings().value(kGeometry).toByteArray();
}

void setMainWindowGeometry(const QByteArray &geometry)
{
    Settings().setValue(kGeometry, geometry);
}

} // namespace Remembered
