#include "frame/main_frame.h"

#include "commands/app_dialog_commands.h"
#include "commands/help_menu.h"
#include "core/settings_store.h"
#include "document/marquill_doc.h"
#include "editor/marquill_view.h"
#include "frame/caret_pane.h"
#include "frame/child_frame.h"
#include "frame/document_manager.h"
#include "frame/dynamic_menus.h"
#include "frame/encoding_pane.h"
#include "frame/find_in_files_commands.h"
#include "frame/frame_panes.h"
#include "frame/frame_toolbars.h"
#include "frame/last_session.h"
#include "frame/menu_builder.h"
#include "frame/slot_list_commands.h"
#include "frame/view_option_commands.h"
#include "frame/window_arrangement.h"
#include "frame/window_placement.h"
#include "resources/bar_ids.h"
#include "resources/command_ids.h"
#include "resources/command_table.h"
#include "resources/resource_tables.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QToolBar>
#include <QUrl>

namespace {
constexpr StringSetting kWindowPos{"Settings", "WindowPos", ""};

const QString kReady = QStringLiteral("レディ");
// The toolbars' right-click menu in the menu table.
constexpr int kToolbarMenu = 156;
} // namespace

CMainFrame::CMainFrame(CDocumentManager* documents, CCommandTarget* application)
    : m_documents(documents), m_application(application), m_mdi(new QMdiArea(this))
{
    setWindowTitle(QStringLiteral("Marquill"));
    setObjectName(QStringLiteral("MainFrame"));
    m_mdi->setObjectName(QStringLiteral("MdiArea"));
    m_mdi->setActivationOrder(QMdiArea::ActivationHistoryOrder);
    setCentralWidget(m_mdi);
    setAcceptDrops(true);
    createStatusBar();
    createAccelerators();
    // Before the stored layout is read, which places the panes.
    m_panes = new CFramePanes(this);
    createToolbars();
    updateMenuBar();
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
        // The window that becomes active in place of a closed maximised one
        // is maximised too, as long as document windows open maximised.
        if (sub && m_maximizeNextActive) {
            m_maximizeNextActive = false;
            if (CChildFrame::showCmd() == 3 && !sub->isMaximized() && !sub->isMinimized())
                sub->showMaximized();
        }
        updateCaption();
        m_toolbars->scheduleUpdate();
        CChildFrame* child = activeChild();
        m_paneEncoding->setDocument(child ? child->doc() : nullptr);
        m_caretPane->follow(activeView());
        m_panes->follow(child);
    });
    resize(800, 600);
}

CMainFrame::~CMainFrame()
{
    // The MDI area, destroyed with the widget base, still reports its last
    // window's deactivation; this frame is gone by then.
    disconnect(m_mdi, nullptr, this, nullptr);
}

// --- Routing -----------------------------------------------------------------------

CChildFrame* CMainFrame::activeChild() const
{
    QMdiSubWindow* sub = m_mdi->activeSubWindow();
    if (!sub && !m_mdi->subWindowList().isEmpty())
        sub = m_mdi->currentSubWindow();
    return qobject_cast<CChildFrame*>(sub);
}

CMarquillView* CMainFrame::activeView() const
{
    CChildFrame* child = activeChild();
    return child ? child->view() : nullptr;
}

QList<CCommandTarget*> CMainFrame::routeChain() const
{
    QList<CCommandTarget*> chain;
    if (CChildFrame* child = activeChild()) {
        chain << child->view() << child->doc() << child;
    }
    chain << const_cast<CMainFrame*>(this);
    if (m_application)
        chain << m_application;
    return chain;
}

bool CMainFrame::routeCommand(int id)
{
    Q_EMIT commandOffered(id);
    const bool done = CommandRouting::executeIfEnabled(routeChain(), id);
    if (m_toolbars)
        m_toolbars->scheduleUpdate();
    return done;
}

CCmdUI CMainFrame::commandState(int id) const
{
    CCmdUI ui(id);
    CommandRouting::update(routeChain(), ui);
    return ui;
}

