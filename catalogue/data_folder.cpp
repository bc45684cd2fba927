#include "catalogue/data_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace DataFolder {
namespace {

QStringList &overriddenOrder()
{
    static QStringList folders;
    return folders;
}

QString executableFolder()
{
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
}

} // namespace

QStringList searchOrder()
{
    if (!overriddenOrder().isEmpty())
        return overriddenOrder();
    QStringList folders{QString()};
    const QString executable = executableFolder();
    if (!executable.isEmpty())
        folders.append(executable);
#ifdef ORL_INSTALLED_DATA_DIR
    if (!executable.isEmpty())
        folders.append(QDir::cleanPath(executable + QLatin1Char('/') + QStringLiteral(ORL_DATA_DIR_FROM_BIN)));
    folders.append(QStringLiteral(ORL_INSTALLED_DATA_DIR));
#endif
    // On Windows the installation keeps Dat/ beside orl.exe: the executable's folder is the last one.
    folders.removeDuplicates();
    return folders;
}

void overrideSearchOrder(const QStringList &folders)
{
    overriddenOrder() = folders;
}

QString firstHoldingDat(const QStringList &folders)
{
    for (const QString &folder : folders) {
        if (QFileInfo(filePath(folder, QStringLiteral("Dat"))).isDir())
            return folder;
    }
    return folders.isEmpty() ? QString() : folders.first();
}

QString filePath(const QString &folder, const QString &dataFile)
{
    return folder.isEmpty() ? dataFile : QDir(folder).filePath(dataFile);
}

} // namespace DataFolder
