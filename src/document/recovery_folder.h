#pragma once

#include "document/instance_lock.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// The folder of recovery journals, shared by every instance of the user,
// and one instance's files in it.
//
// Each instance has an id (32 hexadecimal digits) and names its files after
// it: "<id>.lock", held locked as long as the instance runs, "<id>-<n>.journal"
// per document with unsaved changes and "<id>-<n>-<k>.base" for a journal's
// compacted copy (CJournalWriter writes them, through ".tmp" files renamed
// into place). Files whose lock can be taken belong to an instance that no
// longer runs; a running instance's files are never taken. "<id>-<n>.copy"
// files, the whole copies an earlier version kept, are still claimed and
// offered.
//
// No function here shows anything; failures come back as a message.
class CRecoveryFolder
{
public:
    // "$XDG_STATE_HOME/Marquill/recovery" ("~/.local/state" when the
    // variable is unset or not an absolute path).
    static QString defaultPath();
    // A fresh instance id.
    static QString newInstanceId();
    // The machine's current boot (empty where the system does not tell).
    static QString bootId();

    CRecoveryFolder(const QString& path, const QString& instance);
    // Drops the lock; the files stay.
    ~CRecoveryFolder();

    QString path() const { return m_path; }
    QString instance() const { return m_instance; }

    // Makes the folder (mode 0700, owned by the user) and locks this
    // instance's lock file; does nothing once it has succeeded.
    bool prepare(QString* error);
    // Removes every file of this instance, the lock file last (a normal end).
    void removeAll();

    // The files of one instance that no longer runs, claimed: no other
    // instance can take them while this object holds their lock.
    class Leftover
    {
    public:
        QString instance() const { return m_instance; }
        QStringList journals() const { return m_journals; }
        QStringList copies() const { return m_copies; }
        // Leaves `file` where it is when the rest is discarded.
        void keep(const QString& file);
        // Removes the journals, their compacted copies, the copies and the
        // lock file.
        void discard();
        // Lets the claim go; the files stay for a later start.
        void release() { m_lock.reset(); }

    private:
        friend class CRecoveryFolder;
        QString m_instance;
        QStringList m_journals; // full paths, in name order
        QStringList m_copies;
        QStringList m_bases;
        std::unique_ptr<CInstanceLock> m_lock;
    };
    // Claims the files of every instance but `ownInstance` that no longer
    // runs. Unfinished writes of those instances are removed, and so is the
    // lock of one that left no journal and no copy.
    static std::vector<Leftover> claimLeftovers(const QString& path, const QString& ownInstance);

private:
    QString m_path;
    QString m_instance;
    std::unique_ptr<CInstanceLock> m_lock;
};
