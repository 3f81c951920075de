#include "dialogs/tips_reader.h"

#include <QIODevice>
#include <QLocale>

namespace TipsReader {

bool isSkipped(const QByteArray& line)
{
    if (line.isEmpty())
        return true;
    const char c = line.at(0);
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == ';';
}

QByteArray readPiece(QIODevice& device)
{
    const QByteArray ahead = device.peek(kMaxPiece + 1);
    qsizetype length = ahead.left(kMaxPiece).indexOf('\n') + 1;
    if (length == 0) {
        length = qMin<qsizetype>(ahead.size(), kMaxPiece);
        // A piece cut short ends before a character, never inside one.
        if (ahead.size() > kMaxPiece) {
            qsizetype cut = kMaxPiece;
            while (cut > 0 && (uchar(ahead.at(cut)) & 0xC0) == 0x80)
                --cut;
            if (cut > 0)
                length = cut;
        }
    }
    return device.read(length);
}

Tip readNextTip(QIODevice& device)
{
    Tip tip;
    // After going round once, a file without a tip has been read through.
    bool wrapped = false;
    for (;;) {
        if (device.atEnd()) {
            if (wrapped || !device.seek(0))
                return tip;
            wrapped = true;
            continue;
        }
        const QByteArray line = readPiece(device);
        if (line.isEmpty())
            return tip;
        if (isSkipped(line))
            continue;
        tip.found = true;
        QByteArray text = line;
        while (text.endsWith('\n') || text.endsWith('\r'))
            text.chop(1);
        tip.text = QString::fromUtf8(text);
        return tip;
    }
}

QString timeStamp(const QDateTime& time)
{
    return QLocale::c().toString(time, QStringLiteral("ddd MMM dd HH:mm:ss yyyy"));
}

} // namespace TipsReader
