#pragma once

#include <QByteArray>
#include <QString>

// Writing a file over itself, for files that cannot be replaced by a new one
// (a file with several hard links, whose other names must see the new text;
// a writable file in a folder that may not be written). The file's old bytes
// are first kept in the user's cache folder; then the new bytes are written
// in place. When the write fails, the old bytes are written back and the
// copy is removed; if even that fails, the copy stays and the reason names
// it. The copy is removed once the write has succeeded.
namespace InPlaceWrite {

// Where the old bytes are kept while a file is written in place.
QString backupFolder();

// Writes bytes over the regular file at path, which must exist and be
// writable. Returns false with the reason (Japanese text) on failure; the
// file then holds its old bytes, or the reason names where they are kept.
bool write(const QString& path, const QByteArray& bytes, QString& reason);

} // namespace InPlaceWrite
