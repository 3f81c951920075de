#include "dialogs/html/list_text.h"

#include <QRegularExpression>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

int inRange(int value, int count)
{
    return value >= 0 && value < count ? value : 0;
}

QString openingLine(int kind, int marker, int numbering)
{
    static const char* const markers[kUnorderedMarkers] = {"circle", "square", "disk"};
    static const char* const numberings[kOrderedNumberings] = {"1", "I", "i", "A", "a"};
    switch (kind) {
    case ListChoices::Ordered:
        // Quoted: lowering the tag's letters ("SmallLetter") must not turn
        // I into i or A into a, which number differently.
        return QStringLiteral("<OL TYPE=\"") + QLatin1String(numberings[numbering]) +
               QStringLiteral("\">") + kCrLf;
    case ListChoices::Definition:
        return QStringLiteral("<DL>") + kCrLf;
    default:
        return QStringLiteral("<UL TYPE=") + QLatin1String(markers[marker]) + QLatin1Char('>') +
               kCrLf;
    }
}

QString closingLine(int kind)
{
    switch (kind) {
    case ListChoices::Ordered:
        return QStringLiteral("</OL>") + kCrLf;
    case ListChoices::Definition:
        return QStringLiteral("</DL>") + kCrLf;
    default:
        return QStringLiteral("</UL>") + kCrLf;
    }
}

} // namespace

QString buildList(const ListChoices& c)
{
    const int kind = inRange(c.kind, kListKinds);
    QString list = openingLine(kind, inRange(c.unorderedMarker, kUnorderedMarkers),
                               inRange(c.orderedNumbering, kOrderedNumberings));
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    bool term = true;
    for (const QString& line : c.items.split(lineBreak)) {
        if (line.isEmpty())
            continue;
        if (kind == ListChoices::Definition) {
            list += term ? QStringLiteral("<DT>") : QStringLiteral("<DD>");
            term = !term;
        } else {
            list += QStringLiteral("<LI>");
        }
        list += line + kCrLf;
    }
    return list + closingLine(kind);
}
