#include "document/document_file.h"

#include "core/file_names.h"
#include "document/file_errors.h"
#include "document/file_metadata.h"
#include "document/in_place_write.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace DocumentFile {
namespace {

QString cannotWriteMessage(const QString& path, const QString& reason)
{
    return QStringLiteral("%1 へ書き込めません。\n%2").arg(FileNames::display(path), reason);
}

// Memory the system can still give, from /proc/meminfo; -1 when unknown.
qint64 availableMemory()
{
    QFile info(QStringLiteral("/proc/meminfo"));
    if (!info.open(QIODevice::ReadOnly))
        return -1;
    qint64 total = -1;
    for (const QByteArray& line : info.readAll().split('\n')) {
        if (line.startsWith("MemAvailable:") || line.startsWith("SwapFree:")) {
            const QList<QByteArray> parts = line.simplified().split(' ');
            if (parts.size() >= 2)
                total = qMax<qint64>(total, 0) + parts.at(1).toLongLong() * 1024;
        }
    }
    return total;
}

// The file a save really writes: symbolic links followed to the file they
// name (which may not exist yet), so that a link stays a link.
QString finalTarget(const QString& path)
{
    QString target = QDir::isAbsolutePath(path) ? path : QDir::current().absoluteFilePath(path);
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st;
        if (::lstat(FileNames::encode(target).constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            break;
        QByteArray link(PATH_MAX, Qt::Uninitialized);
        const ssize_t length =
            ::readlink(FileNames::encode(target).constData(), link.data(), size_t(link.size()));
        if (length <= 0)
            break;
        link.truncate(length);
        const QString next = FileNames::decode(link);
        target = QDir::isAbsolutePath(next)
                     ? next
                     : target.left(target.lastIndexOf(QLatin1Char('/')) + 1) + next;
    }
    return target;
}

QString folderOf(const QString& file)
{
    const qsizetype slash = file.lastIndexOf(QLatin1Char('/'));
    return slash <= 0 ? QStringLiteral("/") : file.left(slash);
}

bool mayWrite(const QString& path)
{
    return ::access(FileNames::encode(path).constData(), W_OK) == 0;
}

// Checks what can be checked before anything is written. Returns an empty
// string when the save may go ahead.
QString saveObstacle(const QString& target)
{
    struct stat folder;
    if (::stat(FileNames::encode(folderOf(target)).constData(), &folder) != 0 ||
        !S_ISDIR(folder.st_mode))
        return QStringLiteral("保存先のフォルダが見つかりません。");
    struct stat st;
    if (::stat(FileNames::encode(target).constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return QStringLiteral("同じ名前のフォルダがあります。");
        if (!S_ISREG(st.st_mode))
            return QStringLiteral("通常のファイルではありません。");
        if (!mayWrite(target))
            return QStringLiteral("読み取り専用のファイルです。");
        return QString();
    }
    if (!mayWrite(folderOf(target)))
        return QStringLiteral("フォルダへのアクセスが拒否されました。");
    return QString();
}

// The reason for a save that failed after the checks had passed; `error` is
// the errno value of the failed call.
QString saveFailure(const QString& target, int error)
{
    const QString obstacle = saveObstacle(target);
    if (!obstacle.isEmpty())
        return obstacle;
    return FileErrors::reasonFor(error != 0 ? error : EIO);
}

// A file written in place rather than replaced: one with other hard links
// (which must see the new text) or one whose folder may not be written.
bool writesInPlace(const struct stat& target, const QString& path)
{
    return target.st_nlink > 1 || !mayWrite(folderOf(path));
}

int writeAll(int fd, const QByteArray& bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        done += n;
    }
    return 0;
}

// A new file beside the target, removed again unless it is renamed over the
// target.
class TemporaryFile
{
public:
    ~TemporaryFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_name.isEmpty())
            ::unlink(m_name.constData());
    }

