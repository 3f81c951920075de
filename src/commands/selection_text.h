#pragma once

#include <QByteArray>
#include <QString>

// The selected bytes handed to a dialog as text, and the dialog's result
// turned back into bytes. UTF-8 sequences become their characters; every
// other byte (a file kept as raw bytes) becomes a stand-in character
// U+DC80..U+DCFF and comes back as the same byte, so text taken from the
// document and returned by the dialog is never altered, whatever the user
// types around it.
namespace SelectionText {

QString decode(const QByteArray& bytes);
QByteArray encode(const QString& text);

} // namespace SelectionText
