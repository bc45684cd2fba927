#include "common/icons.h"

#include <QApplication>
#include <QStyle>

namespace {

struct IconSource {
    const char *themeName;
    QStyle::StandardPixmap fallback;
};

// Twenty pictures; the indices are those the toolbar and menus refer to.
constexpr IconSource kImageList[20] = {
    {"document-new", QStyle::SP_FileIcon},                 // 0 new
    {"edit-clear", QStyle::SP_DialogResetButton},          // 1 clear
    {"document-open", QStyle::SP_DialogOpenButton},        // 2 open
    {"window-close", QStyle::SP_DialogCloseButton},        // 3 close
    {"document-save", QStyle::SP_DialogSaveButton},        // 4 save
    {"document-save-as", QStyle::SP_DriveFDIcon},          // 5 save as
    {"edit-find", QStyle::SP_FileDialogContentsView},      // 6 find
    {"application-exit", QStyle::SP_TitleBarCloseButton},  // 7 exit
    {"edit-find-replace", QStyle::SP_BrowserReload},       // 8 replace
    {"window-new", QStyle::SP_TitleBarNormalButton},       // 9 cascade
    {"view-restore", QStyle::SP_TitleBarMinButton},        // 10 arrange icons
    {"view-split-top-bottom", QStyle::SP_ToolBarVerticalExtensionButton},   // 11 tile horizontally
    {"edit-paste", QStyle::SP_DialogApplyButton},          // 12 paste
    {"view-split-left-right", QStyle::SP_ToolBarHorizontalExtensionButton}, // 13 tile vertically
    {"edit-cut", QStyle::SP_TrashIcon},                    // 14
    {"edit-undo", QStyle::SP_ArrowBack},                   // 15
    {"edit-copy", QStyle::SP_FileDialogDetailedView},      // 16 copy
    {"edit-redo", QStyle::SP_ArrowForward},                // 17
    {"format-text-italic", QStyle::SP_MessageBoxInformation}, // 18 comment
    {"help-about", QStyle::SP_MessageBoxQuestion},         // 19
};

} // namespace

QIcon imageListIcon(int index)
{
    if (index < 0 || index >= 20)
        return {};
    const IconSource &source = kImageList[index];
    return QIcon::fromTheme(QString::fromLatin1(source.themeName),
                            QApplication::style()->standardIcon(source.fallback));
}
