#pragma once

#include <QByteArray>
#include <QString>

// Reading and writing document files byte for byte.
//
// The editor's buffer is UTF-8. A file that is valid UTF-8 (or plain ASCII)
// is loaded and saved unconverted, whatever it holds (CR LF, lone CR, NUL
// bytes). A file in a Japanese legacy encoding (Shift_JIS, EUC-JP,
// ISO-2022-JP) is converted to UTF-8 only when converting the text back
// reproduces the file's bytes exactly; the document then keeps the encoding
// and saves in it. Any other file is loaded as its raw bytes, so nothing in
// it is ever lost. No function here shows anything: failures come back as a
// message for the caller to show.
namespace DocumentFile {

// The text of a file as the editor holds it.
struct Text
{
    QByteArray bytes; // UTF-8, or the file's bytes as they are
    QString encoding; // the legacy encoding the file was converted from; empty: unconverted
};

// Turns a file's bytes into the editor's text (see above). Pure; no I/O.
Text decode(const QByteArray& fileBytes);

// Turns the editor's text back into a file's bytes for `encoding` (empty: the
// bytes themselves). Returns false, and names the first character that the
// encoding cannot represent in `badCharacter`, when the text cannot be stored
// in that encoding without changing it.
bool encode(const QByteArray& text, const QString& encoding, QByteArray& fileBytes,
            QString& badCharacter);

// Reads the whole file at `path` and decodes it. A NUL byte does not end the
// text. On failure returns false with a message naming the file.
bool read(const QString& path, Text& text, QString& errorMessage);

// Writes `text` (encoded back to `encoding` when it is not empty) to `path`
// through a temporary file in the same folder that replaces the original only
// once everything is written. The original's permissions (and, where
// allowed, owner and group) are kept; a symbolic link stays a link and the
// file it points to is written. On failure the original file is untouched
// and the function returns false with a message naming the file.
bool write(const QString& path, const QByteArray& text, const QString& encoding,
           QString& errorMessage);

// The message for a file that does not exist.
QString missingFileMessage(const QString& path);

} // namespace DocumentFile
