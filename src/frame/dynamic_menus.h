#pragma once

#include "frame/menu_builder.h"

class CRecentFileList;
class QMdiArea;
class QMenu;

// The run-time items of the menus, rebuilt each time their menu is about to
// show: the recent files in the File menu, the registered tags and the tools
// (read from their slots), and the open document windows (nine at most, the
// active one always among them; "ウィンドウの一覧(&M)..." offers all of them).
namespace DynamicMenus {

// Rebuilds the run-time items of menu: the recent files when it holds their
// placeholder (a null list leaves it alone), and the list its menu table
// entry marks. Command items come from make; window items activate their
// window in windows.
void rebuild(QMenu* menu, const CRecentFileList* recentFiles, QMdiArea* windows,
             const MenuBuilder::ActionFactory& make);

} // namespace DynamicMenus
