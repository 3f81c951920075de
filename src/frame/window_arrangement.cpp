#include "frame/window_arrangement.h"

namespace WindowArrangement {

QList<Placement> tile(const QList<Window>& windows, const QRect& area, bool horizontal)
{
    QList<int> shown;
    for (int i = 0; i < windows.size(); ++i)
        if (!windows[i].minimized && windows[i].visible)
            shown.append(i);
    QList<Placement> placements;
    const int n = int(shown.size());
    for (int i = 0; i < n; ++i) {
        QRect r;
        if (horizontal) {
            const int top = area.height() * i / n;
            r = QRect(0, top, area.width(), area.height() * (i + 1) / n - top);
        } else {
            const int left = area.width() * i / n;
            r = QRect(left, 0, area.width() * (i + 1) / n - left, area.height());
        }
        placements.append({shown[i], r});
    }
    return placements;
}

QList<Placement> cascade(const QList<Window>& windows, int active, const QRect& area,
                         int titleBarHeight)
{
    QList<int> order;
    const auto cascades = [&](int i) { return !windows[i].minimized && windows[i].visible; };
    for (int i = 0; i < windows.size(); ++i)
        if (i != active && cascades(i))
            order.append(i);
    if (active >= 0 && active < windows.size() && cascades(active))
        order.append(active);
    if (order.isEmpty())
        return {};
    const int step = qMax(16, titleBarHeight);
    const int perRound = qMax(1, qMin(area.width(), area.height()) / 2 / step + 1);
    const int n = int(qMin<qsizetype>(order.size(), perRound));
    const QSize size(qMax(area.width() - (n - 1) * step, area.width() / 2),
                     qMax(area.height() - (n - 1) * step, area.height() / 2));
    QList<Placement> placements;
    for (int i = 0; i < order.size(); ++i) {
        const int offset = (i % perRound) * step;
        placements.append({order[i], QRect(QPoint(offset, offset), size)});
    }
    return placements;
}

QList<Placement> arrangeIcons(const QList<Window>& windows, const QRect& area)
{
    QList<Placement> placements;
    int x = 0;
    int y = area.bottom();
    for (int i = 0; i < windows.size(); ++i) {
        if (!windows[i].minimized)
            continue;
        const QSize s = windows[i].size;
        if (x > 0 && x + s.width() > area.width()) {
            x = 0;
            y -= s.height();
        }
        placements.append({i, QRect(QPoint(x, y - s.height() + 1), s)});
        x += s.width();
    }
    return placements;
}

} // namespace WindowArrangement
