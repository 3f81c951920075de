#include "editor/view_context_menu.h"

#include "editor/drop_down_menus.h"
#include "resources/command_ids.h"
#include "resources/command_table.h"

#include <QAction>
#include <QMenu>

namespace ViewContextMenu {
namespace {

QAction* addAction(QMenu* menu, int id, const QString& caption, bool enabled)
{
    QAction* action = menu->addAction(caption);
    action->setData(id);
    action->setEnabled(enabled);
    return action;
}

// A command with its caption in the command table (no key text: the menu
// names no keys).
QAction* addCommand(QMenu* menu, int id, bool enabled = true)
{
    const Resources::Command* command = Resources::command(id);
    return addAction(menu, id, command ? command->caption : QString(), enabled);
}

void addRegisteredTags(QMenu* menu)
{
    QMenu* tags = menu->addMenu(QStringLiteral("登録タグ"));
    for (const auto& item : registeredTagItems())
        addAction(tags, item.first, item.second, item.first != 0);
}

} // namespace

QList<QPair<int, QString>> registeredTagItems()
{
    return DropDownMenus::items(Cmd::RegisteredTagMenu);
}

QMenu* build(const State& state, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    addCommand(menu, Cmd::ReinsertTag, state.canReinsert);
    if (state.hasSelection) {
        addCommand(menu, Cmd::CaptureTag);
        menu->addSeparator();
        addCommand(menu, Cmd::EditCut);
        addCommand(menu, Cmd::EditCopy);
        addCommand(menu, Cmd::EditPaste, state.canPaste);
        menu->addSeparator();
        addRegisteredTags(menu);
    } else {
        menu->addSeparator();
        addCommand(menu, Cmd::EditUndo, state.canUndo);
        addCommand(menu, Cmd::EditPaste, state.canPaste);
        menu->addSeparator();
        addRegisteredTags(menu);
        menu->addSeparator();
        addCommand(menu, Cmd::FileSave);
    }
    return menu;
}

} // namespace ViewContextMenu
