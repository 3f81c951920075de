#include "editor/rules/line_number_width.h"

namespace LineNumberWidth {

int digits(qint64 lineCount)
{
    int n = 1;
    for (qint64 rest = lineCount; rest >= 10; rest /= 10)
        ++n;
    return qMax(n, kMinDigits);
}

int pixels(int digits, int digitWidth)
{
    return (digits + 1) * digitWidth;
}

} // namespace LineNumberWidth
