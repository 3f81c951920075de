#include "frame/child_frame.h"

#include "app/marquill_app.h"
#include "document/marquill_doc.h"
#include "editor/marquill_view.h"
#include "resources/command_ids.h"

#include <QCloseEvent>

CChildFrame::CChildFrame(CMarquillDoc* doc, CMarquillView* view, QWidget* parent)
    : QMdiSubWindow(parent), m_doc(doc), m_view(view)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view);
    setWindowTitle(doc->title());
    connect(doc, &CMyRichEditDoc::titleChanged, this, &QWidget::setWindowTitle);
    // Closing asks about unsaved changes first (closeEvent).
    onCommand(Cmd::FileClose, [this] { close(); });
}

CChildFrame::~CChildFrame() = default;

void CChildFrame::showFirstTime()
{
    if (CMarquillApp::childShowCmd() == 3)
        showMaximized();
    else
        showNormal();
    m_shown = true;
    m_view->setFocus();
}

void CChildFrame::closeWithoutAsking()
{
    m_forceClose = true;
    close();
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    if (!m_forceClose && !m_doc->SaveModified()) {
        event->ignore();
        return;
    }
    event->accept();
    Q_EMIT closed(this);
}

void CChildFrame::changeEvent(QEvent* event)
{
    QMdiSubWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !m_shown || !isVisible())
        return;
    // Minimising leaves the shared state as it is.
    if (isMaximized())
        CMarquillApp::setChildShowCmd(3);
    else if (!isMinimized())
        CMarquillApp::setChildShowCmd(1);
}
