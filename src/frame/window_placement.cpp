#include "frame/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QWidget>

bool WindowPlacement::parse(const QString& text, WindowPlacement& out)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 10)
        return false;
    long long v[10];
    for (int i = 0; i < 10; ++i) {
        bool ok = false;
        v[i] = parts[i].trimmed().toLongLong(&ok);
        if (!ok)
            return false;
    }
    out.flags = static_cast<unsigned>(v[0]);
    out.showCmd = static_cast<unsigned>(v[1]);
    out.minX = int(v[2]);
    out.minY = int(v[3]);
    out.maxX = int(v[4]);
    out.maxY = int(v[5]);
    out.normal = QRect(QPoint(int(v[6]), int(v[7])), QPoint(int(v[8]) - 1, int(v[9]) - 1));
    return true;
}

QString WindowPlacement::toString() const
{
    return QStringLiteral("%1,%2,%3,%4,%5,%6,%7,%8,%9,%10")
        .arg(flags)
        .arg(showCmd)
        .arg(minX)
        .arg(minY)
        .arg(maxX)
        .arg(maxY)
        .arg(normal.left())
        .arg(normal.top())
        .arg(normal.right() + 1)
        .arg(normal.bottom() + 1);
}

WindowPlacement WindowPlacement::of(const QWidget* window)
{
    WindowPlacement p;
    p.flags = window->isMaximized() ? 2 : 0;
    p.showCmd = window->isMinimized() ? 2 : window->isMaximized() ? 3 : 1;
    const QRect g = window->isMaximized() || window->isMinimized() ? window->normalGeometry()
                                                                   : window->geometry();
    p.normal = g.isValid() ? g : window->geometry();
    return p;
}

QRect WindowPlacement::defaultRect(const QRect& available)
{
    QRect r(0, 0, available.width() * 3 / 4, available.height() * 3 / 4);
    r.moveCenter(available.center());
    return r;
}

void WindowPlacement::applyTo(QWidget* window) const
{
    QRect r = normal;
    // A rectangle that no screen shows any more falls back to the default.
    bool visible = false;
    for (const QScreen* s : QGuiApplication::screens())
        if (s->availableGeometry().intersects(r))
            visible = true;
    if (r.width() > 50 && r.height() > 50 && visible)
        window->setGeometry(r);
    switch (showCmd) {
    case 2:
    case 6:
    case 7:
        window->setWindowState(flags & 2 ? (Qt::WindowMinimized | Qt::WindowMaximized)
                                         : Qt::WindowMinimized);
        window->show();
        break;
    case 3:
        window->showMaximized();
        break;
    default:
        window->show();
        break;
    }
}
