#include "editor/editor_input_method.h"

#include "editor/my_rich_edit_view.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QTransform>

namespace {

using Sci = QsciScintillaBase;

// Bytes of context reported on each side of the caret or selection, and the
// longest selection reported whole (a longer one is cut at this distance from
// the caret). Both keep every query independent of the document's size.
constexpr qint64 kContextBytes = 1024;
constexpr qint64 kSelectionBytes = 4096;

} // namespace

CEditorInputMethod::CEditorInputMethod(CMyRichEditView& view) : m_view(view)
{
    connect(&view, &QsciScintillaBase::SCN_UPDATEUI, this,
            [this](int updated) { notifyInputMethod(updated); });
}

// --- Events ------------------------------------------------------------------

void CEditorInputMethod::handleEvent(QInputMethodEvent* event)
{
    const QString commit = event->commitString();
    const QString preedit = event->preeditString();
    const bool replaces =
        event->replacementLength() > 0 || (event->replacementStart() != 0 && !commit.isEmpty());
    QList<QInputMethodEvent::Attribute> attributes;
    const QInputMethodEvent::Attribute* selection = nullptr;
    for (const QInputMethodEvent::Attribute& a : event->attributes()) {
        if (a.type == QInputMethodEvent::Selection)
            selection = &a;
        else
            attributes.append(a);
    }
    // QScintilla handles a plain commit or composition update itself.
    if (m_view.isReadOnly() ||
        (!replaces && !selection && (commit.isEmpty() || preedit.isEmpty()))) {
        compose(event);
        return;
    }
    const qint64 origin = surrounding().start;
    // The composition on display is taken back first: replacement offsets
    // count from the caret in the text without it, and nothing done now may
    // become part of what QScintilla takes back with the next update.
    QInputMethodEvent takeBack;
    compose(&takeBack);
    m_view.sci(Sci::SCI_BEGINUNDOACTION);
    if (replaces)
        replaceAroundCaret(event->replacementStart(), event->replacementLength());
    if (!commit.isEmpty()) {
        QInputMethodEvent committed;
        committed.setCommitString(commit);
        compose(&committed);
    }
    m_view.sci(Sci::SCI_ENDUNDOACTION);
    if (selection)
        applySelection(origin, selection->start, selection->length);
    if (!preedit.isEmpty()) {
        QInputMethodEvent composition(preedit, attributes);
        compose(&composition);
    }
    event->accept();
}

void CEditorInputMethod::compose(QInputMethodEvent* event)
{
    // QScintilla shows a composition only when nothing is committed with it;
    // it replaces the composition before it, or else the selection. That is
    // known before the control is handed the event, since the control asks
    // for the surrounding text while it handles the event.
    const QString preedit = event->commitString().isEmpty() ? event->preeditString() : QString();
    const qint64 expectedStart =
        composing() ? m_preeditStart : qint64(m_view.sci(Sci::SCI_GETSELECTIONSTART));
    m_preedit = preedit.toUtf8();
    m_preeditStart = expectedStart;
    m_composing = !preedit.isEmpty();
    m_view.composeInControl(event);
    if (!m_composing || composing())
        return;
    // Failing that, the composition lies around the caret QScintilla put at
    // the composition's cursor.
    int cursor = 0;
    for (const QInputMethodEvent::Attribute& a : event->attributes()) {
        if (a.type == QInputMethodEvent::Cursor) {
            cursor = a.start;
            break;
        }
    }
    m_preeditStart = m_view.sci(Sci::SCI_GETCURRENTPOS) - preedit.left(cursor).toUtf8().size();
    m_composing = composing();
}

void CEditorInputMethod::replaceAroundCaret(int from, int length)
{
    const qint64 start = stepUnits(m_view.sci(Sci::SCI_GETCURRENTPOS), from);
    const qint64 end = stepUnits(start, length);
    m_view.sci(Sci::SCI_SETEMPTYSELECTION, static_cast<unsigned long>(start));
    if (end > start)
        m_view.sci(Sci::SCI_DELETERANGE, static_cast<unsigned long>(start),
                   static_cast<long>(end - start));
}

// A Selection attribute counts from the start of the text last reported.
void CEditorInputMethod::applySelection(qint64 origin, int start, int length)
{
    const qint64 anchor = stepUnits(qMin(origin, m_view.textLength()), start);
    const qint64 caret = stepUnits(anchor, length);
    m_view.sci(Sci::SCI_SETSEL, static_cast<unsigned long>(anchor), static_cast<long>(caret));
}

// --- Queries -----------------------------------------------------------------

QVariant CEditorInputMethod::query(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImCursorRectangle:
        return caretRect(m_view.sci(Sci::SCI_GETCURRENTPOS));
    case Qt::ImAnchorRectangle:
        return caretRect(m_view.sci(composing() ? Sci::SCI_GETCURRENTPOS : Sci::SCI_GETANCHOR));
    case Qt::ImReadOnly:
        return m_view.isReadOnly();
    case Qt::ImSurroundingText:
    case Qt::ImCursorPosition:
    case Qt::ImAnchorPosition:
    case Qt::ImCurrentSelection:
    case Qt::ImTextBeforeCursor:
    case Qt::ImTextAfterCursor:
        break;
    default:
        return {};
    }
    const Surrounding s = surrounding();
    const int low = qMin(s.caretOffset, s.anchorOffset);
    switch (query) {
    case Qt::ImSurroundingText:
        return s.text;
    case Qt::ImCursorPosition:
        return s.caretOffset;
    case Qt::ImAnchorPosition:
        return s.anchorOffset;
    case Qt::ImCurrentSelection:
        return s.text.mid(low, qAbs(s.caretOffset - s.anchorOffset));
    case Qt::ImTextBeforeCursor:
        return s.text.left(s.caretOffset);
    default:
        return s.text.mid(s.caretOffset);
    }
}

