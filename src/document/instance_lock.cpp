#include "document/instance_lock.h"

#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Whether the open file is still the one the path names: another process
// may have removed the file (and made a new one) between opening and locking.
bool stillNamed(int fd, const QByteArray& path)
{
    struct stat opened;
    struct stat named;
    return ::fstat(fd, &opened) == 0 && ::lstat(path.constData(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

} // namespace

std::unique_ptr<CInstanceLock> CInstanceLock::tryLock(const QString& path, bool create)
{
    const QByteArray name = QFile::encodeName(path);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int flags = O_RDWR | O_CLOEXEC | O_NOFOLLOW | (create ? O_CREAT : 0);
        const int fd = ::open(name.constData(), flags, 0600);
        if (fd < 0)
            return nullptr;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            return nullptr;
        }
        if (stillNamed(fd, name))
            return std::unique_ptr<CInstanceLock>(new CInstanceLock(path, fd));
        ::close(fd);
        if (!create)
            return nullptr;
    }
    return nullptr;
}

CInstanceLock::~CInstanceLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void CInstanceLock::writeNote(const QByteArray& note)
{
    if (::ftruncate(m_fd, 0) != 0)
        return;
    [[maybe_unused]] const ssize_t written = ::pwrite(m_fd, note.constData(), note.size(), 0);
}

void CInstanceLock::removeFile()
{
    ::unlink(QFile::encodeName(m_path).constData());
}
