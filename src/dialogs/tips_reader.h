#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

class QIODevice;

// Reading the tips of the day from the tips file: one tip per line, in
// UTF-8. A line that is empty or starts with a blank, a tab or ";" is not a
// tip. A line longer than kMaxPiece bytes is read in pieces (cut between
// characters), each piece counting as a line of its own.
namespace TipsReader {

constexpr qint64 kMaxPiece = 999;

// Whether a line (or piece) read from the file is skipped.
bool isSkipped(const QByteArray& line);

// The next piece from the device's position: up to and including the next
// line feed, at most kMaxPiece bytes. Empty at the end of the device.
QByteArray readPiece(QIODevice& device);

struct Tip
{
    bool found = false; // false: the file holds no tip at all, or cannot be read
    QString text;       // the tip, without its line end
};

// Reads the next tip from the device's position, going round to the start
// of the device after its end once; the device is left after the tip.
Tip readNextTip(QIODevice& device);

// A file time as the tips position remembers it, in the fixed form of the C
// library's date text without its line feed: "Wed Jan 02 02:03:55 1980".
QString timeStamp(const QDateTime& time);

} // namespace TipsReader
