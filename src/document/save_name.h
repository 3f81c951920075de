#pragma once

#include <QString>

// The name the Save As dialog proposes: the document's path, or for an
// untitled document its title cut at the first blank or any of the
// characters # % ; / and backslash, followed by ".htm". So the modified
// untitled document "無題 *" proposes "無題.htm", never carrying the modified
// marker into the name.
QString saveAsProposedName(const QString& path, const QString& title);