void CMainFrame::createAccelerators()
{
    // Accelerators are separate from the menu items, as in an accelerator
    // table: a disabled command's key does nothing, and a key works whether
    // or not its command stands in the current menu bar.
    for (const Resources::Accelerator& acc : Resources::accelerators()) {
        auto* action = new QAction(this);
        // The keypad's Enter key is the same key as Return here, as it is to
        // an accelerator table.
        const QKeyCombination key = acc.key[0];
        if (key.key() == Qt::Key_Return)
            action->setShortcuts({acc.key, QKeySequence(key.keyboardModifiers() | Qt::Key_Enter)});
        else
            action->setShortcut(acc.key);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setData(acc.commandId);
        const int id = acc.commandId;
        connect(action, &QAction::triggered, this, [this, id] { routeCommand(id); });
        addAction(action);
    }

    // The keys of the platform's multiple-document windows: Ctrl+F4 closes the
    // active document window (asking about unsaved changes), Ctrl+F6 and
    // Ctrl+Shift+F6 go to the next and the previous one.
    auto windowKey = [this](QKeyCombination key, auto slot) {
        auto* action = new QAction(this);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
    };
    // A document window's own menu carries Ctrl+F4 where the platform's close
    // key is Ctrl+F4; elsewhere the key is added here.
    const QKeySequence ctrlF4(Qt::CTRL | Qt::Key_F4);
    if (!QKeySequence::keyBindings(QKeySequence::Close).contains(ctrlF4)) {
        windowKey(Qt::CTRL | Qt::Key_F4, [this] {
            if (CChildFrame* child = activeChild())
                child->close();
        });
    }
    windowKey(Qt::CTRL | Qt::Key_F6, [this] { m_mdi->activateNextSubWindow(); });
    windowKey(Qt::CTRL | Qt::SHIFT | Qt::Key_F6, [this] { m_mdi->activatePreviousSubWindow(); });
}

// --- Menus ---------------------------------------------------------------------------

void CMainFrame::updateMenuBar()
{
    const int wanted = (m_documents && !m_documents->documents().isEmpty()) ? 129 : 128;
    if (wanted == m_currentMenuBar)
        return;
    m_currentMenuBar = wanted;
    buildMenuBar(wanted);
}

QAction* CMainFrame::commandAction(int id, const QString& caption, QObject* parent)
{
    auto* action = new QAction(caption, parent);
    action->setData(id);
    action->setStatusTip(Resources::prompt(id));
    connect(action, &QAction::triggered, this, [this, id] { routeCommand(id); });
    connect(action, &QAction::hovered, this, [this, id] { setStatusItem(id); });
    return action;
}

void CMainFrame::buildMenuBar(int menuBarId)
{
    QMenuBar* bar = menuBar();
    bar->clear();
    MenuBuilder::fillMenuBar(bar, Resources::menuBar(menuBarId),
                             [this](int id, const QString& caption, QObject* parent) {
                                 return commandAction(id, caption, parent);
                             });
    const QList<QMenu*> menus = bar->findChildren<QMenu*>();
    for (QMenu* menu : menus) {
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { updateMenu(menu); });
        connect(menu, &QMenu::aboutToHide, this, [this] { setStatusItem(0); });
        // An entry without a command (a sub-menu, a document window) has no
        // tag; command items set theirs through their own hovered signal.
        connect(menu, &QMenu::hovered, this, [this](QAction* action) {
            if (MenuBuilder::commandId(action) == 0)
                setStatusItem(0);
        });
    }
}

void CMainFrame::updateMenu(QMenu* menu)
{
    DynamicMenus::rebuild(menu, m_documents ? &m_documents->recentFileList() : nullptr, m_mdi,
                          [this](int id, const QString& caption, QObject* parent) {
                              return commandAction(id, caption, parent);
                          });
    for (QAction* a : menu->actions()) {
        const int id = MenuBuilder::commandId(a);
        if (id == 0 || a->menu())
            continue;
        const CCmdUI ui = commandState(id);
        a->setEnabled(ui.isEnabled());
        a->setCheckable(ui.check() > 0 || a->isCheckable());
        if (a->isCheckable())
            a->setChecked(ui.check() == 1);
    }
}

QMenu* CMainFrame::createPopupMenu()
{
    auto* menu = new QMenu(this);
    MenuBuilder::fillMenu(menu, Resources::menuBar(kToolbarMenu).value(0).items,
                          [this](int id, const QString& caption, QObject* parent) {
                              return commandAction(id, caption, parent);
                          });
    for (QMenu* sub : menu->findChildren<QMenu*>())
        connect(sub, &QMenu::aboutToShow, this, [this, sub] { updateMenu(sub); });
    connect(menu, &QMenu::aboutToHide, this, [this] { setStatusItem(0); });
    return menu;
}

// --- Window-level commands -----------------------------------------------------------

