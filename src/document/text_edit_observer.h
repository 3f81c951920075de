#pragma once

#include <QByteArrayView>

// Told of every change of a view's text, in order: edits, undo and redo,
// composition text coming and going alike, so that the changes it is told
// of lead from one text to the next exactly. An insertion is told of once
// it is made, at the latest before the next change or when the view is
// asked (CDocumentText::reportEdits). A text loaded whole is not an edit:
// it is told of once it is in place.
class CTextEditObserver
{
public:
    virtual ~CTextEditObserver() = default;

    // Before any change, while the text is still as it was.
    virtual void textChanging() = 0;
    virtual void textInserted(qint64 position, QByteArrayView bytes) = 0;
    virtual void textDeleting(qint64 position, qint64 length) = 0;
    virtual void textLoaded() = 0;
};
