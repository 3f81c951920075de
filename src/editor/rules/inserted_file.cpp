#include "editor/rules/inserted_file.h"

#include <QStringDecoder>

namespace InsertedFile {

bool isBinary(const QByteArray& text)
{
    if (text.contains('\0'))
        return true;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(text);
    Q_UNUSED(decoded);
    return utf8.hasError();
}

QByteArray withLineEnds(const QByteArray& text)
{
    QByteArray out;
    out.reserve(text.size() + 2);
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const char c = text.at(i);
        if (c == '\r' || c == '\n') {
            out.append("\r\n");
            i += (c == '\r' && i + 1 < n && text.at(i + 1) == '\n') ? 2 : 1;
            continue;
        }
        out.append(c);
        ++i;
    }
    if (!out.isEmpty() && !out.endsWith("\r\n"))
        out.append("\r\n");
    return out;
}

} // namespace InsertedFile
