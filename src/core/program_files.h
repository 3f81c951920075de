#pragma once

#include <QString>

// Files shipped with the program (the tips, the help page, the home-page
// shortcut): looked for beside the executable first, then in the installed
// data folder (<prefix>/share/marquill, and the desktop's data folders).
namespace ProgramFiles {

// The full path of the first copy found; empty when there is none.
QString locate(const QString& name);

} // namespace ProgramFiles
