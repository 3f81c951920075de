#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The document's code page, UTF-8: which bytes start a character and how long
// each character is. The rules that step over multi-byte characters (lower-
// and upper-casing tag names) use these, so a multi-byte character is never
// split. A byte that cannot start a valid sequence counts as a character of
// its own, so any byte string can be walked.
namespace CodePage {

// Whether b is the first byte of a multi-byte character.
inline bool isLeadByte(unsigned char b)
{
    return b >= 0xC2 && b <= 0xF4;
}

// Whether b continues a multi-byte character.
inline bool isTrailByte(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// Length in bytes of the character starting at pos (at least 1; 0 at or past
// the end). A lead byte whose trail bytes are missing or wrong counts alone.
int charLengthAt(QByteArrayView text, qint64 pos);

// Whether a character starts at pos (pos == size counts as a start).
bool isCharStart(QByteArrayView text, qint64 pos);

// Start of the character holding pos.
qint64 charStartAt(QByteArrayView text, qint64 pos);

// ASCII letters a to z become A to Z; every multi-byte character and every
// other byte is copied unchanged.
QByteArray toUpperAscii(QByteArrayView text);

} // namespace CodePage
