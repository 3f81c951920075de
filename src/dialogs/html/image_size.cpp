#include "dialogs/html/image_size.h"

namespace ImageSize {
namespace {

quint8 byteAt(QByteArrayView b, qsizetype i)
{
    return static_cast<quint8>(b[i]);
}

quint32 bigEndian16(QByteArrayView b, qsizetype i)
{
    return (quint32(byteAt(b, i)) << 8) | byteAt(b, i + 1);
}

// Start-of-frame markers: 0xC0-0xCF except DHT (C4), JPG (C8) and DAC (CC).
bool isStartOfFrame(quint8 marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers that stand alone, without a length field.
bool isStandalone(quint8 marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// A frame header at pos (the 0xFF of its marker): length (2 bytes),
// precision (1), height (2), width (2). A height of 0 means the height is
// given later by a DNL segment, which this reading does not look for.
Reading frameSize(QByteArrayView b, qsizetype pos)
{
    Reading r{Format::Jpeg, false, 0, 0};
    if (pos + 8 >= b.size())
        return r;
    r.height = bigEndian16(b, pos + 5);
    r.width = bigEndian16(b, pos + 7);
    r.hasSize = r.height != 0 && r.width != 0;
    return r;
}

enum class Walk { Found, Truncated, Unsound };

// Follows the marker segments from just after the start-of-image marker.
Walk walkSegments(QByteArrayView b, qsizetype& framePos)
{
    qsizetype pos = 2;
    for (;;) {
        if (pos >= b.size())
            return Walk::Truncated;
        if (byteAt(b, pos) != 0xFF)
            return Walk::Unsound;
        qsizetype markerPos = pos;
        while (markerPos + 1 < b.size() && byteAt(b, markerPos + 1) == 0xFF)
            ++markerPos; // fill bytes before a marker
        if (markerPos + 1 >= b.size())
            return Walk::Truncated;
        const quint8 marker = byteAt(b, markerPos + 1);
        if (isStartOfFrame(marker)) {
            framePos = markerPos;
            return Walk::Found;
        }
        if (isStandalone(marker)) {
            pos = markerPos + 2;
            continue;
        }
        // Image data or the end of the image before any frame header, a
        // second start of image, or a stuffed zero: not a sound JPEG.
        if (marker == 0x00 || marker == 0xD8 || marker == 0xD9 || marker == 0xDA)
            return Walk::Unsound;
        if (markerPos + 3 >= b.size())
            return Walk::Truncated;
        const quint32 length = bigEndian16(b, markerPos + 2);
        if (length < 2)
            return Walk::Unsound;
        pos = markerPos + 2 + length;
    }
}

// The first 0xFF 0xC0 pair anywhere whose frame header lies inside the file.
Reading scanForBaselineFrame(QByteArrayView b)
{
    for (qsizetype j = 0; j + 8 < b.size(); ++j) {
        if (byteAt(b, j) == 0xFF && byteAt(b, j + 1) == 0xC0)
            return frameSize(b, j);
    }
    return Reading{Format::Jpeg, false, 0, 0};
}

Reading readGif(QByteArrayView b)
{
    Reading r{Format::Gif, false, 0, 0};
    if (b.size() < 10)
        return r;
    r.width = byteAt(b, 6) | (quint32(byteAt(b, 7)) << 8);
    r.height = byteAt(b, 8) | (quint32(byteAt(b, 9)) << 8);
    r.hasSize = true;
    return r;
}

Reading readJpeg(QByteArrayView b)
{
    qsizetype framePos = 0;
    switch (walkSegments(b, framePos)) {
    case Walk::Found:
        return frameSize(b, framePos);
    case Walk::Truncated:
        return Reading{Format::Jpeg, false, 0, 0};
    case Walk::Unsound:
        break;
    }
    return scanForBaselineFrame(b);
}

} // namespace

Reading read(QByteArrayView bytes)
{
    if (bytes.size() >= 3 && bytes.first(3) == QByteArrayView("GIF"))
        return readGif(bytes);
    if (bytes.size() >= 2 && byteAt(bytes, 0) == 0xFF && byteAt(bytes, 1) == 0xD8)
        return readJpeg(bytes);
    return Reading{};
}

} // namespace ImageSize
