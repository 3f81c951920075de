#pragma once

#include <QtGlobal>

class QRegularExpressionMatchIterator;

// Whether a walk through every match of a global match ended because the
// engine gave up (the pattern backtracks too much on the text), given where
// the last match it gave began and ended (-1 for none) and the length of the
// text. Qt's iterator also ends invalid after an empty match at the very
// end, having nowhere left to try: that is the end of the text, not giving up.
bool regexGaveUp(const QRegularExpressionMatchIterator& it, qsizetype lastStart, qsizetype lastEnd,
                 qsizetype length);
