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

// The property on a QMenu marking where run-time items are appended
// (recent files, registered tags, tools, the window list).
inline constexpr const char* kDynamicAnchor = "marquillDynamicAnchor";

using ActionFactory = std::function<QAction*(int id, const QString& caption, QObject* parent)>;

void fillMenuBar(QMenuBar* bar, const QList<Resources::MenuItem>& menus, const ActionFactory& make);
void fillMenu(QMenu* menu, const QList<Resources::MenuItem>& items, const ActionFactory& make);

// Command id of an action built here (0 for separators and pop-ups).
int commandId(const QAction* action);

} // namespace MenuBuilder
