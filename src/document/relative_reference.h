#pragma once

#include <QString>

// Turns `target`, the full path of a file the user chose or dropped, into a
// reference relative to `base`, the document's folder (its path up to and
// including the last "/"). The reference climbs with one "../" for every
// folder of the base below the common beginning of both paths. Either path
// empty (an untitled document) gives an empty reference; paths with nothing
// at all in common give the target unchanged.
//
// Paths use the native separator "/" only: a backslash is an ordinary
// character in a file name here and is kept as it is.
QString relativeReference(const QString& base, const QString& target);
