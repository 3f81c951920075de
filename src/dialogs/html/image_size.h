#pragma once

#include <QByteArrayView>
#include <QtGlobal>

// Reading an image's width and height from the bytes of a GIF or JPEG file,
// for the image dialog's "read the size from the file" button.
namespace ImageSize {

enum class Format {
    Unsupported, // neither "GIF" nor the JPEG start marker at the beginning
    Gif,
    Jpeg,
};

struct Reading
{
    Format format = Format::Unsupported;
    bool hasSize = false; // false also for a truncated or damaged GIF/JPEG
    quint32 width = 0;
    quint32 height = 0;
};

// Recognises the format by the first bytes ("GIF", or 0xFF 0xD8) and reads the
// size. A GIF's logical screen size lies in bytes 6-9 (little-endian). A JPEG
// is walked marker segment by marker segment up to its first start-of-frame
// segment (any kind: baseline, progressive, lossless, arithmetic), so that the
// frame header of a thumbnail embedded in an APP segment is never taken for
// the image's own. Only when the segment structure is unsound is the file
// scanned for the first baseline frame marker (0xFF 0xC0) anywhere. Nothing
// past the end of bytes is ever read: a truncated file gives no size.
Reading read(QByteArrayView bytes);

} // namespace ImageSize
