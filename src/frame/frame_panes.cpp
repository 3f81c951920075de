#include "frame/frame_panes.h"

#include "core/options.h"
#include "document/marquill_doc.h"
#include "editor/marquill_view.h"
#include "frame/check_pane.h"
#include "frame/child_frame.h"
#include "frame/main_frame.h"
#include "resources/command_ids.h"
#include "widgets/preview_pane.h"
#include "widgets/preview_updater.h"

#include <QDockWidget>
#include <QTimer>

namespace {

QDockWidget* dock(const QString& title, const QString& name, QWidget* content,
                  Qt::DockWidgetArea area, CMainFrame* frame)
{
    auto* d = new QDockWidget(title, frame);
    d->setObjectName(name); // its place is kept with the window's layout
    d->setWidget(content);
    frame->addDockWidget(area, d);
    d->hide();
    return d;
}

// The page of a document window: the text as the view holds it, at the
// address of the document's file.
CPreviewUpdater::Page pageOf(QObject* document)
{
    CPreviewUpdater::Page page;
    if (auto* child = qobject_cast<CChildFrame*>(document)) {
        page.html = child->view()->textBytes();
        if (!child->doc()->pathName().isEmpty())
            page.url = QUrl::fromLocalFile(child->doc()->pathName());
    }
    return page;
}

} // namespace

CFramePanes::CFramePanes(CMainFrame* frame)
    : QObject(frame), m_frame(frame), m_check(new CCheckPane), m_preview(new CPreviewPane),
      m_updater(new CPreviewUpdater(pageOf, this))
{
    m_checkDock = dock(QStringLiteral("文書のチェック"), QStringLiteral("CheckDock"), m_check,
                       Qt::BottomDockWidgetArea, frame);
    m_previewDock = dock(QStringLiteral("プレビュー"), QStringLiteral("PreviewDock"), m_preview,
                         Qt::RightDockWidgetArea, frame);
    connect(m_updater, &CPreviewUpdater::drawPage, m_preview, &CPreviewPane::showPage);
    connect(m_updater, &CPreviewUpdater::drawNoDocument, m_preview, &CPreviewPane::showNoDocument);
    connect(m_previewDock, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        // Drawn from the event loop: a preview shown with the window at
        // start-up loads its engine after the window is up.
        QTimer::singleShot(0, this, [this, visible] { m_updater->setShown(visible); });
    });
    applyOptions();
}

void CFramePanes::registerCommands(CCommandMapOf<CMainFrame>& map)
{
    map.on(Cmd::CheckDocument, [](CMainFrame& frame) { frame.panes()->checkActiveDocument(); });
    map.onUpdate(Cmd::CheckDocument,
                 [](CMainFrame& frame, CCmdUI& ui) { ui.enable(frame.activeView() != nullptr); });
    map.on(Cmd::PreviewPane, [](CMainFrame& frame) { frame.panes()->togglePreview(); });
    map.onUpdate(Cmd::PreviewPane, [](CMainFrame& frame, CCmdUI& ui) {
        ui.setCheck(frame.panes()->m_previewDock->isHidden() ? 0 : 1);
    });
}

void CFramePanes::follow(CChildFrame* child)
{
    if (m_active && m_active->doc())
        disconnect(m_active->doc(), nullptr, this, nullptr);
    m_active = child;
    if (child) {
        const auto changed = [this, child] { m_updater->documentChanged(child); };
        connect(child->doc(), &CMyRichEditDoc::edited, this, changed);
        connect(child->doc(), &CMyRichEditDoc::opened, this, changed); // read again
        connect(child->doc(), &CMyRichEditDoc::pathChanged, this, changed);
    }
    m_updater->setActiveDocument(child);
}

void CFramePanes::applyOptions()
{
    m_preview->setTrusted(Options::kPreviewTrusted.read() != 0);
    m_updater->redrawNow();
}

void CFramePanes::checkActiveDocument()
{
    CMarquillView* view = m_frame->activeView();
    if (!view)
        return;
    m_checkDock->show();
    m_check->check(view);
}

void CFramePanes::togglePreview()
{
    m_previewDock->setVisible(m_previewDock->isHidden());
    // Docked for the first time, the pane takes its content's small size
    // hint; a page needs room.
    if (!m_previewDock->isHidden() && !m_previewDock->isFloating() &&
        m_previewDock->width() < m_frame->width() / 4)
        m_frame->resizeDocks({m_previewDock}, {m_frame->width() * 2 / 5}, Qt::Horizontal);
}
