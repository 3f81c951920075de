#include "core/file_names.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>

namespace FileNames {
namespace {

constexpr char16_t kRawFirst = 0xDC80;
constexpr char16_t kRawLast = 0xDCFF;

bool isRaw(QChar c)
{
    return c.unicode() >= kRawFirst && c.unicode() <= kRawLast;
}

// The length of the valid UTF-8 sequence at p (at most `left` bytes), or 0.
int utf8Length(const unsigned char* p, qsizetype left)
{
    const unsigned char c = p[0];
    int length = 0;
    char32_t code = 0;
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
        code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        code = c & 0x07;
    } else {
        return 0;
    }
    if (left < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (p[i] & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
    if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
        (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

// The bytes read in `encoding`, when they give back exactly those bytes.
QString decodedExactly(const QByteArray& bytes, const char* encoding)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    QStringEncoder encoder(encoding, QStringConverter::Flag::Stateless);
    if (!decoder.isValid() || !encoder.isValid())
        return QString();
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return QString();
    const QByteArray back = encoder.encode(text);
    return !encoder.hasError() && back == bytes ? text : QString();
}

// One part of a path, as display() shows it.
QString displayPart(const QString& part)
{
    if (!hasRawBytes(part))
        return part;
    // Many EUC-JP names are also valid Shift_JIS, read as half-width
    // katakana, which names seldom hold: the reading with fewer of them wins.
    const QByteArray bytes = encode(part);
    QString best;
    qsizetype bestHalfWidth = 0;
    for (const char* encoding : {"Shift_JIS", "EUC-JP"}) {
        const QString text = decodedExactly(bytes, encoding);
        const qsizetype halfWidth = std::count_if(text.cbegin(), text.cend(), [](QChar c) {
            return c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F;
        });
        if (!text.isEmpty() && (best.isEmpty() || halfWidth < bestHalfWidth)) {
            best = text;
            bestHalfWidth = halfWidth;
        }
    }
    if (!best.isEmpty())
        return best;
    QString shown;
    for (QChar c : part) {
        if (isRaw(c))
            shown += QStringLiteral("\\x%1").arg(c.unicode() - 0xDC00, 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

// The entry of `folder` whose name Qt reads as `lossy`, when there is one only.
QString uniqueLossyEntry(const QString& folder, const QString& lossy)
{
    DIR* dir = ::opendir(encode(folder.isEmpty() ? QStringLiteral("/") : folder).constData());
    if (!dir)
        return QString();
    QString found;
    int matches = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (QString::fromUtf8(name) == lossy) {
            found = decode(name);
            ++matches;
        }
    }
    ::closedir(dir);
    return matches == 1 ? found : QString();
}

} // namespace

QByteArray encode(const QString& path)
{
    if (!hasRawBytes(path))
        return path.toUtf8();
    QByteArray bytes;
    bytes.reserve(path.size() * 3);
    qsizetype start = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (!isRaw(path.at(i)))
            continue;
        bytes += QStringView(path).mid(start, i - start).toUtf8();
        bytes += char(path.at(i).unicode() - 0xDC00);
        start = i + 1;
    }
    bytes += QStringView(path).mid(start).toUtf8();
    return bytes;
}

QString decode(const QByteArray& bytes)
{
    QString path;
    path.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype size = bytes.size();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < size) {
        const int length = utf8Length(p + i, size - i);
        if (length > 0) {
            i += length;
            continue;
        }
        path += QString::fromUtf8(bytes.constData() + start, i - start);
        path += QChar(char16_t(0xDC00 + p[i]));
        start = ++i;
    }
    path += QString::fromUtf8(bytes.constData() + start, size - start);
    return path;
}

bool hasRawBytes(const QString& path)
{
    for (QChar c : path) {
        if (isRaw(c))
            return true;
    }
    return false;
}

QString display(const QString& path)
{
    if (!hasRawBytes(path))
        return path;
    QStringList parts = path.split(QLatin1Char('/'));
    for (QString& part : parts)
        part = displayPart(part);
    return parts.join(QLatin1Char('/'));
}

QString displayFileName(const QString& path)
{
    return displayPart(path.mid(path.lastIndexOf(QLatin1Char('/')) + 1));
}

QString findLossyName(const QString& path)
{
    if (!path.contains(QChar::ReplacementCharacter) || !path.startsWith(QLatin1Char('/')))
        return path;
    struct stat st;
    if (::lstat(encode(path).constData(), &st) == 0)
        return path;
    const QStringList parts = path.split(QLatin1Char('/'));
    QString resolved;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        QString next = resolved + QLatin1Char('/') + parts.at(i);
        if (parts.at(i).contains(QChar::ReplacementCharacter) &&
            ::lstat(encode(next).constData(), &st) != 0) {
            const QString real = uniqueLossyEntry(resolved, parts.at(i));
            if (real.isEmpty())
                return path;
            next = resolved + QLatin1Char('/') + real;
        }
        resolved = next;
    }
    return resolved;
}

bool sameFile(const QString& a, const QString& b)
{
    if (a == b)
        return true;
    const auto resolved = [](const QString& path) {
        char* real = ::realpath(encode(path).constData(), nullptr);
        const QByteArray bytes = real ? QByteArray(real) : QByteArray();
        std::free(real);
        return bytes;
    };
    const QByteArray real = resolved(a);
    return !real.isEmpty() && real == resolved(b);
}

} // namespace FileNames
