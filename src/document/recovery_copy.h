#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QCryptographicHash>
#include <QDateTime>
#include <QString>

// One recovery copy: the unsaved text of a document and what it takes to
// reopen it as it was (its file, encoding and line end), with the instance
// that wrote it.
//
// On disk a copy is the line "MARQUILL-RECOVERY", one line of JSON with the
// fields below and the text's length, the text's bytes as they are, and the
// SHA-256 of everything before it in 64 hexadecimal digits. A copy cut short
// or changed anywhere fails that check and is refused as a whole.
namespace RecoveryCopy {

struct Copy
{
    QString path;                   // the document's file; empty for an untitled document
    QString title;                  // the document's title without the modified marker
    QString encoding;               // the document's encoding on disk (empty: the text's own bytes)
    bool unconverted = false;       // the text is a file's own bytes that no encoding reproduced
    QByteArray savedUtf8Characters; // UTF-8 characters such a file held when read or saved
    QByteArray lineEnd;             // what a typed new line inserts: "\r\n", "\n" or "\r"
    QString instance;               // the instance that wrote the copy
    qint64 pid = 0;                 // its process id
    QString bootId;                 // the machine's boot the process ran in
    QDateTime written;              // when the copy was taken (UTC)
    QByteArray text;                // the document's text, byte for byte

    bool operator==(const Copy&) const = default;
};

enum class Fault {
    None,
    NotACopy,   // does not begin like a recovery copy
    NewVersion, // written by a later version in a form this one cannot read
    Truncated,  // shorter than its header says
    Damaged,    // a header that cannot be read, or a checksum that does not match
};

// The bytes of a copy as written to disk, in pieces to be written one after
// the other: the text is shared with the copy, not copied.
QByteArrayList encodeParts(const Copy& copy);
// The same bytes in one piece.
QByteArray encode(const Copy& copy);

// The same bytes for a text that comes in pieces: head(), then each piece
// as it is passed to addText(), then checksum().
class Encoder
{
public:
    // `copy`'s fields, its text left out and `textLength` bytes long.
    Encoder(const Copy& copy, qint64 textLength);

    const QByteArray& head() const { return m_head; }
    void addText(QByteArrayView piece) { m_hash.addData(piece); }
    QByteArray checksum() const { return m_hash.result().toHex(); }

private:
    QByteArray m_head;
    QCryptographicHash m_hash;
};

// Reads a copy from its bytes; on a fault `copy` is left untouched.
Fault decode(const QByteArray& bytes, Copy& copy);

// Why a copy was refused, in a few Japanese words for the user.
QString faultText(Fault fault);

} // namespace RecoveryCopy
