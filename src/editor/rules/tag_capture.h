#pragma once

#include <QByteArray>
#include <QByteArrayView>

// What tag capture finds in a selected text: its first complete tag (from the
// last `<` before the first `>` that follows a `<`) and its last one (found
// the same way from the end). When both are the same text it is a single tag,
// otherwise a pair. Texts are taken as they stand, case included.
struct TagCapture
{
    enum Kind { None, Single, Pair };
    Kind kind = None;
    QByteArray start;
    QByteArray end; // Pair only
};

TagCapture captureTags(QByteArrayView selection);