CCommandMapOf<CMainFrame>& CMainFrame::commands()
{
    static CCommandMapOf<CMainFrame> map = [] {
        CCommandMapOf<CMainFrame> m;
        const auto haveWindows = [](CMainFrame& frame, CCmdUI& ui) {
            ui.enable(!frame.m_mdi->subWindowList().isEmpty());
        };
        m.on(Cmd::WindowCascade, &CMainFrame::cascade);
        m.onUpdate(Cmd::WindowCascade, haveWindows);
        m.on(Cmd::WindowTileHorz, [](CMainFrame& frame) { frame.tile(true); });
        m.onUpdate(Cmd::WindowTileHorz, haveWindows);
        m.on(Cmd::WindowTileVert, [](CMainFrame& frame) { frame.tile(false); });
        m.onUpdate(Cmd::WindowTileVert, haveWindows);
        m.on(Cmd::WindowArrange, &CMainFrame::arrangeIcons);
        m.onUpdate(Cmd::WindowArrange, haveWindows);
        m.on(Cmd::HomePage, [](CMainFrame& frame) { HelpMenu::openHomePage(&frame); });
        m.on(Cmd::Options, [](CMainFrame& frame) {
            // The toolbars read their look at every paint.
            if (runOptionSheet(&frame, frame.views())) {
                for (QToolBar* bar : frame.findChildren<QToolBar*>())
                    bar->update();
                frame.m_panes->applyOptions();
            }
        });
        m.on(Cmd::ViewStatusBar, [](CMainFrame& frame) {
            frame.statusBar()->setVisible(!frame.statusBar()->isVisible());
        });
        m.onUpdate(Cmd::ViewStatusBar, [](CMainFrame& frame, CCmdUI& ui) {
            ui.setCheck(frame.statusBar()->isVisible() ? 1 : 0);
        });
        registerSlotListCommands(m);
        registerFindInFilesCommands(m);
        registerViewOptionCommands(m);
        CFrameToolbars::registerCommands(m);
        CFramePanes::registerCommands(m);
        return m;
    }();
    return map;
}

QList<CMarquillView*> CMainFrame::views() const
{
    QList<CMarquillView*> list;
    for (QMdiSubWindow* sub : m_mdi->subWindowList(QMdiArea::CreationOrder))
        if (auto* child = qobject_cast<CChildFrame*>(sub))
            list.append(child->view());
    return list;
}

QList<WindowArrangement::Window> CMainFrame::windowStates() const
{
    QList<WindowArrangement::Window> states;
    for (const QMdiSubWindow* sub : m_mdi->subWindowList(QMdiArea::CreationOrder))
        states.append({sub->isMinimized(), sub->isVisible(), sub->size()});
    return states;
}

void CMainFrame::tile(bool horizontal)
{
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList(QMdiArea::CreationOrder);
    const auto placements =
        WindowArrangement::tile(windowStates(), m_mdi->viewport()->rect(), horizontal);
    for (const WindowArrangement::Placement& p : placements) {
        QMdiSubWindow* sub = windows[p.index];
        if (sub->isMaximized())
            sub->showNormal();
        sub->setGeometry(p.rect);
    }
}

// Qt's own cascade would shrink the windows to their small size hints.
void CMainFrame::cascade()
{
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    QMdiSubWindow* active = m_mdi->activeSubWindow();
    const int titleBar =
        windows.first()->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, windows.first());
    const auto placements = WindowArrangement::cascade(windowStates(), int(windows.indexOf(active)),
                                                       m_mdi->viewport()->rect(), titleBar);
    for (const WindowArrangement::Placement& p : placements) {
        QMdiSubWindow* sub = windows[p.index];
        if (sub->isMaximized())
            sub->showNormal();
        sub->setGeometry(p.rect);
        sub->raise();
    }
    if (active && !placements.isEmpty())
        m_mdi->setActiveSubWindow(active);
}

void CMainFrame::arrangeIcons()
{
    const QList<QMdiSubWindow*> windows = m_mdi->subWindowList(QMdiArea::CreationOrder);
    for (const auto& p : WindowArrangement::arrangeIcons(windowStates(), m_mdi->viewport()->rect()))
        windows[p.index]->move(p.rect.topLeft());
}

void CMainFrame::addChild(CChildFrame* child)
{
    m_maximizeNextActive = false;
    // A document window shown in its normal state takes a usable share of the
    // area, as a new window does on a desktop, not the editor's small size hint.
    if (m_mdi->isVisible()) {
        const QSize area = m_mdi->viewport()->size();
        child->resize(area.width() * 3 / 4, area.height() * 3 / 4);
    }
    m_mdi->addSubWindow(child);
    connect(child, &QWidget::windowTitleChanged, this, [this] { updateCaption(); });
    connect(child, &CChildFrame::closed, this,
            [this](CChildFrame* closed) { m_maximizeNextActive = closed->isMaximized(); });
    child->showFirstTime();
    m_mdi->setActiveSubWindow(child);
    updateMenuBar();
    updateCaption();
}

