#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The request a later start sends to the running editor, as bytes.
//
// One frame: a 32-bit big-endian length, then that many bytes of payload,
// "A" (activate) or "O" followed by the absolute path of the file in the
// file system's encoding. The running editor takes an activation, and an
// open request whose path is absolute; it refuses any other open request.
namespace HandOffMessage {

inline constexpr quint32 kMaxPayload = 64 * 1024;

// The frame for a request: an activation when `path` is empty.
QByteArray encode(QByteArrayView path);

struct Request
{
    bool open = false;       // open a file; otherwise only activate
    QByteArray path;         // the file to open, in the file system's encoding
    bool accepted = false;   // an activation, or a path that is absolute
    qsizetype frameSize = 0; // the bytes the frame took
};

enum class Parse {
    NeedMore, // the frame has not fully arrived
    Invalid,  // not a request: the connection is to be dropped
    Complete, // a request, in `request`
};

// Reads the frame at the start of `bytes` (what has arrived so far).
Parse parse(QByteArrayView bytes, Request& request);

} // namespace HandOffMessage
