#include "document/line_end_names.h"

namespace LineEndNames {

QString nameOf(const QByteArray& lineEnd)
{
    return lineEnd == "\n"   ? QStringLiteral("LF")
           : lineEnd == "\r" ? QStringLiteral("CR")
                             : QStringLiteral("CRLF");
}

QByteArray fromName(const QString& name)
{
    if (name == QLatin1String("CRLF"))
        return QByteArrayLiteral("\r\n");
    if (name == QLatin1String("LF"))
        return QByteArrayLiteral("\n");
    if (name == QLatin1String("CR"))
        return QByteArrayLiteral("\r");
    return QByteArray();
}

} // namespace LineEndNames
