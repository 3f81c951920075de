#pragma once

#include <QByteArray>
#include <QString>

// Writing a file over itself, for files that cannot be replaced by a new one
// (a file with several hard links, whose other names must see the new text;
// a writable file in a folder that may not be written; a file whose owner,
// group, attributes or access control list a new file could not be given).
//
// The file's old bytes are first kept in the user's cache folder, with a note
// beside them naming the file and the digests of the old and the new bytes,
// both flushed to disk before the first byte of the file changes. Then the new
// bytes are written in place. When the write fails, the old bytes are written
// back; once the file holds either the new bytes or its old ones again, the
// copy and its note are removed. A copy left by a write that a crash, a kill
// or a power cut cut short stays with its note for the next start
// (SavingLeftovers), which finds it and offers to put it back.
//
// In the folder: "<name>.<time>.<pid>" holds the old bytes as they were, and
// "<name>.<time>.<pid>.info" the note, one line of JSON. The writer holds a
// lock on the note while it writes, so that another start never takes a copy
// whose write is still under way.
namespace InPlaceWrite {

// Where the old bytes are kept while a file is written in place.
QString backupFolder();

// Writes bytes over the regular file at path, which must exist and be
// writable. Returns false with the reason (Japanese text) on failure; the
// file then holds its old bytes, or the reason names where they are kept.
// The mode bits stay as they were; a write that would drop set-user-ID or
// set-group-ID bits this user cannot set again is refused before anything is
// written.
bool write(const QString& path, const QByteArray& bytes, QString& reason);

// The note's file for a copy.
QString noteFile(const QString& copy);

} // namespace InPlaceWrite
