#pragma once

#include <QString>
#include <QStringList>

// Where the palettes' Dat/ folder is looked for: wherever Orl is started from, it finds its data.
namespace DataFolder {

// The folders that may hold Dat/, in the order they are tried: the working directory (as an empty
// string, so that paths stay relative to it), the executable's folder, and except on Windows, where
// Dat/ is installed beside orl.exe, the installed data folder found from the executable's place and
// the installed data folder named when the program was built.
QStringList searchOrder();

// Replaces the search order, for programs started against folders of their own; empty restores it.
void overrideSearchOrder(const QStringList &folders);

// The first of the folders that holds a Dat/ folder; the first folder itself when none does, so
// that the missing file is reported where it was first looked for.
QString firstHoldingDat(const QStringList &folders);

// The path of a data file ("Dat/On.orl") inside a folder found above.
QString filePath(const QString &folder, const QString &dataFile);

} // namespace DataFolder
