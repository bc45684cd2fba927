#include "common/icons.h"

#include <QFile>
#include <QImageReader>

namespace {

// Twenty pictures by their freedesktop names, which Orl's own pictures also bear; the indices are
// those the toolbar and menus refer to.
constexpr const char *kImageList[20] = {
    "document-new",          // 0 new
    "edit-clear",            // 1 clear
    "document-open",         // 2 open
    "window-close",          // 3 close
    "document-save",         // 4 save
    "document-save-as",      // 5 save as
    "edit-find",             // 6 find
    "application-exit",      // 7 exit
    "edit-find-replace",     // 8 replace
    "window-cascade",        // 9 cascade
    "window-arrange-icons",  // 10 arrange icons
    "view-split-top-bottom", // 11 tile one above the other
    "edit-paste",            // 12 paste
    "view-split-left-right", // 13 tile side by side
    "edit-cut",              // 14 cut
    "edit-undo",             // 15 undo
    "edit-copy",             // 16 copy
    "edit-redo",             // 17 redo
    "code-comment",          // 18 comment
    "help-about",            // 19 about
};

constexpr const char *kApplicationIconName = "io.github.orl.Orl";

// The SVG picture where the program carries it and the toolkit can draw SVG; otherwise the PNG
// renderings of it at the sizes it comes in (the Windows toolkit has no SVG reader).
QIcon bundledIcon(const QString &name)
{
    const QString svg = QStringLiteral(":/icons/%1.svg").arg(name);
    static const bool drawsSvg = QImageReader::supportedImageFormats().contains("svg");
    if (drawsSvg && QFile::exists(svg))
        return QIcon(svg);
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString png = QStringLiteral(":/icons/png/%1-%2.png").arg(name).arg(size);
        if (QFile::exists(png))
            icon.addFile(png, QSize(size, size));
    }
    return icon;
}

} // namespace

QIcon imageListIcon(int index)
{
    if (index < 0 || index >= 20)
        return {};
    const QString name = QString::fromLatin1(kImageList[index]);
    return QIcon::fromTheme(name, bundledIcon(name));
}

QIcon applicationIcon()
{
    // The installed icon where the desktop's theme has it, else the same picture built into the program.
    const QString name = QString::fromLatin1(kApplicationIconName);
    return QIcon::fromTheme(name, bundledIcon(name));
}
