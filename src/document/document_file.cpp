#include "document/document_file.h"

#include "document/file_errors.h"
#include "document/in_place_write.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace DocumentFile {
namespace {

QString cannotWriteMessage(const QString& path, const QString& reason)
{
    return QStringLiteral("%1 へ書き込めません。\n%2").arg(path, reason);
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

// Why a file of this size cannot be opened; empty when it can. The text,
// the control's copy and its styles need about three times the file's size.
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

// The file a save really writes: symbolic links followed, the way QSaveFile
// follows them.
QFileInfo finalTarget(const QString& path)
{
    QFileInfo info(path);
    for (int depth = 0; depth < 128 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info;
}

// A file written in place rather than replaced: one with other hard links
// (which must see the new text) or one whose folder may not be written.
bool writesInPlace(const QFileInfo& target)
{
    if (!target.exists())
        return false;
    struct stat st;
    if (::stat(QFile::encodeName(target.absoluteFilePath()).constData(), &st) == 0 &&
        st.st_nlink > 1)
        return true;
    return !QFileInfo(target.absolutePath()).isWritable();
}

// Checks what can be checked before anything is written. Returns an empty
// string when the save may go ahead.
QString saveObstacle(const QFileInfo& target)
{
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir())
        return QStringLiteral("保存先のフォルダが見つかりません。");
    if (target.exists()) {
        if (target.isDir())
            return QStringLiteral("同じ名前のフォルダがあります。");
        if (!target.isFile())
            return QStringLiteral("通常のファイルではありません。");
        if (!target.isWritable())
            return QStringLiteral("読み取り専用のファイルです。");
        return QString();
    }
    if (!folder.isWritable())
        return QStringLiteral("フォルダへのアクセスが拒否されました。");
    return QString();
}

// The reason for a save that failed after the checks had passed; `error` is
// the errno value of the failed call.
QString saveFailure(const QFileInfo& target, const QSaveFile& file, int error)
{
    const QString obstacle = saveObstacle(QFileInfo(target.absoluteFilePath()));
    if (!obstacle.isEmpty())
        return obstacle;
    if (error != 0)
        return FileErrors::reasonFor(error);
    if (file.error() == QFileDevice::ResourceError)
        return QStringLiteral("ディスクの空き容量が不足しています。");
    return QStringLiteral("エラーが発生しました (%1)。").arg(file.errorString());
}

// Gives the new file the owner, group and mode bits of the one it replaces,
// where the system allows it (QSaveFile keeps only the permission bits, not
// set-group-ID or sticky).
void keepOwnerAndMode(const QFileInfo& target, const QSaveFile& file)
{
    struct stat original;
    if (::stat(QFile::encodeName(target.absoluteFilePath()).constData(), &original) != 0)
        return;
    const int fd = file.handle();
    struct stat current;
    if (fd < 0 || ::fstat(fd, &current) != 0)
        return;
    if (current.st_uid != original.st_uid || current.st_gid != original.st_gid) {
        if (::fchown(fd, original.st_uid, original.st_gid) != 0) {
            // Another user's file saved by a user who may not give it away:
            // keeping the group alone is still worth trying.
            [[maybe_unused]] const int ignored =
                ::fchown(fd, static_cast<uid_t>(-1), original.st_gid);
        }
    }
    // Changing the owner may clear mode bits; set them all in any case.
    ::fchmod(fd, original.st_mode & 07777);
}

bool replaceFile(const QString& path, const QFileInfo& target, const QByteArray& bytes,
                 QString& errorMessage)
{
    // Unbuffered, so that errno still tells why a write failed.
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        errorMessage = cannotWriteMessage(path, saveFailure(target, file, errno));
        return false;
    }
    if (target.exists())
        keepOwnerAndMode(target, file);
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        errorMessage = cannotWriteMessage(path, saveFailure(target, file, errno));
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
        .arg(path);
}

QString cannotReadMessage(const QString& path, const QString& reason)
{
    return QStringLiteral("%1 を読み込めません。\n%2").arg(path, reason);
}

QString outOfMemoryReason()
{
    return QStringLiteral("メモリが不足しています。");
}

bool openForReading(const QString& path, QFile& file, QString& errorMessage)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        // A link that leads back to itself is there, but leads nowhere.
        struct stat st;
        const bool loop = ::stat(QFile::encodeName(path).constData(), &st) != 0 && errno == ELOOP;
        errorMessage =
            loop ? cannotReadMessage(path, FileErrors::reasonFor(ELOOP)) : missingFileMessage(path);
        return false;
    }
    // Directories, pipes and devices are refused: a pipe would block forever.
    if (!info.isFile()) {
        errorMessage = cannotReadMessage(path, QStringLiteral("通常のファイルではありません。"));
        return false;
    }
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) {
        errorMessage = cannotReadMessage(
            path, info.isReadable()
                      ? QStringLiteral("エラーが発生しました (%1)。").arg(file.errorString())
                      : QStringLiteral("アクセスが拒否されました。"));
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
    const QFileInfo target = finalTarget(path);
    const QString obstacle = saveObstacle(target);
    if (!obstacle.isEmpty()) {
        errorMessage = cannotWriteMessage(path, obstacle);
        return false;
    }
    if (!writesInPlace(target))
        return replaceFile(path, target, bytes, errorMessage);
    QString reason;
    if (!InPlaceWrite::write(target.absoluteFilePath(), bytes, reason)) {
        errorMessage = cannotWriteMessage(path, reason);
        return false;
    }
    return true;
}

} // namespace DocumentFile
