#include "frame/menu_builder.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace MenuBuilder {
namespace {

const char* const kDynamicList = "marquillDynamicList";

// The pop-up menu built for item, carrying its run-time list marker.
QMenu* marked(QMenu* popup, const Resources::MenuItem& item)
{
    if (item.dynamic != Resources::MenuItem::NoList)
        popup->setProperty(kDynamicList, int(item.dynamic));
    return popup;
}

} // namespace

void fillMenu(QMenu* menu, const QList<Resources::MenuItem>& items, const ActionFactory& make)
{
    for (const Resources::MenuItem& item : items) {
        switch (item.kind) {
        case Resources::MenuItem::Separator:
            menu->addSeparator();
            break;
        case Resources::MenuItem::Popup:
            fillMenu(marked(menu->addMenu(item.caption), item), item.items, make);
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
        fillMenu(marked(bar->addMenu(top.caption), top), top.items, make);
}

int commandId(const QAction* action)
{
    return action ? action->data().toInt() : 0;
}

Resources::MenuItem::DynamicList dynamicList(const QMenu* menu)
{
    return static_cast<Resources::MenuItem::DynamicList>(menu->property(kDynamicList).toInt());
}

} // namespace MenuBuilder
