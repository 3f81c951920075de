#include "app/hand_off_message.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

namespace HandOffMessage {
namespace {

constexpr char kActivate = 'A';
constexpr char kOpen = 'O';
constexpr qsizetype kLengthBytes = 4;

} // namespace

QByteArray encode(QByteArrayView path)
{
    const QByteArray payload =
        path.isEmpty() ? QByteArray(1, kActivate) : kOpen + path.toByteArray();
    QByteArray frame(kLengthBytes, '\0');
    qToBigEndian<quint32>(quint32(payload.size()), frame.data());
    return frame + payload;
}

Parse parse(QByteArrayView bytes, Request& request)
{
    if (bytes.size() < kLengthBytes)
        return Parse::NeedMore;
    const quint32 length = qFromBigEndian<quint32>(bytes.constData());
    if (length == 0 || length > kMaxPayload)
        return Parse::Invalid;
    if (bytes.size() < kLengthBytes + qsizetype(length))
        return Parse::NeedMore;
    const QByteArrayView payload = bytes.sliced(kLengthBytes, length);
    const bool activate = payload.size() == 1 && payload[0] == kActivate;
    const bool open = payload.size() > 1 && payload[0] == kOpen;
    if (!activate && !open)
        return Parse::Invalid;
    Request r;
    r.open = open;
    if (open)
        r.path = payload.sliced(1).toByteArray();
    r.accepted = activate || QDir::isAbsolutePath(QFile::decodeName(r.path));
    r.frameSize = kLengthBytes + length;
    request = std::move(r);
    return Parse::Complete;
}

} // namespace HandOffMessage
