#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Reading the tables compiled into the program as Qt resources.
namespace TableFile {

// The bytes of a resource file; a missing one ends the program (it is part of
// the build, not of the user's data).
QByteArray read(const QString& name);

// The rows of a tab-separated table without its header row; empty lines are
// skipped.
QList<QStringList> rows(const QString& name);

// Field i of a row; empty when the row is shorter.
QString field(const QStringList& row, int i);

} // namespace TableFile
