#pragma once

class CMarquillView;

// The view's remaining commands: jump to a line, insert a file, the
// full-width space, and files dropped on the view.
void registerViewCommands(CMarquillView& view);
