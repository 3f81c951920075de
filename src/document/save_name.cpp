#include "document/save_name.h"

QString saveAsProposedName(const QString& path, const QString& title)
{
    if (!path.isEmpty())
        return path;
    static const QString kDubious = QStringLiteral(" #%;/\\");
    qsizetype end = 0;
    while (end < title.size() && !kDubious.contains(title.at(end)))
        ++end;
    return title.left(end) + QStringLiteral(".htm");
}
