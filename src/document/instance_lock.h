#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

// An exclusive lock on a file, held while the object lives. The system drops
// it when the process ends however it ends (a crash, a kill, a power cut),
// so a lock that can be taken tells that its former holder no longer runs.
class CInstanceLock
{
public:
    // Opens the file (creating it, mode 0600, when `create` is set) and locks
    // it without waiting. Null when another process holds the lock or the
    // file cannot be opened.
    static std::unique_ptr<CInstanceLock> tryLock(const QString& path, bool create);
    ~CInstanceLock();

    CInstanceLock(const CInstanceLock&) = delete;
    CInstanceLock& operator=(const CInstanceLock&) = delete;

    QString path() const { return m_path; }
    // Replaces the file's content (a note for whoever looks into the folder).
    void writeNote(const QByteArray& note);
    // Removes the file while the lock is still held; the lock ends with the object.
    void removeFile();

private:
    CInstanceLock(const QString& path, int fd) : m_path(path), m_fd(fd) {}

    QString m_path;
    int m_fd = -1;
};
