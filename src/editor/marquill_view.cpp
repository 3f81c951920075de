#include "editor/marquill_view.h"

#include "document/marquill_doc.h"

CMarquillView::CMarquillView(QWidget* parent) : CMyRichEditView(parent) {}

CMarquillView::~CMarquillView() = default;

CMarquillDoc* CMarquillView::marquillDocument() const
{
    return static_cast<CMarquillDoc*>(document());
}

void CMarquillView::setLastInsertion(const QByteArray& start, const QByteArray& end, int wasPair)
{
    m_lastStart = start;
    m_lastEnd = end;
    m_lastWasPair = wasPair;
}

void CMarquillView::WrapSelection(const QByteArray& start, const QByteArray& end, bool)
{
    qint64 s, e;
    getSel(s, e);
    const QByteArray selected = selectedBytes();
    replaceSel(start + selected + end, false);
    if (s == e)
        setSel(s + start.size(), s + start.size());
    else
        setSel(s + start.size(), e + start.size());
    setLastInsertion(start, end, 1);
}

void CMarquillView::InsertText(const QByteArray& text, bool)
{
    replaceSel(text, false);
    m_lastStart = text;
    m_lastWasPair = 0;
}

void CMarquillView::ColorWholeDocument() {}
