#pragma once

#include <QList>
#include <QPair>
#include <QString>

// The menus of the three drop-down toolbar commands, as (command id,
// caption) items: the six headings (HeadingMenu), the registered tags
// (RegisteredTagMenu) and the tools (ToolMenu). The two slot lists are read
// from the settings each time; they show the slots from 0 up to the first
// empty one, and one greyed "(なし)" item with id 0 when slot 0 is empty.
namespace DropDownMenus {

using Item = QPair<int, QString>;

// The items of a drop-down command's menu; empty for any other command.
QList<Item> items(int commandId);

} // namespace DropDownMenus
