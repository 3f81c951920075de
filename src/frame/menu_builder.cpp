#include "frame/menu_builder.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace MenuBuilder {

void fillMenu(QMenu* menu, const QList<Resources::MenuItem>& items, const ActionFactory& make)
{
    for (const Resources::MenuItem& item : items) {
        switch (item.kind) {
        case Resources::MenuItem::Separator:
            menu->addSeparator();
            break;
        case Resources::MenuItem::Popup:
            fillMenu(menu->addMenu(item.caption), item.items, make);
            break;
        case Resources::MenuItem::Command:
            menu->addAction(make(item.id, item.caption, menu));
            break;
        }
    }
}

void fillMenuBar(QMenuBar* bar, const QList<Resources::MenuItem>& menus, const ActionFactory& make)
{
    for (const Resources::MenuItem& top : menus)
        fillMenu(bar->addMenu(top.caption), top.items, make);
}

int commandId(const QAction* action)
{
    return action ? action->data().toInt() : 0;
}

} // namespace MenuBuilder
