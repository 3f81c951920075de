#include "dialogs/html/table_text.h"

#include <limits>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString placementAttribute(int placement)
{
    switch (placement) {
    case TableChoices::FlowRight:
        return QStringLiteral(" ALIGN=LEFT");
    case TableChoices::FlowLeft:
        return QStringLiteral(" ALIGN=RIGHT");
    default:
        return QStringLiteral(" ALIGN=CENTER");
    }
}

QString cellText(const QList<QStringList>& cells, int row, int column)
{
    if (row >= cells.size() || column >= cells[row].size())
        return QString();
    return cells[row][column];
}

} // namespace

int boundedTableCount(int count)
{
    return qBound(kTableMinCount, count, kTableMaxCount);
}

QString buildTable(const TableChoices& c)
{
    QString table = QStringLiteral("<TABLE");
    if (!c.border.isEmpty())
        table += QStringLiteral(" BORDER=") + c.border;
    if (!c.cellSpacing.isEmpty())
        table += QStringLiteral(" CELLSPACING=") + c.cellSpacing;
    table += placementAttribute(c.placement) + QLatin1Char('>') + kCrLf;
    if (!c.caption.isEmpty())
        table += QStringLiteral("<CAPTION>") + c.caption + QStringLiteral("</CAPTION>") + kCrLf;
    const int rows = boundedTableCount(c.rows);
    const int columns = boundedTableCount(c.columns);
    for (int r = 0; r < rows; ++r) {
        table += QStringLiteral("<TR>");
        for (int col = 0; col < columns; ++col) {
            const bool header = (c.headerRow && r == 0) || (c.headerColumn && col == 0);
            const QString text = cellText(c.cells, r, col);
            table += header ? QStringLiteral("<TH>") + text + QStringLiteral("</TH>")
                            : QStringLiteral("<TD>") + text + QStringLiteral("</TD>");
        }
        table += QStringLiteral("</TR>") + kCrLf;
    }
    return table + QStringLiteral("</TABLE>") + kCrLf;
}

std::optional<int> parseDialogInteger(const QString& text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) {
        negative = t[i] == QLatin1Char('-');
        ++i;
    }
    if (i == t.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < t.size(); ++i) {
        const QChar ch = t[i];
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (ch.unicode() - '0');
        if (value > qint64(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}
