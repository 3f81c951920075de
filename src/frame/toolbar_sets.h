#pragma once

#include "core/settings_store.h"

#include <QList>
#include <QString>

// The button lists of the two toolbars: each toolbar's default set and the
// stored layouts ("Settings", values ToolBar and ToolBarEx). A list holds
// command ids of the toolbar button table, 0 for a separator.
namespace ToolbarSets {

enum Bar { Standard, Extended };

// The default set of a toolbar, separators included.
QList<int> defaults(Bar bar);

// Whether id is the command of a row of the toolbar button table.
bool isButtonCommand(int id);

// The stored form of a list: its length, a colon, then the ids separated by
// commas ("3:57600,0,57601"), so a cut-off value is recognised.
QString format(const QList<int>& buttons);
// Reads a stored list; false (buttons untouched) for anything that is not a
// complete list of table commands and separators.
bool parse(const QString& text, QList<int>& buttons);

// The stored layout of a toolbar, or its default set when there is none or
// it cannot be read.
QList<int> read(Bar bar);
// The value that stores a toolbar's layout.
ProfileValue value(Bar bar, const QList<int>& buttons);

} // namespace ToolbarSets
