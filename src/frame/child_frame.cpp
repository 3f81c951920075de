#include "frame/child_frame.h"

#include "document/marquill_doc.h"
#include "editor/marquill_view.h"
#include "frame/main_frame.h"
#include "resources/command_ids.h"

#include <QCloseEvent>
#include <QWindowStateChangeEvent>

namespace {
int g_showCmd = 3;
} // namespace

CChildFrame::CChildFrame(CMarquillDoc* doc, CMarquillView* view, QWidget* parent)
    : QMdiSubWindow(parent), m_doc(doc), m_view(view)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view);
    setWindowTitle(doc->title());
    connect(doc, &CMyRichEditDoc::titleChanged, this, &QWidget::setWindowTitle);
    connect(view, &CMyRichEditView::commandRequested, this, [this](int id) {
        if (auto* frame = qobject_cast<CMainFrame*>(window()))
            frame->routeCommand(id);
    });
}

CChildFrame::~CChildFrame() = default;

CCommandMapOf<CChildFrame>& CChildFrame::commands()
{
    static CCommandMapOf<CChildFrame> map = [] {
        CCommandMapOf<CChildFrame> m;
        m.on(Cmd::FileClose, [](CChildFrame& frame) { frame.close(); });
        return m;
    }();
    return map;
}

int CChildFrame::showCmd()
{
    return g_showCmd;
}

void CChildFrame::setShowCmd(int showCmd)
{
    g_showCmd = showCmd;
}

void CChildFrame::showFirstTime()
{
    if (showCmd() == 3)
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
    if (!m_forceClose && m_doc && !m_doc->saveModified()) {
        event->ignore();
        return;
    }
    event->accept();
    Q_EMIT closed(this);
}

void CChildFrame::changeEvent(QEvent* event)
{
    // While one document window is being maximised, the area restores the
    // one maximised before it; that is not the user's choice and must not
    // change the shared state.
    static const CChildFrame* maximizing = nullptr;
    const bool stateChange = event->type() == QEvent::WindowStateChange;
    const bool outer = stateChange && isMaximized() && !maximizing;
    if (outer)
        maximizing = this;
    QMdiSubWindow::changeEvent(event);
    if (outer)
        maximizing = nullptr;
    if (!stateChange || !m_shown || !isVisible() || (maximizing && maximizing != this))
        return;
    // Becoming active or inactive is no change of size.
    const Qt::WindowStates sizeStates = Qt::WindowMaximized | Qt::WindowMinimized;
    const Qt::WindowStates old = static_cast<QWindowStateChangeEvent*>(event)->oldState();
    if ((old & sizeStates) == (windowState() & sizeStates))
        return;
    // Minimising leaves the shared state as it is.
    if (isMaximized())
        setShowCmd(3);
    else if (!isMinimized())
        setShowCmd(1);
}
