#pragma once

#include <QList>
#include <QString>

class QMenu;
class QWidget;

// The editor's right-click menu. Its form depends on whether text is
// selected; the registered-tag sub-menu lists the slots of section "Tag" up to
// the first empty one ("(なし)" when slot 0 is empty). Items carry their
// command ids as data; the chosen one is routed like a menu command.
namespace ViewContextMenu {

struct State
{
    bool hasSelection = false;
    bool canReinsert = false; // something was inserted or captured before
    bool canUndo = false;
    bool canPaste = false;
};

// Builds the menu (owned by the caller).
QMenu* build(const State& state, QWidget* parent);

// The registered-tag list as (command id, caption); id 0 for the greyed "(なし)".
QList<QPair<int, QString>> registeredTagItems();

} // namespace ViewContextMenu
