#include "resources/icons.h"

#include "resources/command_table.h"

#include <QFile>
#include <QHash>

namespace Resources {

QIcon toolbarIcon(int commandId)
{
    static const QHash<int, QIcon> icons = [] {
        QHash<int, QIcon> h;
        for (const Command& c : commands()) {
            const QString path = QStringLiteral(":/icons/%1.svg").arg(c.icon);
            if (!c.icon.isEmpty() && QFile::exists(path))
                h.insert(c.id, QIcon(path));
        }
        return h;
    }();
    return icons.value(commandId);
}

const QList<int>& programIconSizes()
{
    static const QList<int> sizes{16, 24, 32, 48, 64, 128, 256};
    return sizes;
}

QIcon programIcon()
{
    // Every size as its own image, so the window manager and the task bar get
    // exact pixels at the sizes they ask for most, with or without the SVG
    // icon engine.
    static const QIcon icon = [] {
        QIcon i;
        for (int size : programIconSizes())
            i.addFile(QStringLiteral(":/icons/app/marquill-%1.png").arg(size), QSize(size, size));
        return i;
    }();
    return icon;
}

} // namespace Resources