    // Mode 0600 while it stands in for a file whose mode is given later;
    // otherwise the mode a new file gets.
    int create(const QString& target, bool replacing)
    {
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QByteArray name =
                FileNames::encode(target) + '.' +
                QByteArray::number(QRandomGenerator::global()->bounded(0x1000000), 36);
            m_fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                          replacing ? 0600 : 0666);
            if (m_fd >= 0) {
                m_name = name;
                return 0;
            }
            if (errno != EEXIST)
                return errno;
        }
        return EEXIST;
    }
    int fd() const { return m_fd; }

    // Flushes the file to disk and renames it over the target.
    int commit(const QString& target)
    {
        if (::fsync(m_fd) != 0 || ::close(m_fd) != 0) {
            m_fd = -1;
            return errno;
        }
        m_fd = -1;
        if (::rename(m_name.constData(), FileNames::encode(target).constData()) != 0)
            return errno;
        m_name.clear();
        const int folder = ::open(FileNames::encode(folderOf(target)).constData(),
                                  O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            ::fsync(folder);
            ::close(folder);
        }
        return 0;
    }

private:
    QByteArray m_name;
    int m_fd = -1;
};

// The metadata of the file a save replaces.
bool readMetadata(const QString& target, FileMetadata::Metadata& metadata, int& error)
{
    const QByteArray name = FileNames::encode(target);
    int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        fd = ::open(name.constData(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        error = errno;
        return false;
    }
    const bool ok = FileMetadata::read(fd, metadata, error);
    ::close(fd);
    return ok;
}

bool inPlace(const QString& path, const QString& target, const QByteArray& bytes,
             QString& errorMessage)
{
    QString reason;
    if (!InPlaceWrite::write(target, bytes, reason)) {
        errorMessage = cannotWriteMessage(path, reason);
        return false;
    }
    return true;
}

// Writes a new file and renames it over the target, the target's metadata
// given to it first. A file that cannot be given all of it is written in place
// instead.
bool replaceFile(const QString& path, const QString& target, bool exists, const QByteArray& bytes,
                 QString& errorMessage)
{
    FileMetadata::Metadata metadata;
    int error = 0;
    if (exists && !readMetadata(target, metadata, error)) {
        errorMessage = cannotWriteMessage(path, saveFailure(target, error));
        return false;
    }
    TemporaryFile file;
    error = file.create(target, exists);
    if (error != 0) {
        errorMessage = cannotWriteMessage(path, saveFailure(target, error));
        return false;
    }
    QString lost;
    if (exists && !FileMetadata::applyBeforeWriting(file.fd(), metadata, lost))
        return inPlace(path, target, bytes, errorMessage);
    error = writeAll(file.fd(), bytes);
    if (error == 0 && exists && !FileMetadata::applyAfterWriting(file.fd(), metadata, lost))
        return inPlace(path, target, bytes, errorMessage);
    if (error == 0)
        error = file.commit(target);
    if (error != 0) {
        errorMessage = cannotWriteMessage(path, saveFailure(target, error));
        return false;
    }
    return true;
}

bool readAll(QFile& file, qint64 expected, QByteArray& bytes, QString& reason)
{
    bytes = QByteArray(expected, Qt::Uninitialized);
    qint64 done = 0;
    while (done < expected) {
        const qint64 got = file.read(bytes.data() + done, expected - done);
        if (got < 0) {
            reason =
                QStringLiteral("読み込み中にエラーが発生しました (%1)。").arg(file.errorString());
            return false;
        }
        if (got == 0)
            break; // the file became shorter: keep what was read
        done += got;
    }
    bytes.truncate(done);
    return true;
}

} // namespace

QString missingFileMessage(const QString& path)
{
    return QStringLiteral("%1\nこのﾌｧｲﾙが見つかりません。\n"
                          "正しいﾃﾞｨﾚｸﾄﾘとﾌｧｲﾙ名を確認して入力してください。")
        .arg(FileNames::display(path));
}

QString cannotReadMessage(const QString& path, const QString& reason)
{
    return QStringLiteral("%1 を読み込めません。\n%2").arg(FileNames::display(path), reason);
}

QString outOfMemoryReason()
{
    return QStringLiteral("メモリが不足しています。");
}

