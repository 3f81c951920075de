#pragma once

// The commands that run a dialog for a view and put its result into the
// text. install() adds them to every view built from then on and installs the
// new-document step; the application calls it once at start-up.
namespace CommandModules {

void install();

} // namespace CommandModules
