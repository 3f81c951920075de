#pragma once

#include <QByteArray>
#include <QString>

class QFile;

// Reading and writing document files byte for byte.
//
// The editor's buffer is UTF-8. A file that is valid UTF-8 (or plain ASCII)
// is loaded and saved unconverted, whatever it holds (CR LF, lone CR, NUL
// bytes). A file in another encoding (UTF-16 with a byte-order mark,
// ISO-2022-JP, an encoding the file declares for itself, Shift_JIS or
// EUC-JP) is converted to UTF-8 only when converting the text back
// reproduces the file's bytes exactly; the document then keeps the encoding
// and saves in it. Any other file is loaded as its raw bytes, so nothing in
// it is ever lost. No function here shows anything: failures come back as a
// message for the caller to show.
namespace DocumentFile {

// The text of a file as the editor holds it.
struct Text
{
    QByteArray bytes; // UTF-8, or the file's bytes as they are
    QString encoding; // the encoding the file was converted from; empty: unconverted
    // The bytes are the file's own and not UTF-8: no encoding reproduced them.
    bool unconverted = false;
};

// The longest text the editor's control can address, in bytes.
inline constexpr qint64 kMaxTextBytes = 0x7FFFFFFE;

// Turns a file's bytes into the editor's text (see above). Pure; no I/O.
// This is the one decoding every reader of files shares.
Text decode(const QByteArray& fileBytes);

// Decodes a file's bytes in the encoding the user chose ("UTF-8" for the
// bytes as they are, or a name of TextEncoding::shortList()). Returns false,
// with the reason, when that encoding does not reproduce the bytes exactly.
bool decodeAs(const QByteArray& fileBytes, const QString& encoding, Text& text, QString& reason);

// Turns the editor's text back into a file's bytes for `encoding` (empty: the
// bytes themselves; "UTF-8": the bytes, which must be valid UTF-8). Returns
// false, and names the first character (or byte) that the encoding cannot
// represent and its line in `badCharacter`, when the text cannot be stored in
// that encoding without changing it.
bool encode(const QByteArray& text, const QString& encoding, QByteArray& fileBytes,
            QString& badCharacter);

// The valid multi-byte UTF-8 characters of bytes, in order, one after the
// other.
QByteArray utf8Characters(const QByteArray& bytes);
// Whether edited text holds UTF-8 characters that the unconverted text it
// came from did not (`original` is utf8Characters() of that text): saving it
// as it stands would mix UTF-8 into bytes of another encoding.
bool addsUtf8Characters(const QByteArray& original, const QByteArray& edited);

// Opens the file at `path` for reading after the checks readBytes makes (it
// exists, is a regular file, can be read and is not too large to hold). On
// failure returns false with a message naming the file and the reason.
bool openForReading(const QString& path, QFile& file, QString& errorMessage);

// Reads the whole file at `path` as it is. A file the editor could not hold
// (longer than kMaxTextBytes, or more than the memory there is) is refused.
// On failure returns false with a message naming the file and the reason.
bool readBytes(const QString& path, QByteArray& bytes, QString& errorMessage);

// Reads the whole file at `path` and decodes it. A NUL byte does not end the
// text. On failure returns false with a message naming the file.
bool read(const QString& path, Text& text, QString& errorMessage);

// Writes `text` (encoded back to `encoding` when it is not empty) to `path`.
// Normally through a temporary file in the same folder that replaces the
// original only once everything is written; the original's mode bits (and,
// where allowed, owner and group) are kept, and a symbolic link stays a link
// and the file it points to is written. A file with several hard links, or
// in a folder that may not be written, is written in place, after its old
// bytes have been kept in the user's cache folder; they are put back if the
// write fails. On failure the original file is as it was and the function
// returns false with a message naming the file.
bool write(const QString& path, const QByteArray& text, const QString& encoding,
           QString& errorMessage);

// The message for a file that does not exist.
QString missingFileMessage(const QString& path);
// The message for a file that cannot be read; `reason` says why.
QString cannotReadMessage(const QString& path, const QString& reason);
// The reason given when memory runs out.
QString outOfMemoryReason();

} // namespace DocumentFile
