#include "core/message_text.h"

#include <QFontMetrics>
#include <QRegularExpression>

namespace MessageText {

QString fitted(const QString& text, const QFontMetrics& metrics, int width)
{
    static const QRegularExpression path(QStringLiteral("[^\\s]*/[^\\s]*"));
    QString out;
    qsizetype done = 0;
    for (auto it = path.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        out += QStringView(text).mid(done, match.capturedStart() - done);
        const QString found = match.captured();
        out += metrics.horizontalAdvance(found) > width
                   ? metrics.elidedText(found, Qt::ElideMiddle, width)
                   : found;
        done = match.capturedEnd();
    }
    out += QStringView(text).mid(done);
    return out;
}

} // namespace MessageText
