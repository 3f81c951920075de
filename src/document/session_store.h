#pragma once

#include <QList>
#include <QString>

// The files that were open when Marquill last quit, in the section
// "Session" of the settings store: "Count", then for n from 1 "File<n>" (the
// full path), "Caret<n>" (the caret's byte position) and "Top<n>" (the
// document line shown at the top), and "Active", the number of the file
// whose window was active (0: none).
namespace SessionStore {

struct Entry
{
    QString path;
    qint64 caret = 0;
    qint64 topLine = 0;
};

struct Session
{
    QList<Entry> entries;
    int active = -1; // index into entries, -1 for none
};

// At most this many files are kept; a larger stored count is cut to it.
constexpr int kMaxEntries = 500;

// The stored session: entries without a path are left out, negative
// positions read as 0, an active number that names no entry as none.
Session read();
// Stores the session with one write, removing what a longer one stored.
bool write(const Session& session);
// Removes a stored session; writes nothing when there is none.
void clear();

} // namespace SessionStore
