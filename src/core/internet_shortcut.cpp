#include "core/internet_shortcut.h"

#include <QList>

namespace InternetShortcut {

QUrl address(const QByteArray& contents)
{
    bool inSection = false;
    for (QByteArray line : contents.split('\n')) {
        if (line.startsWith("\xEF\xBB\xBF"))
            line.remove(0, 3);
        line = line.trimmed();
        if (line.startsWith('[')) {
            inSection = line.compare("[InternetShortcut]", Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inSection || equals < 0 || line.left(equals).trimmed().toUpper() != "URL")
            continue;
        const QUrl url(QString::fromUtf8(line.mid(equals + 1).trimmed()));
        const QString scheme = url.scheme().toLower();
        // Only a web page: the file must not start programs or open local files.
        if (url.isValid() &&
            (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
            !url.host().isEmpty())
            return url;
        return QUrl();
    }
    return QUrl();
}

} // namespace InternetShortcut
