#pragma once

#include <QString>
#include <QStringList>

// The recent-file list: up to nine full paths, the most recent first, kept in
// the settings store under "Recent File List" as "File1" to "File9". The
// list in memory is the working copy; readList() and writeList() load and
// store it. The program's own list writes itself through (setWritesThrough):
// every change is in the settings file at once, so that a crash loses none.
class CRecentFileList
{
public:
    static constexpr int kMaxEntries = 9;

    // Puts `path` on top; an equal entry (compared exactly, as file names
    // are on Linux) moves up instead of appearing twice. The tenth entry
    // falls off. An empty path is ignored.
    void add(const QString& path);
    // Removes the entry at `index` (0 is the most recent); out of range does nothing.
    void remove(int index);
    void clear();
    // Replaces the whole list (at most kMaxEntries, the most recent first)
    // as one change.
    void setEntries(const QStringList& mostRecentFirst);

    // Whether every change is written to the settings store at once; a
    // change that leaves the list as it was writes nothing.
    void setWritesThrough(bool on) { m_writesThrough = on; }

    const QStringList& entries() const { return m_entries; }
    int count() const { return int(m_entries.size()); }
    bool isEmpty() const { return m_entries.isEmpty(); }

    // Loads "File1".."File9", skipping empty and repeated values.
    void readList();
    // Stores the entries as "File1".."FileN" and removes the values beyond N.
    void writeList() const;

    // How entry `index` is shown in the menu: a file lying directly in
    // `currentFolder` by its file name alone, every other file by its full
    // path (never shortened). Empty when `index` is out of range.
    QString displayName(int index, const QString& currentFolder) const;
    // The menu caption "&1 name" (numbered from 1) with every "&" of the name
    // doubled so that it is not taken for a mnemonic.
    QString menuCaption(int index, const QString& currentFolder) const;

    // The most recent file's folder: its path cut before the last "/" ("/"
    // for a file in the root folder); empty when the list is empty.
    QString folderOfMostRecentFile() const;

    // When the option "DefaultFolder" (section "Options", default 1) is
    // non-zero, makes the most recent file's folder the process's current
    // folder, so the file dialogs start where the user last worked. An empty
    // list or a missing folder leaves the current folder alone. Returns
    // whether the current folder was changed.
    bool setWorkingFolderToLastUsed() const;

private:
    // Writes the list when it writes through and differs from `before`.
    void changedFrom(const QStringList& before) const;

    QStringList m_entries;
    bool m_writesThrough = false;
};
