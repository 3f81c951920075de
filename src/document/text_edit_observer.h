#pragma once

#include <QByteArrayView>

// Told of every change of a view's text just before it is made: edits,
// undo and redo, composition text coming and going alike, so that the
// changes it is told of lead from one text to the next exactly. A text
// loaded whole is not an edit: it is told of once it is in place.
class TextEditObserver
{
public:
    virtual ~TextEditObserver() = default;

    virtual void textInserting(qint64 position, QByteArrayView bytes) = 0;
    virtual void textDeleting(qint64 position, qint64 length) = 0;
    virtual void textLoaded() = 0;
};
