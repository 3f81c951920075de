#pragma once

#include <QByteArrayView>
#include <QString>

#include <vector>

// A text held as UTF-8 bytes (the editor's buffer, a file's decoded text) in
// the UTF-16 form that QString and QRegularExpression work on, with the
// mapping between positions in the two.
//
// Any bytes are taken. A byte that does not begin a valid UTF-8 character
// (strictly: no overlong forms, no surrogates, nothing past U+10FFFF) stands
// for one character of its own, U+FFFD, as the editor shows such a byte as
// one character; so positions always map back to the bytes exactly.
//
// Building costs one pass over the bytes. Mapping a position costs at most a
// walk over one stretch of kStep bytes, none inside an all-ASCII stretch.
// The mapping reads the bytes again: they must stay as they are, where they
// are, while the object is used.
class CUtf16Text
{
public:
    static constexpr qint64 kStep = 256;

    CUtf16Text() = default;
    explicit CUtf16Text(QByteArrayView utf8);

    const QString& text() const { return m_text; }
    qint64 byteSize() const { return m_byteSize; }

    // The index in text() of the first character that starts at or after
    // the byte position (clamped to the text).
    qsizetype indexOfByte(qint64 pos) const;
    // The byte position of the character at the index (clamped to the
    // text); the second half of a surrogate pair gives the pair's start.
    qint64 byteOfIndex(qsizetype index) const;

    // The UTF-16 text alone, decoded by the same rule.
    static QString decode(QByteArrayView utf8);
    // The byte position count characters after pos (a character as this
    // class counts one: a line end's CR and LF each count), at most the end.
    static qint64 advance(QByteArrayView utf8, qint64 pos, qint64 count);

private:
    // Where the first character at or after k * kStep starts, and whether
    // every byte from there to the next mark is ASCII.
    struct Mark
    {
        qint64 byte;
        qsizetype index;
        bool ascii;
    };

    QByteArrayView m_bytes;
    QString m_text;
    qint64 m_byteSize = 0;
    std::vector<Mark> m_marks; // one per kStep bytes, then one at the end
};
