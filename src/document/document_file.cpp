#include "document/document_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace DocumentFile {
namespace {

const char* const kShiftJis = "Shift_JIS";
const char* const kEucJp = "EUC-JP";
const char* const kIso2022Jp = "ISO-2022-JP";

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool isValidUtf8(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const uchar c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int length;
        char32_t cp;
        char32_t minimum;
        if ((c & 0xE0) == 0xC0) {
            length = 2, cp = c & 0x1F, minimum = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3, cp = c & 0x0F, minimum = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4, cp = c & 0x07, minimum = 0x10000;
        } else {
            return false;
        }
        if (n - i < length)
            return false;
        for (int k = 1; k < length; ++k) {
            const uchar cc = p[i + k];
            if ((cc & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

// ISO-2022-JP is 7-bit: it is recognised by its escape sequences, which
// switch to a Japanese character set ("ESC $ @", "ESC $ B", "ESC $ ( D") or
// to JIS X 0201 ("ESC ( J", "ESC ( I").
bool looksLikeIso2022Jp(const QByteArray& bytes)
{
    for (const char c : bytes) {
        if (static_cast<uchar>(c) >= 0x80)
            return false;
    }
    return bytes.contains("\x1b$@") || bytes.contains("\x1b$B") || bytes.contains("\x1b$(D") ||
           bytes.contains("\x1b(J") || bytes.contains("\x1b(I");
}

// Decodes `bytes` from `encoding` and accepts the result only when encoding
// it again gives back exactly the same bytes.
bool decodeExactly(const QByteArray& bytes, const char* encoding, QString& decoded)
{
    QStringDecoder decoder(encoding);
    if (!decoder.isValid())
        return false;
    decoded = decoder.decode(bytes);
    if (decoder.hasError())
        return false;
    QStringEncoder encoder(encoding);
    const QByteArray back = encoder.encode(decoded);
    return !encoder.hasError() && back == bytes;
}

// How Japanese a decoded text looks: kana, CJK punctuation and ideographs
// count for it, half-width katakana (what EUC-JP text turns into when read as
// Shift_JIS) against it.
int japaneseScore(const QString& text)
{
    int score = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x3000 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF))
            ++score;
        else if (u >= 0xFF61 && u <= 0xFF9F)
            --score;
    }
    return score;
}

// Describes the first character of `text` that did not survive the trip
// through the encoding: `back` is the text decoded again from the encoded
// bytes.
QString firstLostCharacter(const QString& text, const QString& back)
{
    qsizetype i = 0;
    const qsizetype n = qMin(text.size(), back.size());
    while (i < n && text.at(i) == back.at(i))
        ++i;
    if (i >= text.size())
        i = text.size() - 1;
    if (i > 0 && text.at(i).isLowSurrogate())
        --i;
    char32_t cp = text.at(i).unicode();
    qsizetype length = 1;
    if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
        cp = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
        length = 2;
    }
    return QStringLiteral("「%1」(U+%2)")
        .arg(text.mid(i, length))
        .arg(QString::number(cp, 16).toUpper().rightJustified(4, QLatin1Char('0')));
}

QString cannotReadMessage(const QString& path, const QString& reason)
{
    return QStringLiteral("%1 を読み込めません。\n%2").arg(path, reason);
}

QString cannotWriteMessage(const QString& path, const QString& reason)
{
    return QStringLiteral("%1 へ書き込めません。\n%2").arg(path, reason);
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
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("ﾃﾞｨｽｸの空き容量が不足しています。");
    case EFBIG:
        return QStringLiteral("ﾌｧｲﾙが大きすぎます。");
    case EACCES:
    case EPERM:
        return QStringLiteral("ｱｸｾｽが拒否されました。");
    case EROFS:
        return QStringLiteral("読み取り専用のﾃﾞｨｽｸです。");
    default:
        break;
    }
    if (file.error() == QFileDevice::ResourceError)
        return QStringLiteral("ﾃﾞｨｽｸの空き容量が不足しています。");
    const QString detail = error != 0 ? qt_error_string(error) : file.errorString();
    return QStringLiteral("ｴﾗｰが発生しました (%1)。").arg(detail);
}

