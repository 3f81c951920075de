#include "document/regex_give_up.h"

#include <QRegularExpression>

bool regexGaveUp(const QRegularExpressionMatchIterator& it, qsizetype lastStart, qsizetype lastEnd,
                 qsizetype length)
{
    return !it.isValid() && !(lastStart == length && lastEnd == length);
}
