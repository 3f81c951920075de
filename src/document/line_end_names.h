#pragma once

#include <QByteArray>
#include <QString>

// The names a recovery file gives a document's line end ("CRLF", "LF",
// "CR"), written by both the journal and the whole copy.
namespace LineEndNames {

QString nameOf(const QByteArray& lineEnd);

// The line end a name stands for; empty for a name this version does not know.
QByteArray fromName(const QString& name);

} // namespace LineEndNames
