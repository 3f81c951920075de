#include "document/in_place_write.h"

#include "core/file_names.h"
#include "document/content_digest.h"
#include "document/file_errors.h"
#include "document/file_metadata.h"

#include <QDateTime>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
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

void syncFolder(const QString& folder)
{
    Descriptor dir{
        ::open(FileNames::encode(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (dir.fd >= 0)
        ::fsync(dir.fd);
}

// The folder for the copies, made when missing and kept to the user alone.
bool prepareFolder(int& error)
{
    const QString folder = backupFolder();
    if (!QDir().mkpath(folder)) {
        error = errno ? errno : EACCES;
        return false;
    }
    ::chmod(FileNames::encode(folder).constData(), 0700);
    return true;
}

// Makes the file for the old bytes, locked until `copy` goes: a copy without
// a note whose lock can be taken was left by a writer that ended before it
// touched the file. Returns 0 or the errno value of the failure.
int createCopy(const QString& name, Descriptor& copy)
{
    copy.fd = ::open(FileNames::encode(name).constData(),
                     O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (copy.fd < 0)
        return errno;
    return ::flock(copy.fd, LOCK_EX | LOCK_NB) == 0 ? 0 : errno;
}

// Copies the first `size` bytes of fd into the copy `out`, flushed to disk;
// adds them to `digest`. Returns 0 or the errno value of the failure.
int keepOldBytes(int fd, qint64 size, const Descriptor& out, CContentDigest& digest)
{
    QByteArray buffer(qMin(size, kChunk), Qt::Uninitialized);
    for (qint64 offset = 0; offset < size;) {
        const ssize_t got = ::pread(fd, buffer.data(), static_cast<size_t>(buffer.size()), offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got < 0 ? errno : EIO;
        digest.add(QByteArrayView(buffer.constData(), got));
        if (const int error = writeAt(out.fd, buffer.constData(), got, offset))
            return error;
        offset += got;
    }
    return ::fsync(out.fd) == 0 ? 0 : errno;
}

// The note of a write in place under way: made under a temporary name,
// locked, written and flushed, and only then given its name, so that a note
// under its name is always whole. The lock lasts as long as this object.
class Note
{
public:
    ~Note()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    int create(const QString& file, const QJsonObject& fields)
    {
        const QString temporary = file + QStringLiteral(".tmp");
        m_fd = ::open(FileNames::encode(temporary).constData(),
                      O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (m_fd < 0)
            return errno;
        int error = 0;
        const QByteArray text = QJsonDocument(fields).toJson(QJsonDocument::Compact) + '\n';
        if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0)
            error = errno;
        if (error == 0)
            error = writeAt(m_fd, text.constData(), text.size(), 0);
        if (error == 0 && ::fsync(m_fd) != 0)
            error = errno;
        if (error == 0 && ::rename(FileNames::encode(temporary).constData(),
                                   FileNames::encode(file).constData()) != 0)
            error = errno;
        if (error != 0)
            ::unlink(FileNames::encode(temporary).constData());
        return error;
    }

private:
    int m_fd = -1;
};

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
    Descriptor copy{::open(FileNames::encode(backup).constData(), O_RDONLY | O_CLOEXEC)};
    if (copy.fd < 0)
        return false;
    QByteArray buffer(qMin(oldSize, kChunk), Qt::Uninitialized);
    for (qint64 offset = 0; offset < oldSize;) {
        const ssize_t got = ::pread(copy.fd, buffer.data(), size_t(buffer.size()), offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0 || writeAt(fd, buffer.constData(), got, offset) != 0)
            return false;
        offset += got;
    }
    return ::ftruncate(fd, oldSize) == 0 && ::fsync(fd) == 0;
}

void removeCopy(const QString& copy)
{
    ::unlink(FileNames::encode(copy).constData());
    ::unlink(FileNames::encode(noteFile(copy)).constData());
}

} // namespace

QString backupFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/Tollbury/Marquill/saving");
}

QString noteFile(const QString& copy)
{
    return copy + QStringLiteral(".info");
}

bool write(const QString& path, const QByteArray& bytes, QString& reason)
{
    Descriptor file{::open(FileNames::encode(path).constData(), O_RDWR | O_CLOEXEC)};
    struct stat before;
    FileMetadata::Metadata metadata;
    int error = 0;
    if (file.fd < 0 || ::fstat(file.fd, &before) != 0 ||
        !FileMetadata::read(file.fd, metadata, error)) {
        reason = FileErrors::reasonFor(error ? error : errno);
        return false;
    }
    if (!FileMetadata::canKeepModeAcrossWrite(metadata)) {
        reason = QStringLiteral("書き込むとファイルの set-user-ID / set-group-ID ビットが外れ、"
                                "元に戻せないため、保存しませんでした。");
        return false;
    }
    const QString name = QStringLiteral("%1/%2.%3.%4")
                             .arg(backupFolder(), FileNames::displayFileName(path).left(100))
                             .arg(QDateTime::currentMSecsSinceEpoch())
                             .arg(::getpid());
    CContentDigest oldDigest;
    Note note;
    if (prepareFolder(error)) {
        // The copy stays locked until its note is in place.
        Descriptor copy{-1};
        error = createCopy(name, copy);
        if (error == 0)
            error = keepOldBytes(file.fd, before.st_size, copy, oldDigest);
        if (error == 0) {
            QJsonObject fields;
            fields.insert(QStringLiteral("version"), 1);
            fields.insert(QStringLiteral("file"), FileNames::display(path));
            fields.insert(QStringLiteral("fileBytes"),
                          QString::fromLatin1(FileNames::encode(path).toBase64()));
            fields.insert(QStringLiteral("oldSize"), QString::number(before.st_size));
            fields.insert(QStringLiteral("oldDigest"), QString::fromLatin1(oldDigest.hex()));
            fields.insert(QStringLiteral("newSize"), QString::number(bytes.size()));
            fields.insert(QStringLiteral("newDigest"),
                          QString::fromLatin1(CContentDigest::of(bytes)));
            fields.insert(QStringLiteral("started"),
                          QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
            error = note.create(noteFile(name), fields);
        }
        if (error != 0)
            ::unlink(FileNames::encode(name).constData());
    }
    if (error != 0) {
        reason = QStringLiteral("元の内容をキャッシュフォルダ (%1) に退避できないため、書き込みを"
                                "中止しました。\n%2")
                     .arg(backupFolder(), FileErrors::reasonFor(error));
        return false;
    }
    syncFolder(backupFolder());

    error = overwrite(file.fd, bytes, before.st_size);
    if (error != 0) {
        reason = FileErrors::reasonFor(error);
        if (restore(file.fd, name, before.st_size))
            removeCopy(name);
        else
            reason += QStringLiteral("\n元の内容は %1 に残してあります。").arg(name);
        return false;
    }
    // Writing clears the set-user-ID and set-group-ID bits; the file keeps them.
    struct stat after;
    if (::fstat(file.fd, &after) == 0 && (after.st_mode & 07777) != metadata.mode)
        ::fchmod(file.fd, metadata.mode);
    removeCopy(name);
    return true;
}

} // namespace InPlaceWrite
