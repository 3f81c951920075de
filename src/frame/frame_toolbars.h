#pragma once

#include "core/command_target.h"
#include "frame/toolbar_sets.h"

#include <QObject>
#include <QTimer>
#include <functional>

class CFlatToolBar;
class CMainFrame;
class QMainWindow;
class QMenu;

// The main window's two toolbars: created with their default sets, their
// stored layouts and bar state read at start-up and written on request,
// their buttons kept up to date, the drop-down menus, and the commands that
// show, hide and customise them.
//
// Button states are brought up to date shortly after the user's input, a
// command or a change of the active window, never more than once per
// interval, and only for shown toolbars.
class CFrameToolbars : public QObject
{
    Q_OBJECT

public:
    using StateFunction = std::function<CCmdUI(int id)>;
    using RouteFunction = std::function<void(int id)>;

    // Creates both toolbars in window, docked at the top, the extended one
    // hidden on a row below the standard one. state answers the update
    // handlers, route carries out commands.
    CFrameToolbars(QMainWindow* window, StateFunction state, RouteFunction route);
    ~CFrameToolbars() override;

    CFlatToolBar* standard() const { return m_standard; }
    CFlatToolBar* extended() const { return m_extended; }
    CFlatToolBar* bar(ToolbarSets::Bar which) const;

    // Show/hide, customise and the drop-down commands, carried by the main
    // frame's toolbars; the drop-downs are enabled while a view is active.
    static void registerCommands(CCommandMapOf<CMainFrame>& map);

    // Reads the stored bar state (with the status bar's) and both layouts;
    // writes them.
    void load(QWidget* statusBar);
    void save(QWidget* statusBar) const;

    // Brings the buttons of the shown toolbars up to date now, or soon.
    void updateButtons();
    void scheduleUpdate();

    // Runs the customise dialog of a toolbar.
    void customize(ToolbarSets::Bar which);

    // Interval of the coalesced update, in milliseconds.
    static constexpr int kUpdateInterval = 50;

Q_SIGNALS:
    // The pointer is over a button of this command (0: none).
    void commandPointed(int id);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CFlatToolBar* createBar(int barId, const QString& caption, bool flat);
    void fillDropDown(int id, QMenu* menu);
    void toggle(CFlatToolBar* bar);

    QMainWindow* m_window;
    StateFunction m_state;
    RouteFunction m_route;
    CFlatToolBar* m_standard = nullptr;
    CFlatToolBar* m_extended = nullptr;
    QTimer m_update;
};
