#pragma once

#include <QByteArray>

// The text of a file inserted into a document (the insert-file command),
// after it has been decoded as opened files are.
namespace InsertedFile {

// Whether the decoded text is no text at all: it holds a NUL byte, or it is
// not UTF-8 (no encoding could make text of it).
bool isBinary(const QByteArray& text);

// Every line of the text followed by CR LF: "\r\n", "\n" and a lone "\r" all
// end a line, and a last line without a line end gets one.
QByteArray withLineEnds(const QByteArray& text);

} // namespace InsertedFile
