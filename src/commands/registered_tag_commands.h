#pragma once

#include "core/command_target.h"

class CMarquillView;

// Registered-tag insertion (40000-40009): wraps the selection with the start
// and end tag of the slot. When the start tag has a second half, the value
// between the halves is asked for first, in a prompt captioned with the tag's
// name; Cancel there inserts nothing. A free slot does nothing. A command
// module: CommandModules::install() adds it to every view.
void registerRegisteredTagCommands(CCommandMapOf<CMarquillView>& map);
