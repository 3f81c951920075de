#pragma once

#include "document/instance_lock.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// The folder of recovery copies, shared by every instance of the user, and
// one instance's files in it.
//
// Each instance has an id (32 hexadecimal digits) and names its files after
// it: "<id>.lock", held locked as long as the instance runs, and one
// "<id>-<n>.copy" per document with unsaved changes. A copy is written to
// "<id>-<n>.copy.tmp", flushed to disk and renamed over the copy, so a copy
// on disk is always whole. Copies whose lock can be taken belong to an
// instance that no longer runs; a running instance's copies are never taken.
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
    QString copyFile(int serial) const;

    // Makes the folder (mode 0700, owned by the user) and locks this
    // instance's lock file; does nothing once it has succeeded.
    bool prepare(QString* error);
    // Writes the copy of document `serial`, given as pieces written one
    // after the other, atomically (mode 0600), preparing the folder first
    // when needed.
    bool write(int serial, const QByteArrayList& parts, QString* error);

    // A write of one copy under way: the bytes go to its temporary file, and
    // commit() puts that in place of the copy. Destroyed before a commit, it
    // removes the temporary file and the copy on disk stays as it was.
    class Writer
    {
    public:
        ~Writer();
        Writer(const Writer&) = delete;
        Writer& operator=(const Writer&) = delete;

        bool append(QByteArrayView bytes, QString* error);
        // Flushes the file to disk and renames it over the copy.
        bool commit(QString* error);

    private:
        friend class CRecoveryFolder;
        Writer(CRecoveryFolder* folder, int serial, int fd);
        void close();
        CRecoveryFolder* m_folder;
        int m_serial;
        int m_fd;
    };
    // Starts writing the copy of document `serial` (as write() does); null
    // with `error` set when the file cannot be made.
    std::unique_ptr<Writer> beginWrite(int serial, QString* error);
    void remove(int serial);
    // Removes every file of this instance, the lock file last (a normal end).
    void removeAll();

    // The copies of one instance that no longer runs, claimed: no other
    // instance can take them while this object holds their lock.
    class Leftover
    {
    public:
        QString instance() const { return m_instance; }
        QStringList copies() const { return m_copies; }
        // Removes the copies and the lock file.
        void discard();
        // Lets the claim go; the copies stay for a later start.
        void release() { m_lock.reset(); }

    private:
        friend class CRecoveryFolder;
        QString m_instance;
        QStringList m_copies; // full paths, in name order
        std::unique_ptr<CInstanceLock> m_lock;
    };
    // Claims the copies of every instance but `ownInstance` that no longer
    // runs. Unfinished writes of those instances are removed, and so is the
    // lock of one that left no copies.
    static std::vector<Leftover> claimLeftovers(const QString& path, const QString& ownInstance);

private:
    QString m_path;
    QString m_instance;
    std::unique_ptr<CInstanceLock> m_lock;
};
