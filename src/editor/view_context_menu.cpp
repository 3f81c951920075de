#include "editor/view_context_menu.h"

#include "editor/drop_down_menus.h"
#include "resources/command_ids.h"

#include <QAction>
#include <QMenu>

namespace ViewContextMenu {
namespace {

QAction* addCommand(QMenu* menu, int id, const QString& caption, bool enabled = true)
{
    QAction* action = menu->addAction(caption);
    action->setData(id);
    action->setEnabled(enabled);
    return action;
}

void addRegisteredTags(QMenu* menu)
{
    QMenu* tags = menu->addMenu(QStringLiteral("登録タグ"));
    for (const auto& item : registeredTagItems())
        addCommand(tags, item.first, item.second, item.first != 0);
}

} // namespace

QList<QPair<int, QString>> registeredTagItems()
{
    return DropDownMenus::items(Cmd::RegisteredTagMenu);
}

QMenu* build(const State& state, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    addCommand(menu, Cmd::ReinsertTag, QStringLiteral("タグの再挿入(&R)"), state.canReinsert);
    if (state.hasSelection) {
        addCommand(menu, Cmd::CaptureTag, QStringLiteral("タグの取り込み(&W)"));
        menu->addSeparator();
        addCommand(menu, Cmd::EditCut, QStringLiteral("切り取り(&T)"));
        addCommand(menu, Cmd::EditCopy, QStringLiteral("コピー(&C)"));
        addCommand(menu, Cmd::EditPaste, QStringLiteral("貼り付け(&P)"), state.canPaste);
        menu->addSeparator();
        addRegisteredTags(menu);
    } else {
        menu->addSeparator();
        addCommand(menu, Cmd::EditUndo, QStringLiteral("元に戻す(&U)"), state.canUndo);
        addCommand(menu, Cmd::EditPaste, QStringLiteral("貼り付け(&P)"), state.canPaste);
        menu->addSeparator();
        addRegisteredTags(menu);
        menu->addSeparator();
        addCommand(menu, Cmd::FileSave, QStringLiteral("上書き保存(&S)"));
    }
    return menu;
}

} // namespace ViewContextMenu
