#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QCryptographicHash>
#include <QDateTime>
#include <QList>
#include <QString>

// The journal of a document's unsaved edits: a header naming the document
// and the text the edits start from (its base), then every edit as it was
// made, appended to the file as the user types. Replaying the edits over the
// base gives the text as it was at the last record.
//
// On disk, a journal is the line "MARQUILL-JOURNAL <version>" followed by
// records. Each record is one line of fields separated by single blanks,
// the last field its CRC-32 in 8 lowercase hexadecimal digits, and, for the
// kinds that carry bytes, those bytes followed by a line feed:
//
//   H <length> <crc>          the header: <length> bytes of JSON (first record only)
//   I <position> <length> <crc>   insert the <length> bytes that follow at <position>
//   D <position> <length> <crc>   delete <length> bytes from <position>
//   F <length> <crc>          the document's fields changed: <length> bytes of JSON
//
// Positions and lengths are decimal byte counts in the text as the editor
// holds it (UTF-8, or a file's own bytes when it is open unconverted). The
// CRC-32 (the one of zlib and PNG) is taken over the record's line up to the
// blank before it, then the bytes it carries: `python3 -c "import zlib;
// print('%08x' % zlib.crc32(b'I 120 3' + b'abc'))"` checks "I 120 3 <crc>".
// The header's JSON holds the fields of Fields and Header below.
//
// A journal whose first line names a later version is left alone. Any
// record that cannot be read, whose CRC does not match, or whose range lies
// outside the text ends what can be trusted: the journal is damaged (or cut,
// when the file ends inside that record), and only the records before it
// can be offered, as a partial text.
namespace EditJournal {

inline constexpr int kVersion = 1;

// What a document is besides its text, as a restored document needs it.
struct Fields
{
    QString path;                   // the document's file; empty for an untitled document
    QString title;                  // the document's title without the modified marker
    QString encoding;               // the document's encoding on disk (empty: the text's own bytes)
    bool unconverted = false;       // the text is a file's own bytes that no encoding reproduced
    QByteArray savedUtf8Characters; // UTF-8 characters such a file held when read or saved
    QByteArray lineEnd;             // what a typed new line inserts: "\r\n", "\n" or "\r"

    bool operator==(const Fields&) const = default;
};

struct Header
{
    Fields fields;
    QString instance;  // the instance that writes the journal
    qint64 pid = 0;    // its process id
    QString bootId;    // the machine's boot the process ran in
    QDateTime started; // when the journal was started (UTC)
    // The text the edits start from: the compacted copy of that name in the
    // journal's folder, or, when empty, the document's file as it was opened
    // or last saved (nothing at all for an untitled document).
    QString baseCopy;
    qint64 baseLength = 0;
    QByteArray baseDigest; // digestOf() the base text

    bool operator==(const Header&) const = default;
};

enum class Fault {
    None,
    NotAJournal,  // does not begin like a journal
    NewVersion,   // written by a later version in a form this one cannot read
    Truncated,    // ends inside a record
    Damaged,      // a record that cannot be read, a CRC that does not match, a range off the text
    BaseMismatch, // neither the file nor the compacted copy is the text the edits start from
};

// Why a journal was refused, in a few Japanese words for the user.
QString faultText(Fault fault);

// The digest that names a base text: BLAKE2b-256 in 64 hexadecimal digits.
class TextDigest
{
public:
    void add(QByteArrayView bytes) { m_hash.addData(bytes); }
    QByteArray result() const { return m_hash.result().toHex(); }
    void reset() { m_hash.reset(); }

private:
    QCryptographicHash m_hash{QCryptographicHash::Blake2b_256};
};
QByteArray digestOf(QByteArrayView text);

// CRC-32 of `bytes`, continuing from `crc` (0 to begin).
quint32 crc32(QByteArrayView bytes, quint32 crc = 0);

// The first line and the header record: what a new journal file begins with.
QByteArray encodeHeader(const Header& header);
// One record each, appended to `out`.
void appendInsert(QByteArray& out, qint64 position, QByteArrayView bytes);
void appendDelete(QByteArray& out, qint64 position, qint64 length);
void appendFields(QByteArray& out, const Fields& fields);

// One record as read: an edit, or a change of the document's fields.
struct Record
{
    enum Kind : char { Insert = 'I', Delete = 'D', ChangeFields = 'F' };
    Kind kind = Insert;
    qint64 position = 0;
    qint64 length = 0;
    qsizetype payload = 0; // an insert's bytes: their offset in the journal read
    qsizetype fields = -1; // a fields change: its index in Reading::fieldChanges
};

// A journal as read: its header, the records that can be trusted, and why
// the rest, if any, cannot.
struct Reading
{
    Fault fault = Fault::None;
    bool hasHeader = false;
    Header header;
    QList<Record> records;
    QList<Fields> fieldChanges;
    qsizetype trustedBytes = 0; // how much of the journal the records above cover
    qint64 textLength = 0;      // the text's length after the records above

    // The document's fields after the records above.
    const Fields& fields() const
    {
        return fieldChanges.isEmpty() ? header.fields : fieldChanges.constLast();
    }
    // Whether the records cover the whole journal.
    bool isWhole() const { return hasHeader && fault == Fault::None; }
};

// Reads a journal's bytes; records refer to `bytes`, which must outlive them.
Reading read(QByteArrayView bytes);

} // namespace EditJournal
