#include "document/document_file.h"

#include "document/file_errors.h"
#include "document/in_place_write.h"
#include "document/text_encoding.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace DocumentFile {
namespace {

const QString kShiftJis = QStringLiteral("Shift_JIS");
const QString kEucJp = QStringLiteral("EUC-JP");
const QString kIso2022Jp = QStringLiteral("ISO-2022-JP");

// Shift_JIS text that is also valid EUC-JP cannot hold hiragana, katakana or
// most everyday kanji (their first bytes are no EUC-JP bytes), so kanji in
// such a reading are most likely EUC-JP half-width katakana read wrongly.
constexpr int kShiftJisKanjiWeight = 1;
constexpr int kEucJpKanjiWeight = 3;

Text converted(const QString& text, const QString& encoding)
{
    return {text.toUtf8(), encoding, false};
}

Text unconvertedText(const QByteArray& bytes)
{
    return {bytes, QString(), !TextEncoding::isValidUtf8(bytes)};
}

// The encoding the file declares, when it reproduces the file; else empty.
QString declaredEncoding(const QByteArray& bytes, QString& text)
{
    const QByteArray declared = TextEncoding::declaredCharset(bytes);
    const QString name = TextEncoding::canonicalName(QString::fromLatin1(declared));
    if (name.isEmpty() || name == QLatin1String(TextEncoding::kUtf8) ||
        name.startsWith(QLatin1String("UTF-")))
        return QString();
    // The declaration must read the same in its own encoding: that rules out
    // encodings in which ASCII does not stay ASCII.
    if (!TextEncoding::decodeExactly(bytes, name, text) ||
        !text.contains(QString::fromLatin1(declared)))
        return QString();
    return name;
}

Text guessJapanese(const QByteArray& bytes)
{
    // Shift_JIS wins a tie.
    QString shiftJis;
    QString eucJp;
    const bool isShiftJis = TextEncoding::decodeExactly(bytes, kShiftJis, shiftJis);
    const bool isEucJp = TextEncoding::decodeExactly(bytes, kEucJp, eucJp);
    if (isShiftJis && (!isEucJp || TextEncoding::japaneseScore(shiftJis, kShiftJisKanjiWeight) >=
                                       TextEncoding::japaneseScore(eucJp, kEucJpKanjiWeight)))
        return converted(shiftJis, kShiftJis);
    if (isEucJp)
        return converted(eucJp, kEucJp);
    return unconvertedText(bytes);
}

// Describes the character at index i of text and its line.
QString describeCharacter(const QString& text, qsizetype i)
{
    char32_t cp = text.at(i).unicode();
    qsizetype length = 1;
    if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
        cp = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
        length = 2;
    }
    return QStringLiteral("「%1」(U+%2、%3 行目)")
        .arg(text.mid(i, length))
        .arg(QString::number(cp, 16).toUpper().rightJustified(4, QLatin1Char('0')))
        .arg(TextEncoding::lineAt(text, i));
}

QString describeByte(const QByteArray& bytes, qsizetype i)
{
    return QStringLiteral("文字として読めないﾊﾞｲﾄ 0x%1 (%2 行目)")
        .arg(QString::number(uchar(bytes.at(i)), 16).toUpper().rightJustified(2, QLatin1Char('0')))
        .arg(TextEncoding::lineAt(bytes, i));
}

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
        return QStringLiteral("ﾌｧｲﾙが大きすぎます (%1 ﾊﾞｲﾄ)。開けるのは %2 ﾊﾞｲﾄまでです。")
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
        return QStringLiteral("保存先のﾌｫﾙﾀﾞが見つかりません。");
    if (target.exists()) {
        if (target.isDir())
            return QStringLiteral("同じ名前のﾌｫﾙﾀﾞがあります。");
        if (!target.isFile())
            return QStringLiteral("通常のﾌｧｲﾙではありません。");
        if (!target.isWritable())
            return QStringLiteral("読み取り専用のﾌｧｲﾙです。");
        return QString();
    }
    if (!folder.isWritable())
        return QStringLiteral("ﾌｫﾙﾀﾞへのｱｸｾｽが拒否されました。");
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
        return QStringLiteral("ﾃﾞｨｽｸの空き容量が不足しています。");
    return QStringLiteral("ｴﾗｰが発生しました (%1)。").arg(file.errorString());
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
            reason = QStringLiteral("読み込み中にｴﾗｰが発生しました (%1)。").arg(file.errorString());
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

Text decode(const QByteArray& fileBytes)
{
    QString text;
    const QString byteOrder = TextEncoding::utf16ByteOrder(fileBytes);
    if (!byteOrder.isEmpty() && TextEncoding::decodeExactly(fileBytes, byteOrder, text))
        return converted(text, byteOrder);
    if (TextEncoding::looksLikeIso2022Jp(fileBytes)) {
        if (TextEncoding::decodeExactly(fileBytes, kIso2022Jp, text))
            return converted(text, kIso2022Jp);
        return unconvertedText(fileBytes);
    }
    const qsizetype invalid = TextEncoding::firstInvalidUtf8(fileBytes);
    // Non-ASCII text that is valid UTF-8 is UTF-8, whatever the file declares.
    if (invalid < 0 &&
        std::any_of(fileBytes.begin(), fileBytes.end(), [](char c) { return uchar(c) >= 0x80; }))
        return {fileBytes, QString(), false};
    const QString declared = declaredEncoding(fileBytes, text);
    if (!declared.isEmpty())
        return converted(text, declared);
    if (invalid < 0)
        return {fileBytes, QString(), false};
    return guessJapanese(fileBytes);
}

