#pragma once

#include "core/command_target.h"

class CMainFrame;

// The main frame's command that shows or hides the line numbers of every
// document window (41200, checked while they are shown). The choice is
// stored at once ("LineNumbers"), so windows opened later and the next start
// follow it.
void registerViewOptionCommands(CCommandMapOf<CMainFrame>& map);
