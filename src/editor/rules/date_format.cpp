#include "editor/rules/date_format.h"

#include "resources/resource_tables.h"

#include <algorithm>

namespace DateFormat {
namespace {

const char* const kMonths[] = {"January",   "February", "March",    "April",
                               "May",       "June",     "July",     "August",
                               "September", "October",  "November", "December"};
const char* const kWeekdays[] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                 "Friday", "Saturday", "Sunday"};

QByteArray twoDigits(int n)
{
    return QByteArray::number(n).rightJustified(2, '0');
}

} // namespace

int tableRow(int dateSetting)
{
    const int rows = int(Resources::dateFormats().size());
    return std::clamp(dateSetting, 0, std::max(rows - 1, 0));
}

QByteArray format(QByteArrayView fmt, const QDateTime& when)
{
    const QDate date = when.date();
    const QTime time = when.time();
    const QByteArray month = kMonths[date.month() - 1];
    const QByteArray weekday = kWeekdays[date.dayOfWeek() - 1];
    QByteArray out;
    for (qint64 i = 0; i < fmt.size(); ++i) {
        if (fmt[i] != '%' || i + 1 >= fmt.size()) {
            out.append(fmt[i]);
            continue;
        }
        const bool noPad = fmt[i + 1] == '#' && i + 2 < fmt.size();
        const char conv = fmt[noPad ? i + 2 : i + 1];
        QByteArray piece;
        switch (conv) {
        case 'y':
            piece = twoDigits(date.year() % 100);
            break;
        case 'Y':
            piece = QByteArray::number(date.year());
            break;
        case 'm':
            piece = noPad ? QByteArray::number(date.month()) : twoDigits(date.month());
            break;
        case 'd':
            piece = noPad ? QByteArray::number(date.day()) : twoDigits(date.day());
            break;
        case 'H':
            piece = noPad ? QByteArray::number(time.hour()) : twoDigits(time.hour());
            break;
        case 'M':
            piece = noPad ? QByteArray::number(time.minute()) : twoDigits(time.minute());
            break;
        case 'S':
            piece = noPad ? QByteArray::number(time.second()) : twoDigits(time.second());
            break;
        case 'b':
            piece = month.left(3);
            break;
        case 'B':
            piece = month;
            break;
        case 'a':
            piece = weekday.left(3);
            break;
        case 'A':
            piece = weekday;
            break;
        case '%':
            piece = "%";
            break;
        default:
            out.append(fmt[i]);
            continue;
        }
        out.append(piece);
        i += noPad ? 2 : 1;
    }
    return out;
}

QByteArray dateText(int dateSetting, const QDateTime& when)
{
    const auto& table = Resources::dateFormats();
    if (table.isEmpty())
        return {};
    return format(table.at(tableRow(dateSetting)).format, when);
}

} // namespace DateFormat
