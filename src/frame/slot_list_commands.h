#pragma once

#include "core/command_target.h"

class CMainFrame;

// The main frame's commands that open the registered-tag list (32820) and the
// tool list (32821). Their OK stores the slots; the menus read them again
// each time they open, so nothing else follows here.
void registerSlotListCommands(CCommandMapOf<CMainFrame>& map);
