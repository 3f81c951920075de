#include "widgets/preview_frame.h"

#include <QPainter>

CPreviewFrame::CPreviewFrame(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
}

void CPreviewFrame::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (!m_painter)
        return;
    QPainter painter(this);
    const QRect inner = rect().adjusted(1, 1, -1, -1);
    painter.setClipRect(inner);
    m_painter(painter, inner);
}
