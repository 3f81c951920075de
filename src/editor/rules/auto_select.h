#pragma once

#include <QByteArrayView>

// The range that auto-select picks around the caret: with the caret inside a
// tag (or on its `>`), the whole tag with both brackets; in text, the run of
// text between the preceding `>` and the following `<` (to the start or end
// of the text when there is none); directly before a `<`, an empty range at
// the caret. Nothing is picked in an empty text or with the caret at its end.
struct AutoSelectRange
{
    bool found = false;
    qint64 start = 0;
    qint64 end = 0; // exclusive
};

AutoSelectRange autoSelectRange(QByteArrayView text, qint64 caret);
