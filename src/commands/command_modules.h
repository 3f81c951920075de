#pragma once

// The commands that run a dialog for a view and put its result into the
// text. install() adds them to the map of the views' commands and installs
// the new-document and the file-drop steps; the application calls it at
// start-up, and calls after the first do nothing.
namespace CommandModules {

void install();

} // namespace CommandModules
