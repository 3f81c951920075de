#pragma once

#include "core/command_target.h"
#include "frame/window_arrangement.h"

#include <QMainWindow>

class CCaretPane;
class CChildFrame;
class CDocumentManager;
class CFramePanes;
class CFrameToolbars;
class CEncodingPane;
class QAction;
class CMarquillView;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

// The main window: the document windows in an MDI area, the menu bar (128
// without a document, 129 with one), the accelerators, the status bar with
// its prompt pane and panes 1-3, and the window-level commands. Every
// command from a menu or an accelerator is routed from here through the
// active view, its document, its window, this frame and the application
// (given at construction with the document manager; either may be null).
class CMainFrame : public QMainWindow, public CCommandTarget
{
    Q_OBJECT

public:
    explicit CMainFrame(CDocumentManager* documents = nullptr,
                        CCommandTarget* application = nullptr);
    ~CMainFrame() override;

    // The window-level commands: window arrangement, the options sheet, the
    // registered-tag and tool lists, the toolbars and the status bar, the
    // home page.
    static CCommandMapOf<CMainFrame>& commands();
    const CCommandMap& commandMap() const override { return commands(); }

    QMdiArea* mdiArea() const { return m_mdi; }
    // The open documents (null in a frame made without them).
    CDocumentManager* documentManager() const { return m_documents; }
    CChildFrame* activeChild() const;
    CMarquillView* activeView() const;
    void addChild(CChildFrame* child);

    // The targets a command is offered to, in order.
    QList<CCommandTarget*> routeChain() const;
    // Carries out a command if its update handler enables it.
    bool routeCommand(int id);
    // Enabled state and check mark of a command, as menus and toolbars show it.
    CCmdUI commandState(int id) const;

    // Shows the window with the stored placement ("WindowPos"); a show
    // command other than 1 (normal) overrides the stored one.
    void showWithSavedPlacement(int showCmd);
    void saveWindowPlacement();

    // Panes 1 and 2: the tag and HTML level of a command (0 clears them).
    void setStatusItem(int commandId);
    // Pane 3 (caret position), filled by the editor view.
    QLabel* caretPane() const { return m_paneCaret; }
    // The encoding pane at the right end, showing the active document's.
    CEncodingPane* encodingPane() const { return m_paneEncoding; }

    // Menu bar 128 or 129, by whether a document is open.
    void updateMenuBar();

    // The standard and the extended toolbar.
    CFrameToolbars* toolbars() const { return m_toolbars; }
    // The check pane and the preview, docked in this window.
    CFramePanes* panes() const { return m_panes; }
    // The toolbars' right-click menu (menu 156), owned by the caller.
    QMenu* createPopupMenu() override;

Q_SIGNALS:
    // A menu item or accelerator offered a command to the routing.
    void commandOffered(int id);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createStatusBar();
    void createToolbars();
    void createAccelerators();
    // A menu item for a command: its prompt as status tip, routed when chosen,
    // panes 1 and 2 filled while it is pointed at.
    QAction* commandAction(int id, const QString& caption, QObject* parent);
    void buildMenuBar(int menuBarId);
    void updateMenu(QMenu* menu);
    // The document windows as the arrangement rules see them, in creation order.
    QList<WindowArrangement::Window> windowStates() const;
    void tile(bool horizontal);
    void cascade();
    void arrangeIcons();
    void updateCaption();
    // The views of every document window.
    QList<CMarquillView*> views() const;

    CDocumentManager* m_documents;
    CCommandTarget* m_application;
    QMdiArea* m_mdi;
    CFrameToolbars* m_toolbars = nullptr;
    CFramePanes* m_panes = nullptr;
    QLabel* m_paneTag = nullptr;
    QLabel* m_paneLevel = nullptr;
    QLabel* m_paneCaret = nullptr;
    CEncodingPane* m_paneEncoding = nullptr;
    CCaretPane* m_caretPane = nullptr;
    int m_currentMenuBar = 0;
    bool m_settingCaption = false;
    bool m_maximizeNextActive = false;
};