bool decodeAs(const QByteArray& fileBytes, const QString& encoding, Text& text, QString& reason)
{
    const QString name = TextEncoding::canonicalName(encoding);
    if (name == QLatin1String(TextEncoding::kUtf8)) {
        const qsizetype invalid = TextEncoding::firstInvalidUtf8(fileBytes);
        if (invalid >= 0) {
            reason = QStringLiteral("UTF-8 として読めないﾊﾞｲﾄがあります (%1 行目)。")
                         .arg(TextEncoding::lineAt(fileBytes, invalid));
            return false;
        }
        text = {fileBytes, QString(), false};
        return true;
    }
    if (name.startsWith(QLatin1String("UTF-16"))) {
        // The byte-order mark tells which UTF-16; without one the file's
        // bytes could not be written back as they are.
        const QString byteOrder = TextEncoding::utf16ByteOrder(fileBytes);
        QString decoded;
        if (byteOrder.isEmpty() || !TextEncoding::decodeExactly(fileBytes, byteOrder, decoded)) {
            reason = QStringLiteral("このﾌｧｲﾙは UTF-16 (ﾊﾞｲﾄ順ﾏｰｸ付き) として読めません。");
            return false;
        }
        text = converted(decoded, byteOrder);
        return true;
    }
    QString decoded;
    if (name.isEmpty() || !TextEncoding::decodeExactly(fileBytes, name, decoded)) {
        reason = QStringLiteral("このﾌｧｲﾙは文字ｺｰﾄﾞ %1 として読めません。\n"
                                "%1 に変換して保存すると、元のﾊﾞｲﾄ列が変わってしまいます。")
                     .arg(name.isEmpty() ? encoding : name);
        return false;
    }
    text = converted(decoded, name);
    return true;
}

bool encode(const QByteArray& text, const QString& encoding, QByteArray& fileBytes,
            QString& badCharacter)
{
    if (encoding.isEmpty()) {
        fileBytes = text;
        return true;
    }
    const qsizetype invalid = TextEncoding::firstInvalidUtf8(text);
    if (invalid >= 0) {
        badCharacter = describeByte(text, invalid);
        return false;
    }
    if (encoding == QLatin1String(TextEncoding::kUtf8)) {
        fileBytes = text;
        return true;
    }
    // A leading U+FEFF is text here, not a byte-order mark to drop.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    const QString unicode = utf8.decode(text);
    QByteArray bytes;
    qsizetype lostAt = -1;
    if (!TextEncoding::encode(unicode, encoding, bytes, lostAt)) {
        badCharacter = lostAt >= 0 ? describeCharacter(unicode, lostAt) : QString();
        return false;
    }
    fileBytes = std::move(bytes);
    return true;
}

QByteArray utf8Characters(const QByteArray& bytes)
{
    QByteArray found;
    qsizetype i = 0;
    while (i < bytes.size()) {
        if (uchar(bytes.at(i)) < 0x80) {
            ++i;
            continue;
        }
        const qsizetype length = (uchar(bytes.at(i)) & 0xE0) == 0xC0   ? 2
                                 : (uchar(bytes.at(i)) & 0xF0) == 0xE0 ? 3
                                 : (uchar(bytes.at(i)) & 0xF8) == 0xF0 ? 4
                                                                       : 1;
        const QByteArrayView piece =
            QByteArrayView(bytes).sliced(i, qMin(length, bytes.size() - i));
        if (length > 1 && piece.size() == length && TextEncoding::isValidUtf8(piece)) {
            found += piece;
            i += length;
        } else {
            ++i;
        }
    }
    return found;
}

bool addsUtf8Characters(const QByteArray& original, const QByteArray& edited)
{
    // Edits that only delete or move nothing keep the characters a
    // subsequence of the original's; anything typed in breaks that.
    const QByteArray now = utf8Characters(edited);
    qsizetype at = 0;
    qsizetype i = 0;
    while (i < now.size()) {
        const qsizetype length = (uchar(now.at(i)) & 0xE0) == 0xC0   ? 2
                                 : (uchar(now.at(i)) & 0xF0) == 0xE0 ? 3
                                                                     : 4;
        const QByteArrayView character = QByteArrayView(now).sliced(i, length);
        // UTF-8 is self-synchronising: a whole character is only ever found
        // where a character of original starts.
        at = QByteArrayView(original).indexOf(character, at);
        if (at < 0)
            return true;
        at += length;
        i += length;
    }
    return false;
}

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
    return QStringLiteral("ﾒﾓﾘが不足しています。");
}

bool openForReading(const QString& path, QFile& file, QString& errorMessage)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        errorMessage = missingFileMessage(path);
        return false;
    }
    // Directories, pipes and devices are refused: a pipe would block forever.
    if (!info.isFile()) {
        errorMessage = cannotReadMessage(path, QStringLiteral("通常のﾌｧｲﾙではありません。"));
        return false;
    }
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) {
        errorMessage = cannotReadMessage(
            path, info.isReadable()
                      ? QStringLiteral("ｴﾗｰが発生しました (%1)。").arg(file.errorString())
                      : QStringLiteral("ｱｸｾｽが拒否されました。"));
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
        Text decoded = decode(bytes);
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
    if (!encode(text, encoding, bytes, badCharacter)) {
        errorMessage =
            badCharacter.isEmpty()
                ? cannotWriteMessage(path,
                                     QStringLiteral("文字ｺｰﾄﾞ %1 で保存できません。").arg(encoding))
                : cannotWriteMessage(path,
                                     QStringLiteral("%1 は文字ｺｰﾄﾞ %2 で保存できない文字です。\n"
                                                    "この文字を置き換えてから保存してください。")
                                         .arg(badCharacter, encoding));
        return false;
    }

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
