#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>

// The encodings a document file can be stored in, and the pure rules that
// recognise them. An encoding is named as Qt and ICU name it ("Shift_JIS",
// "EUC-JP", "ISO-2022-JP", "UTF-16LE", "windows-1252", ...). UTF-16 is always
// written with its byte-order mark. ISO-2022-JP text always ends in the ASCII
// state. Nothing here reads or writes files.
namespace TextEncoding {

// The name that stands for UTF-8 in the lists the user chooses from.
inline constexpr char kUtf8[] = "UTF-8";

// The encodings offered for reopening and saving, in the order shown.
QStringList shortList();

// The name under which an encoding is kept and shown ("sjis" and "x-sjis"
// become "Shift_JIS", "cp1252" becomes "Windows-1252"); empty when Qt and ICU
// do not know it.
QString canonicalName(const QString& name);

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool isValidUtf8(QByteArrayView bytes);
// Offset of the first byte that does not belong to a valid UTF-8 character,
// or -1.
qsizetype firstInvalidUtf8(QByteArrayView bytes);

// The encoding a file names for itself in its first 4 KB: an XML declaration
// (`<?xml ... encoding="..."?>` at its start) or a `<meta>` tag with a
// `charset=` (HTML 5 form, or the http-equiv content). Empty when there is
// none. The name is returned as written.
QByteArray declaredCharset(QByteArrayView bytes);
// Where declaredCharset() found the name: its offset and length in bytes
// (offset -1 when there is none).
struct NameSpan
{
    qsizetype offset = -1;
    qsizetype length = 0;
};
NameSpan declaredCharsetSpan(QByteArrayView bytes);

// How much a decoded text looks like Japanese: kana and everyday punctuation
// count for it, half-width katakana too when their sound marks and long
// vowel marks follow letters that take them, private-use and compatibility
// characters against it. Kanji count kanjiWeight each.
int japaneseScore(const QString& text, int kanjiWeight);

// Encodes text; false when the encoding is unknown or cannot hold the text
// exactly (decoding the result again would not give back the text).
// `lostAt` is then the index in text of the first character that does not
// survive (-1 when the encoding is unknown).
bool encode(const QString& text, const QString& encoding, QByteArray& bytes, qsizetype& lostAt);

// Decodes bytes from encoding and accepts the result only when encoding it
// again gives back exactly those bytes. ISO-2022-JP bytes that end in a
// double-byte state are accepted too: saving them adds only the return to
// ASCII at the end.
bool decodeExactly(QByteArrayView bytes, const QString& encoding, QString& text);

// Whether the bytes use the escape sequences of ISO-2022-JP (and are 7-bit).
bool looksLikeIso2022Jp(QByteArrayView bytes);

// The byte-order mark's encoding ("UTF-16LE", "UTF-16BE"), or empty.
QString utf16ByteOrder(QByteArrayView bytes);

// The same rules for a text that comes piece by piece, so that a large file
// never has to be held or decoded whole to learn what it is.

// isValidUtf8, looksLikeIso2022Jp, whether any byte is not ASCII, and the
// first 4 KB (where declaredCharset and utf16ByteOrder look).
class PieceScan
{
public:
    void feed(QByteArrayView piece);
    bool validUtf8() const { return !m_invalid && m_needed == 0; }
    bool nonAscii() const { return m_nonAscii; }
    bool looksLikeIso2022Jp() const { return !m_nonAscii && m_escape; }
    const QByteArray& head() const { return m_head; }

private:
    bool m_invalid = false;
    int m_needed = 0; // continuation bytes still expected
    char32_t m_codePoint = 0;
    char32_t m_minimum = 0;
    bool m_nonAscii = false;
    bool m_escape = false;
    QByteArray m_tail; // the last bytes of the piece before, for an escape cut in two
    QByteArray m_head;
};

// decodeExactly for an encoding other than UTF-16 and ISO-2022-JP (whose
// round trips need the whole text), and japaneseScore of the decoded text,
// piece by piece; also the length of the text in UTF-8.
class PieceRoundTrip
{
public:
    PieceRoundTrip(const QString& encoding, int kanjiWeight);
    // Returns false once the round trip has failed: the rest need not come.
    bool feed(QByteArrayView piece);
    // After the last piece.
    bool exact() const;
    int score() const { return m_score; }
    qint64 utf8Length() const { return m_utf8Length; }
    // The text decoded from the first 4 KB or more.
    const QString& head() const { return m_head; }

private:
    QString m_encoding;
    int m_kanjiWeight;
    QStringDecoder m_decoder;
    QStringEncoder m_encoder;
    QByteArray m_unverified; // read but not yet given back by the encoder
    bool m_failed = false;
    int m_score = 0;
    char16_t m_previous = 0;
    qint64 m_utf8Length = 0;
    QString m_head;
};

// 1-based line of the character at offset in text: lines end at LF, CR LF or
// a lone CR.
template <typename Text> qsizetype lineAt(const Text& text, qsizetype offset)
{
    qsizetype line = 1;
    for (qsizetype i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
            ++line;
    }
    return line;
}

} // namespace TextEncoding
