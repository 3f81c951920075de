#pragma once

#include "core/settings_store.h"

#include <QList>

class QMainWindow;
class QWidget;

// The state of the main window's control bars (the two toolbars and the
// status bar) in the settings store, under the keys named by
// "Settings\ControlBar-Summary" and "Settings\ControlBar-Bar<n>": per bar
// its id, whether it is shown, its orientation, whether it floats, its
// position and the side it is docked at; beside them the window's own record
// of its toolbars, which brings back their exact places and order.
namespace BarState {

struct Bar
{
    int id = 0;
    QWidget* widget = nullptr; // a QToolBar or the status bar
};

// The values that store the bars' state.
ProfileValues values(const QMainWindow* window, const QList<Bar>& bars);

// Gives the bars their stored state. A value that cannot be read leaves its
// bar as it is: the window's record falls back to the per-bar sides, and a
// bar without a readable key keeps its place and visibility.
void load(QMainWindow* window, const QList<Bar>& bars);

// The side ids stored as a docked bar's "Docking" value (0 when floating).
enum DockSide { Top = 59419, Left = 59420, Right = 59421, Bottom = 59422 };

} // namespace BarState
