#pragma once

#include "document/text_edit_observer.h"
#include "document/text_reader.h"

#include <QByteArray>

class CMyRichEditDoc;
class QWidget;

// The view that holds a document's text, as the document sees it: the text
// lives in the view's control, the document loads and saves it through here.
// The editor's view implements it; the document never sees the view itself.
class CDocumentText : public CTextSink
{
public:
    virtual ~CDocumentText() = default;

    // The widget showing the text: the parent of the document's messages.
    virtual QWidget* textWidget() = 0;
    // Called by the document that takes this text; from then on every edit
    // is reported to it (CMyRichEditDoc::noteTextEdited).
    virtual void setDocument(CMyRichEditDoc* document) = 0;

    // Replaces the whole text; the modified flag is cleared. Returns false,
    // leaving the text empty, when the text cannot be held.
    virtual bool loadBytes(const QByteArray& bytes) = 0;
    // The same in pieces (a TextReader fills it): beginText, appendText, then
    // finishText, which leaves the text empty when a piece could not be held.
    virtual void finishText() = 0;
    // While a text is loaded in pieces (before finishText): changes it as a
    // part of loading, not as edits. False when the bytes cannot be held.
    virtual bool insertLoaded(qint64 position, QByteArrayView bytes) = 0;
    virtual void removeLoaded(qint64 position, qint64 length) = 0;
    // Told of every change of the text (null: nobody).
    virtual void setEditObserver(CTextEditObserver* observer) = 0;
    // Tells the observer of an insertion it has not been told of yet.
    virtual void reportEdits() = 0;
    // The whole text, exactly as held.
    virtual QByteArray textBytes() const = 0;
    // The same without a copy; valid only until the text next changes.
    virtual QByteArray textInPlace() const = 0;
    virtual qint64 textLength() const = 0;
    // A copy of [start, end), both clamped to the text.
    virtual QByteArray textRange(qint64 start, qint64 end) const = 0;
    // Raised by every change of the text, composition text and loading
    // included: text read in pieces is one text while it stays the same.
    virtual quint64 changeCount() const = 0;
    // What typing a new line inserts: "\r\n", "\n" or "\r".
    virtual QByteArray typedLineEnd() const = 0;
    virtual void setTypedLineEnd(const QByteArray& lineEnd) = 0;
    // Replaces [start, end) by text as one edit the user can undo; the new
    // text takes the format of the first character it replaces.
    virtual void replaceBytes(qint64 start, qint64 end, const QByteArray& text) = 0;
    // The selected text, exactly as held.
    virtual QByteArray selectedBytes() const = 0;
    virtual bool modifyFlag() const = 0;
    virtual void setModifyFlag(bool modified) = 0;
};
