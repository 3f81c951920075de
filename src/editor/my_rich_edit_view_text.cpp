// The view's whole text: loading it (at once or in pieces), reading it out,
// edits made while loading and the line ends typed.
#include "editor/my_rich_edit_view.h"

#include "editor/control_text.h"
#include "editor/wrap_tracker.h"

#include <new>

namespace {

// Bytes left free in the control's buffer after loading a text, besides one
// hundredth of its length.
constexpr qint64 kLoadSpare = 64 * 1024;

} // namespace

// --- Whole text --------------------------------------------------------------

bool CMyRichEditView::loadBytes(const QByteArray& bytes)
{
    const bool held = beginText(bytes.size()) && appendText(bytes);
    finishText();
    return held && textLength() == bytes.size();
}

bool CMyRichEditView::beginText(qint64 size)
{
    m_loading = true;
    m_loadFailed = false;
    sci(SCI_SETUNDOCOLLECTION, 0);
    sci(SCI_CLEARALL);
    sci(SCI_SETSTATUS, SC_STATUS_OK);
    try {
        // One buffer of the full size with room to spare: the control grows
        // a full buffer by copying it whole into one a sixth larger, which
        // for a large text would briefly need its memory twice (reading the
        // text whole, or typing the first characters, would do it).
        sci(SCI_ALLOCATE, static_cast<unsigned long>(size + kLoadSpare + size / 100));
    } catch (const std::bad_alloc&) {
        m_loadFailed = true;
    }
    m_loadFailed = m_loadFailed || sci(SCI_GETSTATUS) != SC_STATUS_OK;
    return !m_loadFailed;
}

bool CMyRichEditView::appendText(QByteArrayView piece)
{
    if (m_loadFailed)
        return false;
    try {
        // SCI_APPENDTEXT takes a length, so NUL bytes inside the text survive.
        SendScintilla(SCI_APPENDTEXT, static_cast<unsigned long>(piece.size()), piece.data());
    } catch (const std::bad_alloc&) {
        m_loadFailed = true;
    }
    m_loadFailed = m_loadFailed || sci(SCI_GETSTATUS) != SC_STATUS_OK;
    return !m_loadFailed;
}

void CMyRichEditView::finishText()
{
    if (m_loadFailed) {
        sci(SCI_SETSTATUS, SC_STATUS_OK);
        sci(SCI_CLEARALL);
    }
    sci(SCI_SETUNDOCOLLECTION, 1);
    sci(SCI_EMPTYUNDOBUFFER);
    sci(SCI_SETSAVEPOINT);
    setTypedLineEnd(lineEnd());
    sci(SCI_GOTOPOS, 0);
    m_wrap->restartFrom(0);
    m_loading = false;
    m_modified = false;
    m_insertedAt = -1;
    if (m_editObserver)
        m_editObserver->textLoaded();
}

void CMyRichEditView::setEditObserver(CTextEditObserver* observer)
{
    m_editObserver = observer;
    m_insertedAt = -1;
}

void CMyRichEditView::reportEdits()
{
    if (m_insertedAt < 0 || !m_editObserver)
        return;
    // Nothing has changed since: the bytes are where they were inserted.
    const qint64 at = m_insertedAt;
    m_insertedAt = -1;
    m_editObserver->textInserted(at, textRange(at, at + m_insertedLength));
}

bool CMyRichEditView::insertLoaded(qint64 position, QByteArrayView bytes)
{
    if (!m_loading || m_loadFailed)
        return false;
    try {
        // The target takes a length, so NUL bytes inside the text survive.
        sci(SCI_SETTARGETRANGE, static_cast<unsigned long>(position), static_cast<long>(position));
        SendScintilla(SCI_REPLACETARGET, static_cast<unsigned long>(bytes.size()), bytes.data());
    } catch (const std::bad_alloc&) {
        m_loadFailed = true;
    }
    m_loadFailed = m_loadFailed || sci(SCI_GETSTATUS) != SC_STATUS_OK;
    return !m_loadFailed;
}

void CMyRichEditView::removeLoaded(qint64 position, qint64 length)
{
    if (m_loading && !m_loadFailed)
        sci(SCI_DELETERANGE, static_cast<unsigned long>(position), static_cast<long>(length));
}

QByteArray CMyRichEditView::textBytes() const
{
    // Copied around the control's gap, which stays where the editing is.
    return textRange(0, textLength());
}

QByteArray CMyRichEditView::textInPlace() const
{
    const QByteArrayView text = ControlText::whole(*this);
    return QByteArray::fromRawData(text.data(), text.size());
}

qint64 CMyRichEditView::textLength() const
{
    return sci(SCI_GETLENGTH);
}

QByteArray CMyRichEditView::textRange(qint64 start, qint64 end) const
{
    const qint64 length = textLength();
    start = qBound<qint64>(0, start, length);
    end = qBound<qint64>(start, end, length);
    if (start == end)
        return {};
    // Copied out, so that the control's gap stays where the editing is.
    QByteArray out(end - start + 1, Qt::Uninitialized);
    SendScintilla(SCI_GETTEXTRANGE, static_cast<long>(start), static_cast<long>(end), out.data());
    out.chop(1);
    return out;
}

void CMyRichEditView::replaceBytes(qint64 start, qint64 end, const QByteArray& text)
{
    const qint64 length = textLength();
    start = qBound<qint64>(0, start, length);
    end = qBound<qint64>(start, end, length);
    const int format = start < length ? styleAt(start) : StyleDefault;
    sci(SCI_SETTARGETRANGE, static_cast<unsigned long>(start), static_cast<long>(end));
    SendScintilla(SCI_REPLACETARGET, static_cast<unsigned long>(text.size()), text.constData());
    applyStyle(start, text.size(), format);
}

QByteArray CMyRichEditView::lineEnd() const
{
    const qint64 length = textLength();
    const long firstLineEnd = sci(SCI_GETLINEENDPOSITION, 0);
    if (firstLineEnd >= length)
        return QByteArrayLiteral("\r\n");
    const char c = static_cast<char>(sci(SCI_GETCHARAT, static_cast<unsigned long>(firstLineEnd)));
    if (c == '\n')
        return QByteArrayLiteral("\n");
    if (firstLineEnd + 1 < length &&
        static_cast<char>(sci(SCI_GETCHARAT, static_cast<unsigned long>(firstLineEnd + 1))) == '\n')
        return QByteArrayLiteral("\r\n");
    return QByteArrayLiteral("\r");
}

QByteArray CMyRichEditView::typedLineEnd() const
{
    switch (sci(SCI_GETEOLMODE)) {
    case SC_EOL_LF:
        return QByteArrayLiteral("\n");
    case SC_EOL_CR:
        return QByteArrayLiteral("\r");
    default:
        return QByteArrayLiteral("\r\n");
    }
}

void CMyRichEditView::setTypedLineEnd(const QByteArray& lineEnd)
{
    sci(SCI_SETEOLMODE, lineEnd == "\n" ? SC_EOL_LF : lineEnd == "\r" ? SC_EOL_CR : SC_EOL_CRLF);
}
