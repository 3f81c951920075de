#include "frame/bar_state.h"

#include "core/settings_store.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QToolBar>

namespace BarState {
namespace {

const QString kSummary = QStringLiteral("Settings\\ControlBar-Summary");
constexpr int kStateVersion = 1;
constexpr int kMaxBars = 16;
constexpr int kUnreadable = -1;

QString barKey(int index)
{
    return QStringLiteral("Settings\\ControlBar-Bar%1").arg(index);
}

int sideOf(Qt::ToolBarArea area)
{
    switch (area) {
    case Qt::LeftToolBarArea:
        return Left;
    case Qt::RightToolBarArea:
        return Right;
    case Qt::BottomToolBarArea:
        return Bottom;
    default:
        return Top;
    }
}

Qt::ToolBarArea areaOf(int side)
{
    switch (side) {
    case Top:
        return Qt::TopToolBarArea;
    case Left:
        return Qt::LeftToolBarArea;
    case Right:
        return Qt::RightToolBarArea;
    case Bottom:
        return Qt::BottomToolBarArea;
    default:
        return Qt::NoToolBarArea;
    }
}

void addBar(ProfileValues& values, const QMainWindow* window, int index, const Bar& bar)
{
    const QString key = barKey(index);
    const auto* toolBar = qobject_cast<const QToolBar*>(bar.widget);
    const bool floating = toolBar && toolBar->isFloating();
    const QPoint pos = floating ? toolBar->geometry().topLeft() : bar.widget->pos();
    const int side = !toolBar ? Bottom : floating ? 0 : sideOf(window->toolBarArea(toolBar));
    values << ProfileValue{key, QStringLiteral("BarID"), bar.id}
           << ProfileValue{key, QStringLiteral("Visible"), bar.widget->isHidden() ? 0 : 1}
           << ProfileValue{key, QStringLiteral("Horz"),
                           !toolBar || toolBar->orientation() == Qt::Horizontal ? 1 : 0}
           << ProfileValue{key, QStringLiteral("Floating"), floating ? 1 : 0}
           << ProfileValue{key, QStringLiteral("XPos"), pos.x()}
           << ProfileValue{key, QStringLiteral("YPos"), pos.y()}
           << ProfileValue{key, QStringLiteral("Docking"), side};
}

// The stored key of the bar with this id, or an empty string.
QString keyOfBar(int id)
{
    const int count = getProfileInt(kSummary, QStringLiteral("Bars"), 0);
    for (int i = 0; i < qBound(0, count, kMaxBars); ++i)
        if (getProfileInt(barKey(i), QStringLiteral("BarID"), kUnreadable) == id)
            return barKey(i);
    return QString();
}

bool restoreWindowRecord(QMainWindow* window)
{
    const QByteArray record =
        QByteArray::fromBase64(getProfileString(kSummary, QStringLiteral("State")).toLatin1(),
                               QByteArray::AbortOnBase64DecodingErrors);
    return !record.isEmpty() && window->restoreState(record, kStateVersion);
}

// Without the window's record: each toolbar goes to its stored side, in bar
// order, each on a row of its own.
void dockAtStoredSides(QMainWindow* window, const QList<Bar>& bars)
{
    QList<Qt::ToolBarArea> used;
    for (const Bar& bar : bars) {
        auto* toolBar = qobject_cast<QToolBar*>(bar.widget);
        const QString key = keyOfBar(bar.id);
        if (!toolBar || key.isEmpty())
            continue;
        const Qt::ToolBarArea area =
            areaOf(getProfileInt(key, QStringLiteral("Docking"), kUnreadable));
        if (area == Qt::NoToolBarArea)
            continue;
        if (window->toolBarArea(toolBar) != area)
            window->addToolBar(area, toolBar);
        if (used.contains(area) && !window->toolBarBreak(toolBar))
            window->insertToolBarBreak(toolBar);
        used.append(area);
    }
}

} // namespace

ProfileValues values(const QMainWindow* window, const QList<Bar>& bars)
{
    const QSize screen =
        QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->size() : QSize();
    ProfileValues values{{kSummary, QStringLiteral("Bars"), int(bars.size())},
                         {kSummary, QStringLiteral("ScreenCX"), screen.width()},
                         {kSummary, QStringLiteral("ScreenCY"), screen.height()},
                         {kSummary, QStringLiteral("State"),
                          QString::fromLatin1(window->saveState(kStateVersion).toBase64())}};
    for (int i = 0; i < bars.size(); ++i)
        addBar(values, window, i, bars[i]);
    return values;
}

void load(QMainWindow* window, const QList<Bar>& bars)
{
    if (!restoreWindowRecord(window))
        dockAtStoredSides(window, bars);
    for (const Bar& bar : bars) {
        const QString key = keyOfBar(bar.id);
        if (key.isEmpty())
            continue;
        const int visible = getProfileInt(key, QStringLiteral("Visible"), kUnreadable);
        if (visible == 0 || visible == 1)
            bar.widget->setVisible(visible == 1);
    }
}

} // namespace BarState
