#pragma once

#include <QIcon>

// The pictures of ImageList1, by image index: the desktop's icon theme where it has them,
// otherwise the style's standard pictures.
QIcon imageListIcon(int index);
