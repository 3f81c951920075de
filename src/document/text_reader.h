#pragma once

#include "document/text_decoding.h"

#include <QByteArrayView>
#include <QString>

// Receives a file's text piece by piece while it is read (TextReader).
class CTextSink
{
public:
    virtual ~CTextSink() = default;
    // Starts the text afresh; `size` bytes are about to come. False when
    // that much cannot be held.
    virtual bool beginText(qint64 size) = 0;
    // False when the piece cannot be held.
    virtual bool appendText(QByteArrayView piece) = 0;
};

namespace TextReader {

inline constexpr qint64 kPieceSize = 4 << 20;

// What a file was read as.
using Kind = TextDecoding::Kind;

// Reads the file at `path` into `sink`, recognised as DocumentFile::read()
// recognises it (TextDecoding::detect), without holding the whole file or its
// conversion anywhere but in the sink: the file's bytes go to the sink as they
// are read, and only when the file turns out to be in another encoding does
// the sink begin again with the converted text. The rules are checked piece
// by piece too, except for UTF-16, ISO-2022-JP and the declared encodings
// not known to decode each character on its own, which are decoded whole. On failure returns false
// with a message naming the file; the sink may then hold part of the text.
bool read(const QString& path, CTextSink& sink, Kind& kind, QString& errorMessage,
          qint64 pieceSize = kPieceSize);

} // namespace TextReader
