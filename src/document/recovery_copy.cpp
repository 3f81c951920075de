#include "document/recovery_copy.h"

#include "document/line_end_names.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>

namespace RecoveryCopy {
namespace {

constexpr int kVersion = 1;
constexpr QByteArrayView kMagic = "MARQUILL-RECOVERY\n";
constexpr qsizetype kChecksumLength = 64; // SHA-256 in hexadecimal digits

QByteArray checksum(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QJsonObject header(const Copy& copy, qint64 textLength)
{
    QJsonObject h;
    h.insert(QStringLiteral("version"), kVersion);
    h.insert(QStringLiteral("path"), copy.path);
    h.insert(QStringLiteral("title"), copy.title);
    h.insert(QStringLiteral("encoding"), copy.encoding);
    h.insert(QStringLiteral("unconverted"), copy.unconverted);
    h.insert(QStringLiteral("savedUtf8"), QString::fromLatin1(copy.savedUtf8Characters.toBase64()));
    h.insert(QStringLiteral("lineEnd"), LineEndNames::nameOf(copy.lineEnd));
    h.insert(QStringLiteral("instance"), copy.instance);
    h.insert(QStringLiteral("pid"), QString::number(copy.pid));
    h.insert(QStringLiteral("bootId"), copy.bootId);
    h.insert(QStringLiteral("written"), copy.written.toUTC().toString(Qt::ISODateWithMs));
    h.insert(QStringLiteral("length"), QString::number(textLength));
    return h;
}

// Reads the fields of a header into `copy` (all but the text); false when
// one is missing or malformed.
bool readHeader(const QJsonObject& h, Copy& copy)
{
    bool pidOk = false;
    copy.path = h.value(QStringLiteral("path")).toString();
    copy.title = h.value(QStringLiteral("title")).toString();
    copy.encoding = h.value(QStringLiteral("encoding")).toString();
    copy.unconverted = h.value(QStringLiteral("unconverted")).toBool();
    copy.savedUtf8Characters =
        QByteArray::fromBase64(h.value(QStringLiteral("savedUtf8")).toString().toLatin1());
    copy.lineEnd = LineEndNames::fromName(h.value(QStringLiteral("lineEnd")).toString());
    copy.instance = h.value(QStringLiteral("instance")).toString();
    copy.pid = h.value(QStringLiteral("pid")).toString().toLongLong(&pidOk);
    copy.bootId = h.value(QStringLiteral("bootId")).toString();
    copy.written =
        QDateTime::fromString(h.value(QStringLiteral("written")).toString(), Qt::ISODateWithMs);
    return pidOk && !copy.lineEnd.isEmpty() && !copy.title.isEmpty() && copy.written.isValid();
}

} // namespace

Encoder::Encoder(const Copy& copy, qint64 textLength)
    : m_head(kMagic.data(), kMagic.size()), m_hash(QCryptographicHash::Sha256)
{
    m_head += QJsonDocument(header(copy, textLength)).toJson(QJsonDocument::Compact);
    m_head += '\n';
    m_hash.addData(m_head);
}

QByteArrayList encodeParts(const Copy& copy)
{
    Encoder encoder(copy, copy.text.size());
    encoder.addText(copy.text);
    return {encoder.head(), copy.text, encoder.checksum()};
}

QByteArray encode(const Copy& copy)
{
    return encodeParts(copy).join();
}

Fault decode(const QByteArray& bytes, Copy& copy)
{
    if (!bytes.startsWith(kMagic))
        return bytes.size() < kMagic.size() && kMagic.startsWith(bytes) ? Fault::Truncated
                                                                        : Fault::NotACopy;
    const qsizetype headEnd = bytes.indexOf('\n', kMagic.size());
    if (headEnd < 0)
        return Fault::Truncated;
    QJsonParseError error;
    const QJsonDocument doc =
        QJsonDocument::fromJson(bytes.mid(kMagic.size(), headEnd - kMagic.size()), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return Fault::Damaged;
    const QJsonObject h = doc.object();
    if (h.value(QStringLiteral("version")).toInt() > kVersion)
        return Fault::NewVersion;
    bool lengthOk = false;
    const qint64 length = h.value(QStringLiteral("length")).toString().toLongLong(&lengthOk);
    if (!lengthOk || length < 0)
        return Fault::Damaged;
    const qint64 expected = headEnd + 1 + length + kChecksumLength;
    if (bytes.size() < expected)
        return Fault::Truncated;
    if (bytes.size() > expected)
        return Fault::Damaged;
    const QByteArrayView body(bytes.constData(), expected - kChecksumLength);
    if (checksum(body) != QByteArrayView(bytes).sliced(body.size()))
        return Fault::Damaged;
    Copy read;
    if (!readHeader(h, read))
        return Fault::Damaged;
    read.text = bytes.mid(headEnd + 1, length);
    copy = std::move(read);
    return Fault::None;
}

QString faultText(Fault fault)
{
    switch (fault) {
    case Fault::None:
        return QString();
    case Fault::NotACopy:
        return QStringLiteral("回復用のファイルではありません");
    case Fault::NewVersion:
        return QStringLiteral("新しい版の Marquill で書かれています");
    case Fault::Truncated:
        return QStringLiteral("途中で切れています");
    case Fault::Damaged:
        return QStringLiteral("内容が壊れています");
    }
    return QString();
}

} // namespace RecoveryCopy