// Gives the new file the owner and group of the one it replaces, where the
// system allows it; the permission bits are kept by QSaveFile itself.
void keepOwner(const QFileInfo& target, const QSaveFile& file)
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
        // Changing the owner may clear permission bits; put them back.
        ::fchmod(fd, original.st_mode & 0777);
    }
}

} // namespace

Text decode(const QByteArray& fileBytes)
{
    QString decoded;
    if (looksLikeIso2022Jp(fileBytes)) {
        if (decodeExactly(fileBytes, kIso2022Jp, decoded))
            return {decoded.toUtf8(), QString::fromLatin1(kIso2022Jp)};
        return {fileBytes, QString()};
    }
    if (isValidUtf8(fileBytes))
        return {fileBytes, QString()};

    // Shift_JIS is tried first and wins a tie; EUC-JP text read as Shift_JIS
    // usually still round-trips but turns into half-width katakana.
    QString shiftJis;
    QString eucJp;
    const bool isShiftJis = decodeExactly(fileBytes, kShiftJis, shiftJis);
    const bool isEucJp = decodeExactly(fileBytes, kEucJp, eucJp);
    if (isShiftJis && (!isEucJp || japaneseScore(shiftJis) >= japaneseScore(eucJp)))
        return {shiftJis.toUtf8(), QString::fromLatin1(kShiftJis)};
    if (isEucJp)
        return {eucJp.toUtf8(), QString::fromLatin1(kEucJp)};
    return {fileBytes, QString()};
}

bool encode(const QByteArray& text, const QString& encoding, QByteArray& fileBytes,
            QString& badCharacter)
{
    if (encoding.isEmpty()) {
        fileBytes = text;
        return true;
    }
    if (!isValidUtf8(text)) {
        badCharacter = QStringLiteral("文字として読めないﾊﾞｲﾄ");
        return false;
    }
    const QString unicode = QString::fromUtf8(text);
    QStringEncoder encoder(encoding.toLatin1().constData());
    QStringDecoder decoder(encoding.toLatin1().constData());
    if (!encoder.isValid() || !decoder.isValid()) {
        badCharacter = QString();
        return false;
    }
    QByteArray bytes = encoder.encode(unicode);
    const QString back = decoder.decode(bytes);
    if (encoder.hasError() || decoder.hasError() || back != unicode) {
        badCharacter = firstLostCharacter(unicode, back);
        return false;
    }
    fileBytes = std::move(bytes);
    return true;
}

QString missingFileMessage(const QString& path)
{
    return QStringLiteral("%1\nこのﾌｧｲﾙが見つかりません。\n"
                          "正しいﾃﾞｨﾚｸﾄﾘとﾌｧｲﾙ名を確認して入力してください。")
        .arg(path);
}

bool read(const QString& path, Text& text, QString& errorMessage)
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        errorMessage = cannotReadMessage(
            path, info.isReadable()
                      ? QStringLiteral("ｴﾗｰが発生しました (%1)。").arg(file.errorString())
                      : QStringLiteral("ｱｸｾｽが拒否されました。"));
        return false;
    }

    const qint64 expected = file.size();
    QByteArray bytes(expected, Qt::Uninitialized);
    qint64 done = 0;
    while (done < expected) {
        const qint64 got = file.read(bytes.data() + done, expected - done);
        if (got < 0) {
            errorMessage = cannotReadMessage(
                path,
                QStringLiteral("読み込み中にｴﾗｰが発生しました (%1)。").arg(file.errorString()));
            return false;
        }
        if (got == 0)
            break; // the file became shorter: keep what was read
        done += got;
    }
    bytes.truncate(done);
    text = decode(bytes);
    return true;
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

    // Unbuffered, so that errno still tells why a write failed.
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        errorMessage = cannotWriteMessage(path, saveFailure(target, file, errno));
        return false;
    }
    if (target.exists())
        keepOwner(target, file);
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        errorMessage = cannotWriteMessage(path, saveFailure(target, file, errno));
        return false;
    }
    return true;
}

} // namespace DocumentFile
