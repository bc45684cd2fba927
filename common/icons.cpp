#include "common/icons.h"

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

QIcon bundledIcon(const char *name)
{
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
}

} // namespace

QIcon imageListIcon(int index)
{
    if (index < 0 || index >= 20)
        return {};
    const char *name = kImageList[index];
    return QIcon::fromTheme(QString::fromLatin1(name), bundledIcon(name));
}

QIcon applicationIcon()
{
    // The installed icon where the desktop's theme has it, else the same picture built into the program.
    return QIcon::fromTheme(QStringLiteral("io.github.orl.Orl"), QIcon(QStringLiteral(":/icons/io.github.orl.Orl.svg")));
}