void CMainFrame::updateCaption()
{
    CChildFrame* child = activeChild();
    const CMarquillDoc* doc = child ? child->doc() : nullptr;
    const QString caption =
        doc ? QStringLiteral("Marquill - ") + doc->title() : QStringLiteral("Marquill");
    if (windowTitle() == caption || m_settingCaption)
        return;
    // A maximised document window watches this window's title and appends
    // "- [its title]" to every new one. Filters run newest first, so this
    // window's own filter, put in front again here, keeps the change from it.
    removeEventFilter(this);
    installEventFilter(this);
    m_settingCaption = true;
    setWindowTitle(caption);
    m_settingCaption = false;
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == this && m_settingCaption && e->type() == QEvent::WindowTitleChange)
        return true;
    return QMainWindow::eventFilter(watched, e);
}

// --- Status bar ---------------------------------------------------------------------

void CMainFrame::createToolbars()
{
    m_toolbars = new CFrameToolbars(
        this, [this](int id) { return commandState(id); }, [this](int id) { routeCommand(id); });
    connect(m_toolbars, &CFrameToolbars::commandPointed, this, &CMainFrame::setStatusItem);
    m_toolbars->load(statusBar());
}

void CMainFrame::createStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    // The panes are at least as wide as their nominal widths, and wide
    // enough for the longest text they show in this font.
    auto pane = [bar](int id, int width, const QStringList& samples) {
        auto* label = new QLabel(bar);
        label->setObjectName(QStringLiteral("Pane%1").arg(id));
        // The tag pane shows tags such as "<H1>": as rich text they would vanish.
        label->setTextFormat(Qt::PlainText);
        for (const QString& text : samples)
            width = qMax(width, label->fontMetrics().horizontalAdvance(text) + 8);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        // A fixed size: a new text (the caret pane's, at every key) repaints
        // the pane alone instead of laying out and repainting the whole bar.
        label->setFixedSize(width, label->sizeHint().height());
        bar->addPermanentWidget(label);
        return label;
    };
    m_paneTag =
        pane(BarId::PaneTag, 90, {QStringLiteral("<HTML><BODY>"), QStringLiteral("<UL><OL><DL>")});
    m_paneLevel =
        pane(BarId::PaneHtmlLevel, 50, {QStringLiteral("HTML 3.2"), QStringLiteral("NN & IE")});
    // Wide enough for a line and column of all their digits, which are wider
    // than the blanks that pad them.
    m_paneCaret = pane(BarId::PaneCaret, 80,
                       {QStringLiteral("%1 : %2").arg(QString(10, u'0'), QString(5, u'0'))});
    m_paneEncoding = new CEncodingPane(bar);
    bar->addPermanentWidget(m_paneEncoding);
    m_caretPane = new CCaretPane(m_paneCaret, this);
    bar->showMessage(kReady);
}

void CMainFrame::setStatusItem(int commandId)
{
    m_paneTag->setText(Resources::statusTagText(commandId));
    m_paneLevel->setText(Resources::htmlLevelText(commandId));
}

bool CMainFrame::event(QEvent* e)
{
    if (e->type() == QEvent::WindowTitleChange && !m_settingCaption) {
        // A maximised document window writes its own title into the main
        // caption; the caption stays "Marquill - " + the document's title.
        const bool handled = QMainWindow::event(e);
        updateCaption();
        return handled;
    }
    if (e->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(e)->tip();
        statusBar()->showMessage(tip.isEmpty() ? kReady : tip);
        return true;
    }
    return QMainWindow::event(e);
}

// --- Placement, close, drops -----------------------------------------------------

void CMainFrame::showWithSavedPlacement(int showCmd)
{
    WindowPlacement placement;
    if (!WindowPlacement::parse(kWindowPos.read(), placement)) {
        if (const QScreen* s = screen())
            setGeometry(WindowPlacement::defaultRect(s->availableGeometry()));
        show();
        return;
    }
    if (showCmd != 1)
        placement.showCmd = showCmd;
    placement.applyTo(this);
}

void CMainFrame::saveWindowPlacement()
{
    kWindowPos.write(WindowPlacement::of(this).toString());
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // Written before the documents are asked about, so they stay written
    // even when the user then cancels the close.
    saveWindowPlacement();
    m_toolbars->save(statusBar());
    // Each question about unsaved changes brings its document to the front.
    const QPointer<CChildFrame> active = activeChild();
    if (m_documents && !m_documents->saveAllModified()) {
        event->ignore();
        return;
    }
    if (m_documents) {
        LastSession::remember(*m_documents, active);
        m_documents->closeAllDocumentsWithoutAsking();
    }
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    if (!m_documents)
        return;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            m_documents->openDocumentFile(url.toLocalFile());
    event->acceptProposedAction();
}