// The caret's line (the selection's lines), at most kContextBytes on each
// side of the caret and the selection, with the composition left out.
CEditorInputMethod::Surrounding CEditorInputMethod::surrounding() const
{
    Surrounding s;
    qint64 gap = 0;
    if (composing()) {
        s.caret = s.anchor = m_preeditStart;
        gap = m_preedit.size();
    } else {
        s.caret = m_view.sci(Sci::SCI_GETCURRENTPOS);
        s.anchor = m_view.sci(Sci::SCI_GETANCHOR);
    }
    if (s.anchor > s.caret + kSelectionBytes)
        s.anchor = snapBack(s.caret + kSelectionBytes);
    else if (s.anchor < s.caret - kSelectionBytes)
        s.anchor = snapForward(s.caret - kSelectionBytes);
    const qint64 low = qMin(s.caret, s.anchor);
    const qint64 high = qMax(s.caret, s.anchor);
    const long firstLine = m_view.sci(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(low));
    const qint64 lineStart =
        m_view.sci(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(firstLine));
    s.start = snapForward(qMax(lineStart, low - kContextBytes));
    const qint64 after = high + gap;
    const long lastLine = m_view.sci(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(after));
    const qint64 lineEnd =
        m_view.sci(Sci::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(lastLine));
    const qint64 end = snapBack(qMin(lineEnd, after + kContextBytes));

    const QString before = QString::fromUtf8(m_view.textRange(s.start, low));
    const QString selected = QString::fromUtf8(m_view.textRange(low, high));
    s.text = before + selected + QString::fromUtf8(m_view.textRange(after, end));
    s.caretOffset = before.size() + (s.caret == high ? selected.size() : 0);
    s.anchorOffset = before.size() + (s.anchor == high ? selected.size() : 0);
    return s;
}

QRect CEditorInputMethod::caretRect(qint64 pos) const
{
    const unsigned long line = static_cast<unsigned long>(
        m_view.sci(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(pos)));
    const QPoint inViewport(
        static_cast<int>(m_view.sci(Sci::SCI_POINTXFROMPOSITION, 0, static_cast<long>(pos))),
        static_cast<int>(m_view.sci(Sci::SCI_POINTYFROMPOSITION, 0, static_cast<long>(pos))));
    const int width = qMax(1, static_cast<int>(m_view.sci(Sci::SCI_GETCARETWIDTH)));
    const int height = static_cast<int>(m_view.sci(Sci::SCI_TEXTHEIGHT, line));
    return QRect(m_view.viewport()->mapTo(&m_view, inViewport), QSize(width, height));
}

// Tells the input method what moved, so that it asks again: the caret's
// place on every scroll, the text around the caret on every change. The
// view's place in its window is renewed too: Qt renews it only when the view
// itself moves, not when a document window around it does.
void CEditorInputMethod::notifyInputMethod(int updated)
{
    if (!m_view.hasFocus())
        return;
    const QPoint offset = m_view.mapTo(m_view.window(), QPoint());
    QGuiApplication::inputMethod()->setInputItemTransform(
        QTransform::fromTranslate(offset.x(), offset.y()));
    Qt::InputMethodQueries queries = Qt::ImCursorRectangle | Qt::ImAnchorRectangle;
    if (updated & (Sci::SC_UPDATE_CONTENT | Sci::SC_UPDATE_SELECTION))
        queries |= Qt::ImSurroundingText | Qt::ImCursorPosition | Qt::ImAnchorPosition |
                   Qt::ImCurrentSelection;
    QGuiApplication::inputMethod()->update(queries);
}

// --- Positions ---------------------------------------------------------------

bool CEditorInputMethod::composing() const
{
    return m_composing &&
           m_view.textRange(m_preeditStart, m_preeditStart + m_preedit.size()) == m_preedit;
}

qint64 CEditorInputMethod::stepUnits(qint64 pos, qint64 units) const
{
    const qint64 length = m_view.textLength();
    pos = qBound<qint64>(0, pos, length);
    while (units > 0 && pos < length) {
        const qint64 next = m_view.sci(Sci::SCI_POSITIONAFTER, static_cast<unsigned long>(pos));
        units -= QString::fromUtf8(m_view.textRange(pos, next)).size();
        pos = next;
    }
    while (units < 0 && pos > 0) {
        const qint64 previous =
            m_view.sci(Sci::SCI_POSITIONBEFORE, static_cast<unsigned long>(pos));
        units += QString::fromUtf8(m_view.textRange(previous, pos)).size();
        pos = previous;
    }
    return pos;
}

// The start of the character holding pos, and the first character boundary
// at or after pos.
qint64 CEditorInputMethod::snapBack(qint64 pos) const
{
    if (pos <= 0 || pos >= m_view.textLength())
        return qBound<qint64>(0, pos, m_view.textLength());
    return m_view.sci(Sci::SCI_POSITIONBEFORE, static_cast<unsigned long>(pos + 1));
}

qint64 CEditorInputMethod::snapForward(qint64 pos) const
{
    if (pos <= 0 || pos >= m_view.textLength())
        return qBound<qint64>(0, pos, m_view.textLength());
    return m_view.sci(Sci::SCI_POSITIONAFTER, static_cast<unsigned long>(pos - 1));
}
