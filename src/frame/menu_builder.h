#pragma once

#include "resources/resource_tables.h"

#include <QList>
#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QObject;

// Builds menus from the declarative menu tables. Each command item becomes a
// QAction whose data is the command id; the caller wires the actions up.
namespace MenuBuilder {

using ActionFactory = std::function<QAction*(int id, const QString& caption, QObject* parent)>;

void fillMenuBar(QMenuBar* bar, const QList<Resources::MenuItem>& menus, const ActionFactory& make);
void fillMenu(QMenu* menu, const QList<Resources::MenuItem>& items, const ActionFactory& make);

// Command id of an action built here (0 for separators and pop-ups).
int commandId(const QAction* action);

// The run-time list a menu built here carries after its fixed items
// (registered tags, tools, the window list), as its table entry marks it.
Resources::MenuItem::DynamicList dynamicList(const QMenu* menu);

} // namespace MenuBuilder
