#include "document/in_place_write.h"

#include "document/file_errors.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace InPlaceWrite {
namespace {

constexpr qint64 kChunk = 1 << 20;

// Closes a file descriptor when it goes out of scope.
struct Descriptor
{
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// Writes all of data at offset; returns 0 or the errno value of the failure.
int writeAt(int fd, const char* data, qint64 size, qint64 offset)
{
    while (size > 0) {
        const ssize_t done = ::pwrite(fd, data, static_cast<size_t>(size), offset);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return done < 0 ? errno : EIO;
        data += done;
        size -= done;
        offset += done;
    }
    return 0;
}

// Copies the first `size` bytes of fd into a new file in the backup folder.
// Returns the copy's path, or an empty string with the errno value.
QString keepOldBytes(int fd, qint64 size, const QString& path, int& error)
{
    const QString folder = backupFolder();
    if (!QDir().mkpath(folder)) {
        error = errno ? errno : EACCES;
        return QString();
    }
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString name = QStringLiteral("%1/%2.%3.%4")
                             .arg(folder, QFileInfo(path).fileName())
                             .arg(QDateTime::currentMSecsSinceEpoch())
                             .arg(::getpid());
    const int out =
        ::open(QFile::encodeName(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (out < 0) {
        error = errno;
        return QString();
    }
    Descriptor closer{out};
    QByteArray buffer(qMin(size, kChunk), Qt::Uninitialized);
    error = 0;
    for (qint64 offset = 0; offset < size && error == 0;) {
        const ssize_t got = ::pread(fd, buffer.data(), static_cast<size_t>(buffer.size()), offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            error = got < 0 ? errno : EIO;
            break;
        }
        error = writeAt(out, buffer.constData(), got, offset);
        offset += got;
    }
    if (error == 0 && ::fsync(out) != 0)
        error = errno;
    if (error != 0) {
        QFile::remove(name);
        return QString();
    }
    return name;
}

// Writes bytes over the file from its start and cuts it to their length.
// Room for a longer text is taken first, so that a full disk is found before
// anything is overwritten.
int overwrite(int fd, const QByteArray& bytes, qint64 oldSize)
{
    if (bytes.size() > oldSize) {
        const int reserved = ::posix_fallocate(fd, 0, bytes.size());
        if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL)
            return reserved;
    }
    if (const int error = writeAt(fd, bytes.constData(), bytes.size(), 0))
        return error;
    if (::ftruncate(fd, bytes.size()) != 0 || ::fsync(fd) != 0)
        return errno;
    return 0;
}

// Writes the kept bytes back over the file.
bool restore(int fd, const QString& backup, qint64 oldSize)
{
    QFile copy(backup);
    if (!copy.open(QIODevice::ReadOnly))
        return false;
    for (qint64 offset = 0; offset < oldSize;) {
        const QByteArray piece = copy.read(kChunk);
        if (piece.isEmpty() || writeAt(fd, piece.constData(), piece.size(), offset) != 0)
            return false;
        offset += piece.size();
    }
    return ::ftruncate(fd, oldSize) == 0 && ::fsync(fd) == 0;
}

} // namespace

QString backupFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/Tollbury/Marquill/saving");
}

bool write(const QString& path, const QByteArray& bytes, QString& reason)
{
    Descriptor file{::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC)};
    struct stat before;
    if (file.fd < 0 || ::fstat(file.fd, &before) != 0) {
        reason = FileErrors::reasonFor(errno);
        return false;
    }
    int error = 0;
    const QString backup = keepOldBytes(file.fd, before.st_size, path, error);
    if (backup.isEmpty()) {
        reason = QStringLiteral("元の内容をキャッシュフォルダ (%1) に退避できないため、書き込みを"
                                "中止しました。\n%2")
                     .arg(backupFolder(), FileErrors::reasonFor(error));
        return false;
    }
    error = overwrite(file.fd, bytes, before.st_size);
    if (error != 0) {
        reason = FileErrors::reasonFor(error);
        if (restore(file.fd, backup, before.st_size))
            QFile::remove(backup);
        else
            reason += QStringLiteral("\n元の内容は %1 に残してあります。").arg(backup);
        return false;
    }
    // Writing clears the set-user-ID and set-group-ID bits; the file keeps them.
    struct stat after;
    if (::fstat(file.fd, &after) == 0 && (after.st_mode & 07777) != (before.st_mode & 07777))
        ::fchmod(file.fd, before.st_mode & 07777);
    QFile::remove(backup);
    return true;
}

} // namespace InPlaceWrite
