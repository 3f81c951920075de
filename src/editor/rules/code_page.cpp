#include "editor/rules/code_page.h"

namespace CodePage {

int charLengthAt(QByteArrayView text, qint64 pos)
{
    if (pos < 0 || pos >= text.size())
        return 0;
    const auto lead = static_cast<unsigned char>(text[pos]);
    int length = 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    if (length == 1 || pos + length > text.size())
        return 1;
    for (int k = 1; k < length; ++k) {
        if (!isTrailByte(static_cast<unsigned char>(text[pos + k])))
            return 1;
    }
    return length;
}

qint64 charStartAt(QByteArrayView text, qint64 pos)
{
    if (pos <= 0 || pos >= text.size())
        return pos;
    if (!isTrailByte(static_cast<unsigned char>(text[pos])))
        return pos;
    // A trail byte belongs to the lead up to three bytes before it, if that
    // lead's sequence really reaches this far.
    for (qint64 back = 1; back <= 3 && pos - back >= 0; ++back) {
        const auto b = static_cast<unsigned char>(text[pos - back]);
        if (isTrailByte(b))
            continue;
        return charLengthAt(text, pos - back) > back ? pos - back : pos;
    }
    return pos;
}

bool isCharStart(QByteArrayView text, qint64 pos)
{
    return charStartAt(text, pos) == pos;
}

QByteArray toUpperAscii(QByteArrayView text)
{
    QByteArray out(text.data(), text.size());
    for (qint64 i = 0; i < out.size();) {
        const int length = charLengthAt(text, i);
        if (length == 1 && out[i] >= 'a' && out[i] <= 'z')
            out[i] = static_cast<char>(out[i] - 'a' + 'A');
        i += length;
    }
    return out;
}

} // namespace CodePage
