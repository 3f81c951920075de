#pragma once

#include <QObject>
#include <QRect>
#include <QString>
#include <QVariant>

class CMyRichEditView;
class QInputMethodEvent;

// The text view's side of input-method composition. QScintilla draws the
// composition and inserts what is committed; this adds what it lacks:
// - the input method's queries are answered from a bounded stretch of text
//   around the caret (the caret's line, cut to about a thousand bytes on each
//   side), with the caret and anchor counted in UTF-16 units of the text
//   reported, and the composition itself left out of it;
// - the replacement part of an event (text around the caret the input method
//   takes back, as for reconversion or for taking back a commit) is carried
//   out, as is a Selection attribute, and an event may commit and go on
//   composing at once;
// - the input method hears of every caret, selection and scroll change, so
//   its candidate window opens at the caret.
class CEditorInputMethod : public QObject
{
public:
    explicit CEditorInputMethod(CMyRichEditView& view);

    void handleEvent(QInputMethodEvent* event);
    // The answer to one query, or an invalid value for those left to QScintilla.
    QVariant query(Qt::InputMethodQuery query) const;

private:
    // The text reported to the input method: the document's text from byte
    // start on, less the composition; caret and anchor as byte positions and
    // as offsets into text.
    struct Surrounding
    {
        qint64 start = 0;
        qint64 caret = 0;
        qint64 anchor = 0;
        QString text;
        int caretOffset = 0;
        int anchorOffset = 0;
    };
    Surrounding surrounding() const;

    // Hands an event to QScintilla and records where its composition lies.
    void compose(QInputMethodEvent* event);
    // Deletes the text an event replaces (offsets in UTF-16 units from the
    // caret); the caret ends where the deleted text began.
    void replaceAroundCaret(int from, int length);
    void applySelection(qint64 origin, int start, int length);
    void notifyInputMethod(int updated);

    // pos moved by a number of UTF-16 units (negative: backwards), whole
    // characters at a time, within the document.
    qint64 stepUnits(qint64 pos, qint64 units) const;
    qint64 snapBack(qint64 pos) const;
    qint64 snapForward(qint64 pos) const;
    QRect caretRect(qint64 pos) const;
    bool composing() const;

    CMyRichEditView& m_view;
    // The composition QScintilla shows inside the text: bytes
    // [m_preeditStart, m_preeditStart + m_preeditLength).
    bool m_composing = false;
    qint64 m_preeditStart = 0;
    QByteArray m_preedit;
};
