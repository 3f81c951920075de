#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Recognising a document file's encoding, decoding its bytes into the
// editor's text and encoding the text back. Nothing here reads or writes
// files.
//
// The editor's buffer is UTF-8. A file that is valid UTF-8 (or plain ASCII)
// is taken unconverted, whatever it holds (CR LF, lone CR, NUL bytes). A file
// in another encoding (UTF-16 with a byte-order mark, ISO-2022-JP, an
// encoding the file declares for itself, Shift_JIS or EUC-JP) is converted to
// UTF-8 only when converting the text back reproduces the file's bytes
// exactly; the document then keeps the encoding and saves in it. Any other
// file is taken as its raw bytes, so nothing in it is ever lost.
namespace TextDecoding {

// The text of a file as the editor holds it.
struct Text
{
    QByteArray bytes; // UTF-8, or the file's bytes as they are
    QString encoding; // the encoding the file was converted from; empty: unconverted
    // The bytes are the file's own and not UTF-8: no encoding reproduced them.
    bool unconverted = false;
};

// What a file was recognised as: Text without the text.
struct Kind
{
    QString encoding;
    bool unconverted = false;
};

// What recognising a file asks about its bytes. Reading a whole file answers
// from the bytes in memory; reading a large file in pieces answers by going
// through the file piece by piece. Both are recognised by detect(), so both
// follow the same rules in the same order.
class Probe
{
public:
    virtual ~Probe() = default;

    // The first 4 KB (where a byte-order mark and a declared encoding are).
    virtual QByteArrayView head() = 0;
    virtual bool validUtf8() = 0;
    // Whether any byte is not ASCII.
    virtual bool nonAscii() = 0;
    virtual bool looksLikeIso2022Jp() = 0;

    // The bytes decoded in one encoding: exact when encoding the text again
    // gives back exactly the bytes; head holds the text of the first 4 KB at
    // least. With kanjiWeight 0 or more, score is TextEncoding::japaneseScore
    // of the whole text with that weight.
    struct Reading
    {
        bool exact = false;
        int score = 0;
        QString head;
    };
    virtual Reading read(const QString& encoding, int kanjiWeight = -1) = 0;
};

// Recognises the encoding of the bytes the probe answers for: the one order
// of rules every reader of document files follows.
Kind detect(Probe& probe);

// Probe::read() for bytes held whole; the decoded text of an exact reading
// goes to `text` (its head is the whole text).
Probe::Reading readWhole(QByteArrayView bytes, const QString& encoding, int kanjiWeight,
                         QString& text);

// Turns a file's bytes into the editor's text, recognised by detect().
Text decode(const QByteArray& fileBytes);

// Decodes a file's bytes in the encoding the user chose ("UTF-8" for the
// bytes as they are, or a name of TextEncoding::shortList()). Returns false,
// with the reason, when that encoding does not reproduce the bytes exactly.
bool decodeAs(const QByteArray& fileBytes, const QString& encoding, Text& text, QString& reason);

// Turns the editor's text back into a file's bytes for `encoding` (empty: the
// bytes themselves, shared rather than copied; "UTF-8": the bytes, which
// must be valid UTF-8). Returns false, and names the first character (or
// byte) that the encoding cannot represent and its line in `badCharacter`,
// when the text cannot be stored in that encoding without changing it.
bool encode(const QByteArray& text, const QString& encoding, QByteArray& fileBytes,
            QString& badCharacter);

// What makes the encoding a text declares for itself (TextEncoding::
// declaredCharset) name the encoding the text is about to be written in
// (empty: UTF-8): the declared name's place and the name to put there.
// Nothing (offset -1) when the text declares nothing or already names that
// encoding, in whatever spelling.
struct DeclarationChange
{
    qsizetype offset = -1;
    qsizetype length = 0;
    QByteArray name;
};
DeclarationChange declarationChange(QByteArrayView text, const QString& encoding);

// The valid multi-byte UTF-8 characters of bytes, in order, one after the
// other.
QByteArray utf8Characters(const QByteArray& bytes);
// Whether edited text holds UTF-8 characters that the unconverted text it
// came from did not (`original` is utf8Characters() of that text): saving it
// as it stands would mix UTF-8 into bytes of another encoding.
bool addsUtf8Characters(const QByteArray& original, const QByteArray& edited);

} // namespace TextDecoding
