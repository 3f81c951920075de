#include "editor/rules/auto_select.h"

AutoSelectRange autoSelectRange(QByteArrayView text, qint64 caret)
{
    const qint64 n = text.size();
    if (n == 0 || caret < 0 || caret >= n)
        return {};
    // Last index of the range (inclusive); the `>` of a tag belongs to it.
    qint64 last = n - 1;
    for (qint64 i = caret; i < n; ++i) {
        if (text[i] == '>') {
            last = i;
            break;
        }
        if (text[i] == '<') {
            last = i - 1;
            break;
        }
    }
    qint64 start = 0;
    for (qint64 j = caret; j >= 0; --j) {
        if (text[j] == '<') {
            start = j;
            break;
        }
        if (text[j] == '>' && j != last) {
            start = j + 1;
            break;
        }
    }
    return {true, start, last + 1};
}
