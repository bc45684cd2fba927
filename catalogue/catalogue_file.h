#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>

// Catalogue data files: Windows-1251 text, one palette label per line, taken unchanged.
namespace CatalogueFile {

// The labels a file's bytes hold. Lines end with CR LF, LF alone or CR alone; an empty line is an
// empty label; a line break at the very end adds no label; a NUL byte ends the labels.
QStringList labels(QByteArrayView bytes);

// The labels of the file at path, or nothing when the file cannot be opened.
std::optional<QStringList> read(const QString &path);

} // namespace CatalogueFile
