#include "editor/rules/tag_capture.h"

TagCapture captureTags(QByteArrayView selection)
{
    const qint64 n = selection.size();
    qint64 a = -1;
    qint64 b = -1;
    for (qint64 i = 0; i < n; ++i) {
        if (selection[i] == '<') {
            a = i;
        } else if (selection[i] == '>' && a >= 0) {
            b = i;
            break;
        }
    }
    if (b < 0)
        return {};
    qint64 d = -1;
    qint64 c = -1;
    for (qint64 i = n - 1; i >= 0; --i) {
        if (selection[i] == '>') {
            d = i;
        } else if (selection[i] == '<' && d >= 0) {
            c = i;
            break;
        }
    }
    TagCapture result;
    result.start = selection.sliced(a, b - a + 1).toByteArray();
    const QByteArray last = selection.sliced(c, d - c + 1).toByteArray();
    if (last == result.start) {
        result.kind = TagCapture::Single;
    } else {
        result.kind = TagCapture::Pair;
        result.end = last;
    }
    return result;
}
