#pragma once

#include <QByteArray>
#include <QString>

// File names as the system stores them: bytes, usually UTF-8 but not always
// (a Shift_JIS name copied from another machine). In a QString such a name
// keeps every byte that is not part of valid UTF-8 as the lone surrogate
// U+DC00 + byte (U+DC80 to U+DCFF), so that it goes back to the very same
// bytes. Every call that hands a path to the system goes through encode();
// every name read from the system (a folder listing, the command line, a
// handed-over path) through decode().
namespace FileNames {

// The bytes of a path for the system's calls.
QByteArray encode(const QString& path);
// A path from the system's bytes; valid UTF-8 reads as itself.
QString decode(const QByteArray& bytes);
// Whether the path holds bytes that are not UTF-8.
bool hasRawBytes(const QString& path);

// The path as shown to the user: a name whose bytes are not UTF-8 is read
// as Shift_JIS or as EUC-JP where that gives back exactly its bytes, and
// otherwise shows each such byte as \xNN. Other paths are shown as they are.
QString display(const QString& path);
// The last part of the path (after the last "/"), as display() shows it.
QString displayFileName(const QString& path);

// A path that Qt has read with U+FFFD in place of bytes that are not UTF-8
// (its file dialog, a dropped file's address) names no file. When exactly
// one name in its folder reads that way, returns the real one; otherwise
// returns the path as it is.
QString findLossyName(const QString& path);

// Whether two paths name the same file: the same path, or two paths that
// resolve to one existing file. Two files that do not exist are not the same
// (as Qt's file information takes them, and every name that is not UTF-8 with
// them).
bool sameFile(const QString& a, const QString& b);

} // namespace FileNames
