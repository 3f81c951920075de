#include "commands/selection_text.h"

namespace SelectionText {
namespace {

constexpr char16_t kStandInBase = 0xDC00;

// The length of the UTF-8 sequence a lead byte starts, 0 for a byte that
// cannot start one.
qsizetype sequenceLength(uchar lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

bool isStandIn(QChar ch)
{
    return ch.unicode() >= kStandInBase + 0x80 && ch.unicode() <= kStandInBase + 0xFF;
}

} // namespace

QString decode(const QByteArray& bytes)
{
    const QString whole = QString::fromUtf8(bytes);
    if (whole.toUtf8() == bytes)
        return whole;
    QString text;
    qsizetype i = 0;
    while (i < bytes.size()) {
        const uchar lead = static_cast<uchar>(bytes[i]);
        const qsizetype length = sequenceLength(lead);
        if (length > 0 && i + length <= bytes.size()) {
            const QByteArray sequence = bytes.mid(i, length);
            const QString decoded = QString::fromUtf8(sequence);
            if (decoded.toUtf8() == sequence) {
                text += decoded;
                i += length;
                continue;
            }
        }
        text += QChar(char16_t(kStandInBase + lead));
        ++i;
    }
    return text;
}

QByteArray encode(const QString& text)
{
    QByteArray bytes;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i; // a character beyond the basic plane, never a stand-in
            continue;
        }
        if (!isStandIn(ch))
            continue;
        bytes += QStringView(text).mid(runStart, i - runStart).toUtf8();
        bytes += char(ch.unicode() - kStandInBase);
        runStart = i + 1;
    }
    bytes += QStringView(text).mid(runStart).toUtf8();
    return bytes;
}

} // namespace SelectionText
