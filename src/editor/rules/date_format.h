#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>

// The date texts of the date command and the options sheet's sample.
namespace DateFormat {

// Row of the date format table for a stored "Date" value; values outside the
// table are clamped to its first or last row.
int tableRow(int dateSetting);

// Formats when with a strftime-style format (UTF-8): %y two-digit year, %Y
// four-digit year, %m and %d two-digit month and day, %#m and %#d without a
// leading zero, %b and %B short and full month name, %a and %A short and full
// weekday name (C locale names, whatever the system's language), %H %M %S,
// %%. Any other text, including unknown conversions, is copied unchanged.
QByteArray format(QByteArrayView format, const QDateTime& when);

// The date text for a stored "Date" value.
QByteArray dateText(int dateSetting, const QDateTime& when);

} // namespace DateFormat
