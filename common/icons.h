#pragma once

#include <QIcon>

// The pictures of ImageList1, by image index: the desktop's icon theme where it has them,
// otherwise Orl's own pictures of the same meaning.
QIcon imageListIcon(int index);

// Orl's application icon, for the main window and the editor windows.
QIcon applicationIcon();
