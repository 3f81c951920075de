#pragma once

#include "core/command_target.h"

#include <QObject>
#include <QPointer>

class CCheckPane;
class CChildFrame;
class CMainFrame;
class CPreviewPane;
class CPreviewUpdater;
class QDockWidget;

// The main window's two docked panes: the check pane at the bottom and the
// preview beside the documents. Both are created hidden with the window, so
// that the stored window layout shows them where they were; the preview's
// browser engine is loaded only when the preview is first shown. The
// preview follows the active document and its typing.
class CFramePanes : public QObject
{
    Q_OBJECT

public:
    explicit CFramePanes(CMainFrame* frame);

    // 文書のチェック and the preview's show/hide, carried by the main frame.
    static void registerCommands(CCommandMapOf<CMainFrame>& map);

    // The document window that became active (nullptr: none).
    void follow(CChildFrame* child);
    // Takes the preview's setting from the settings store again.
    void applyOptions();

    QDockWidget* checkDock() const { return m_checkDock; }
    QDockWidget* previewDock() const { return m_previewDock; }
    CCheckPane* checkPane() const { return m_check; }
    CPreviewPane* previewPane() const { return m_preview; }

private:
    void checkActiveDocument();
    void togglePreview();

    CMainFrame* m_frame;
    QDockWidget* m_checkDock;
    QDockWidget* m_previewDock;
    CCheckPane* m_check;
    CPreviewPane* m_preview;
    CPreviewUpdater* m_updater;
    QPointer<CChildFrame> m_active;
};
