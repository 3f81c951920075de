#include "document/relative_reference.h"

QString relativeReference(const QString& base, const QString& target)
{
    if (base.isEmpty() || target.isEmpty())
        return QString();

    // The common beginning, compared exactly (upper and lower case differ).
    const qsizetype shorter = qMin(base.size(), target.size());
    qsizetype common = 0;
    while (common < shorter && base.at(common) == target.at(common))
        ++common;

    // Paths meet only at a folder boundary: "/web/sub/" and "/web/sa.gif"
    // share "/web/", not "/web/s". Stepping back to a "/" also keeps whole
    // characters together.
    if (common < base.size() && common > 0 && base.at(common - 1) != QLatin1Char('/')) {
        const qsizetype slash = base.lastIndexOf(QLatin1Char('/'), common - 1);
        if (slash >= 0)
            common = slash + 1;
        else if (base.at(common - 1).isHighSurrogate())
            --common; // no folder in common: still no character cut in two
    }
    if (common == 0)
        return target;

    const qsizetype climbs = base.mid(common).count(QLatin1Char('/'));
    return QStringLiteral("../").repeated(climbs) + target.mid(common);
}
