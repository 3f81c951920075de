#pragma once

#include "document/text_decoding.h"

#include <QByteArray>
#include <QString>

class QFile;

// Reading and writing document files: the file I/O around TextDecoding.
// No function here shows anything: failures come back as a message for the
// caller to show.
namespace DocumentFile {

using Text = TextDecoding::Text;

// The longest text the editor's control can address, in bytes.
inline constexpr qint64 kMaxTextBytes = 0x7FFFFFFE;

// Opens the file at `path` for reading after the checks readBytes makes (it
// exists, is a regular file, can be read and is not too large to hold). On
// failure returns false with a message naming the file and the reason.
bool openForReading(const QString& path, QFile& file, QString& errorMessage);

// Reads the whole file at `path` as it is. A file the editor could not hold
// (longer than kMaxTextBytes, or more than the memory there is) is refused.
// On failure returns false with a message naming the file and the reason.
bool readBytes(const QString& path, QByteArray& bytes, QString& errorMessage);

// Reads the whole file at `path` and decodes it, recognised as opening a
// document recognises it (TextDecoding::decode). A NUL byte does not end the
// text. On failure returns false with a message naming the file.
bool read(const QString& path, Text& text, QString& errorMessage);

// Writes a file's bytes to `path`. Normally through a temporary file in the
// same folder that replaces the original only once everything is written; the
// new file is first given the original's owner, group, mode bits, extended
// attributes and access control list, and a symbolic link stays a link and
// the file it points to is written. A file with several hard links, one in a
// folder that may not be written, or one whose metadata a new file cannot be
// given (another owner, a group the user is not in, an attribute or access
// control list the system refuses) is written in place instead
// (InPlaceWrite). On failure the original file is as it was and the function
// returns false with a message naming the file.
bool writeBytes(const QString& path, const QByteArray& fileBytes, QString& errorMessage);

// Encodes `text` back to `encoding` (TextDecoding::encode) and writes the
// bytes as writeBytes() does. A text the encoding cannot hold is not written;
// the message names its first character that does not fit.
bool write(const QString& path, const QByteArray& text, const QString& encoding,
           QString& errorMessage);

// Why a file of `size` bytes cannot be read into memory (too large for the
// editor's control, or for the memory there is); empty when it can.
QString sizeObstacle(qint64 size);

// The message for a file that does not exist.
QString missingFileMessage(const QString& path);
// The message for a file that cannot be read; `reason` says why.
QString cannotReadMessage(const QString& path, const QString& reason);
// The reason given when memory runs out.
QString outOfMemoryReason();

} // namespace DocumentFile
