#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

// What a document knows of its file on disk, to tell that another program has
// changed it, replaced it by a symbolic link or removed it since the document
// read or wrote it.
struct DiskState
{
    bool exists = false;
    bool symbolicLink = false; // the document's path itself is a link
    QByteArray linkTarget;     // where that link points
    dev_t device = 0;
    ino_t inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;

    // The state of the file at `path` now; a link is followed to its file.
    static DiskState of(const QString& path);

    bool operator==(const DiskState&) const = default;
};

enum class DiskChange {
    None,
    Changed,        // other bytes, or another file under the same name
    Removed,        // no file under the name any more
    ReplacedByLink, // the name was a file and is now a symbolic link
};

// How the file changed from `known` to `now`. Nothing is a change for a file
// that did not exist when it was known (a document never saved there).
DiskChange diskChange(const DiskState& known, const DiskState& now);
