#pragma once

#include <QList>
#include <QRect>
#include <QSize>

// Where the document windows go when the user arranges them, as geometry
// alone: the main frame describes its windows, these rules say where each one
// goes, and the frame moves them.
namespace WindowArrangement {

struct Window
{
    bool minimized = false;
    bool visible = true;
    QSize size; // its current size (what a minimised window keeps)
};

// The new rectangle of the window at `index` in the list given.
struct Placement
{
    int index = 0;
    QRect rect;
    bool operator==(const Placement&) const = default;
};

// Tiles the shown windows that are not minimised over `area`, in list order:
// horizontally one above the other, each as wide as the area; vertically side
// by side, each as high as the area. Minimised windows are left alone.
QList<Placement> tile(const QList<Window>& windows, const QRect& area, bool horizontal);

// Cascades the shown windows that are not minimised from the top left corner,
// each one title bar (at least 16 pixels) lower and to the right, all of one
// size that fills the rest of the area but never less than half of it. Past
// half the area the cascade starts again at the corner. The window at
// `active` (-1: none) goes last; the placements are in stacking order, the
// bottom one first.
QList<Placement> cascade(const QList<Window>& windows, int active, const QRect& area,
                         int titleBarHeight);

// Lines the minimised windows up along the bottom edge of `area`, left to
// right in list order, starting a new row above when a row is full.
QList<Placement> arrangeIcons(const QList<Window>& windows, const QRect& area);

} // namespace WindowArrangement
