#pragma once

#include <QIcon>

// The program's images, drawn as SVG on a 16-pixel grid and compiled in as Qt
// resources. Icons are built on first use and shared afterwards, so callers
// may ask for them as often as they like.
namespace Resources {

// The toolbar image of a command (the icon its row of the command table
// names), sharp at 16 px and at any multiple of it; a null icon for a command
// without one.
QIcon toolbarIcon(int commandId);

// The program's own icon at every size it ships in (16 to 256 px), for the
// main window, the document windows and the desktop.
QIcon programIcon();

// The sizes, in pixels, at which the program icon is drawn as an image.
const QList<int>& programIconSizes();

} // namespace Resources
