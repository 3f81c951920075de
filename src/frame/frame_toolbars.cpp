#include "frame/frame_toolbars.h"

#include "core/options.h"
#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "dialogs/customize_toolbar_dlg.h"
#include "editor/drop_down_menus.h"
#include "frame/bar_state.h"
#include "frame/flat_toolbar.h"
#include "frame/main_frame.h"
#include "resources/bar_ids.h"
#include "resources/command_ids.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QEvent>
#include <QMainWindow>
#include <QMenu>

CFrameToolbars::CFrameToolbars(QMainWindow* window, StateFunction state, RouteFunction route)
    : QObject(window), m_window(window), m_state(std::move(state)), m_route(std::move(route))
{
    const bool flat = Options::kFlatbar.read() != 0;
    m_standard = createBar(BarId::StandardToolbar, QStringLiteral("標準ツールバー"), flat);
    m_extended = createBar(BarId::ExtendedToolbar, QStringLiteral("拡張ツールバー"), flat);
    m_standard->setButtons(ToolbarSets::defaults(ToolbarSets::Standard));
    m_extended->setButtons(ToolbarSets::defaults(ToolbarSets::Extended));
    window->addToolBar(Qt::TopToolBarArea, m_standard);
    window->addToolBarBreak(Qt::TopToolBarArea);
    window->addToolBar(Qt::TopToolBarArea, m_extended);
    m_extended->hide();

    m_update.setSingleShot(true);
    m_update.setInterval(kUpdateInterval);
    connect(&m_update, &QTimer::timeout, this, &CFrameToolbars::updateButtons);
    // Input anywhere in the program may change what the commands allow; so
    // may the clipboard.
    qApp->installEventFilter(this);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            &CFrameToolbars::scheduleUpdate);
    scheduleUpdate();
}

CFrameToolbars::~CFrameToolbars()
{
    qApp->removeEventFilter(this);
}

CFlatToolBar* CFrameToolbars::createBar(int barId, const QString& caption, bool flat)
{
    auto* bar = new CFlatToolBar(barId, caption, flat, m_window);
    connect(bar, &CFlatToolBar::commandTriggered, this, [this](int id) { m_route(id); });
    connect(bar, &CFlatToolBar::commandPointed, this, &CFrameToolbars::commandPointed);
    connect(bar, &CFlatToolBar::dropDownAboutToShow, this, &CFrameToolbars::fillDropDown);
    // A toolbar shown again (from the main window's own menu too) shows its
    // buttons' current states.
    connect(bar, &QToolBar::visibilityChanged, this, [this](bool visible) {
        if (visible)
            scheduleUpdate();
    });
    return bar;
}

CFlatToolBar* CFrameToolbars::bar(ToolbarSets::Bar which) const
{
    return which == ToolbarSets::Standard ? m_standard : m_extended;
}

void CFrameToolbars::registerCommands(CCommandMapOf<CMainFrame>& map)
{
    const auto toggleOf = [](ToolbarSets::Bar which) {
        return [which](CMainFrame& frame) {
            CFrameToolbars* bars = frame.toolbars();
            bars->toggle(bars->bar(which));
        };
    };
    const auto checkOf = [](ToolbarSets::Bar which) {
        return [which](CMainFrame& frame, CCmdUI& ui) {
            ui.setCheck(frame.toolbars()->bar(which)->isHidden() ? 0 : 1);
        };
    };
    map.on(Cmd::ViewToolbar, toggleOf(ToolbarSets::Standard));
    map.onUpdate(Cmd::ViewToolbar, checkOf(ToolbarSets::Standard));
    map.on(Cmd::ToggleExtendedToolbar, toggleOf(ToolbarSets::Extended));
    map.onUpdate(Cmd::ToggleExtendedToolbar, checkOf(ToolbarSets::Extended));
    map.on(Cmd::CustomizeToolbar,
           [](CMainFrame& frame) { frame.toolbars()->customize(ToolbarSets::Standard); });
    map.on(Cmd::CustomizeExtendedToolbar,
           [](CMainFrame& frame) { frame.toolbars()->customize(ToolbarSets::Extended); });
    // The drop-down menus insert into the active view. Their buttons open
    // them below themselves; the command, from anywhere else, at the pointer.
    for (int id : {int(Cmd::HeadingMenu), int(Cmd::RegisteredTagMenu), int(Cmd::ToolMenu)}) {
        map.on(id, [id](CMainFrame& frame) {
            QMenu menu(&frame);
            frame.toolbars()->fillDropDown(id, &menu);
            menu.exec(QCursor::pos());
        });
        map.onUpdate(id, [](CMainFrame& frame, CCmdUI& ui) { ui.enable(frame.activeView()); });
    }
}

void CFrameToolbars::fillDropDown(int id, QMenu* menu)
{
    menu->clear();
    for (const DropDownMenus::Item& item : DropDownMenus::items(id)) {
        QAction* action = menu->addAction(item.second);
        const int command = item.first;
        action->setEnabled(command != 0 && m_state(command).isEnabled());
        connect(action, &QAction::triggered, this, [this, command] { m_route(command); });
    }
}

void CFrameToolbars::toggle(CFlatToolBar* bar)
{
    bar->setVisible(bar->isHidden());
    updateButtons();
}

void CFrameToolbars::load(QWidget* statusBar)
{
    m_standard->setButtons(ToolbarSets::read(ToolbarSets::Standard));
    m_extended->setButtons(ToolbarSets::read(ToolbarSets::Extended));
    BarState::load(m_window, {{BarId::StandardToolbar, m_standard},
                              {BarId::ExtendedToolbar, m_extended},
                              {BarId::StatusBar, statusBar}});
    scheduleUpdate();
}

void CFrameToolbars::save(QWidget* statusBar) const
{
    ProfileValues values = BarState::values(m_window, {{BarId::StandardToolbar, m_standard},
                                                       {BarId::ExtendedToolbar, m_extended},
                                                       {BarId::StatusBar, statusBar}});
    values << ToolbarSets::value(ToolbarSets::Standard, m_standard->buttons())
           << ToolbarSets::value(ToolbarSets::Extended, m_extended->buttons());
    writeProfileValues(values);
}

void CFrameToolbars::updateButtons()
{
    m_update.stop();
    for (CFlatToolBar* bar : {m_standard, m_extended})
        if (!bar->isHidden())
            bar->updateButtons(m_state);
}

void CFrameToolbars::scheduleUpdate()
{
    if (!m_update.isActive())
        m_update.start();
}

void CFrameToolbars::customize(ToolbarSets::Bar which)
{
    CFlatToolBar* target = bar(which);
    CCustomizeToolbarDlg dialog(which == ToolbarSets::Standard
                                    ? QStringLiteral("標準ツールバーの変更")
                                    : QStringLiteral("拡張ツールバーの変更"),
                                target->buttons(), ToolbarSets::defaults(which), m_window);
    if (UiSeam::execDialog(dialog) != QDialog::Accepted)
        return;
    target->setButtons(dialog.buttons());
    updateButtons();
}

bool CFrameToolbars::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonRelease:
    case QEvent::FocusIn:
    case QEvent::WindowActivate:
    case QEvent::InputMethod:
        scheduleUpdate();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