// The text, the control's copy and its styles need about three times the
// file's size.
QString sizeObstacle(qint64 size)
{
    if (size > kMaxTextBytes)
        return QStringLiteral("ファイルが大きすぎます (%1 バイト)。開けるのは %2 バイトまでです。")
            .arg(size)
            .arg(kMaxTextBytes);
    const qint64 available = availableMemory();
    if (available >= 0 && size > available / 3)
        return outOfMemoryReason();
    return QString();
}

bool openForReading(const QString& path, QFile& file, QString& errorMessage)
{
    const QByteArray name = FileNames::encode(path);
    struct stat st;
    if (::stat(name.constData(), &st) != 0) {
        errorMessage = errno == ENOENT || errno == ENOTDIR
                           ? missingFileMessage(path)
                           : cannotReadMessage(path, FileErrors::reasonFor(errno));
        return false;
    }
    // Directories, pipes and devices are refused: a pipe would block forever.
    if (!S_ISREG(st.st_mode)) {
        errorMessage = cannotReadMessage(path, QStringLiteral("通常のファイルではありません。"));
        return false;
    }
    // Opened by its bytes: a name that is not UTF-8 reaches the file too.
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        errorMessage = cannotReadMessage(path, FileErrors::reasonFor(errno));
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        errorMessage = cannotReadMessage(
            path, QStringLiteral("エラーが発生しました (%1)。").arg(file.errorString()));
        return false;
    }
    const QString obstacle = sizeObstacle(file.size());
    if (!obstacle.isEmpty()) {
        errorMessage = cannotReadMessage(path, obstacle);
        return false;
    }
    return true;
}

bool readBytes(const QString& path, QByteArray& bytes, QString& errorMessage)
{
    QFile file;
    if (!openForReading(path, file, errorMessage))
        return false;
    QString reason;
    try {
        if (readAll(file, file.size(), bytes, reason))
            return true;
    } catch (const std::bad_alloc&) {
        bytes = QByteArray();
        reason = outOfMemoryReason();
    }
    errorMessage = cannotReadMessage(path, reason);
    return false;
}

bool read(const QString& path, Text& text, QString& errorMessage)
{
    QByteArray bytes;
    if (!readBytes(path, bytes, errorMessage))
        return false;
    try {
        Text decoded = TextDecoding::decode(bytes);
        if (decoded.bytes.size() > kMaxTextBytes) {
            errorMessage = cannotReadMessage(path, sizeObstacle(decoded.bytes.size()));
            return false;
        }
        text = std::move(decoded);
        return true;
    } catch (const std::bad_alloc&) {
        errorMessage = cannotReadMessage(path, outOfMemoryReason());
        return false;
    }
}

bool write(const QString& path, const QByteArray& text, const QString& encoding,
           QString& errorMessage)
{
    QByteArray bytes;
    QString badCharacter;
    if (!TextDecoding::encode(text, encoding, bytes, badCharacter)) {
        errorMessage =
            badCharacter.isEmpty()
                ? cannotWriteMessage(
                      path, QStringLiteral("文字コード %1 で保存できません。").arg(encoding))
                : cannotWriteMessage(path,
                                     QStringLiteral("%1 は文字コード %2 で保存できない文字です。\n"
                                                    "この文字を置き換えてから保存してください。")
                                         .arg(badCharacter, encoding));
        return false;
    }
    return writeBytes(path, bytes, errorMessage);
}

bool writeBytes(const QString& path, const QByteArray& bytes, QString& errorMessage)
{
    const QString target = finalTarget(path);
    const QString obstacle = saveObstacle(target);
    if (!obstacle.isEmpty()) {
        errorMessage = cannotWriteMessage(path, obstacle);
        return false;
    }
    struct stat st;
    const bool exists = ::stat(FileNames::encode(target).constData(), &st) == 0;
    if (exists && writesInPlace(st, target))
        return inPlace(path, target, bytes, errorMessage);
    return replaceFile(path, target, exists, bytes, errorMessage);
}

} // namespace DocumentFile
