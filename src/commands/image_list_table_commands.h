#pragma once

#include "core/command_target.h"

class CMarquillView;

// The view commands that open the image (37001), list (37003) and table
// (37004) dialogs and insert what they build at the caret, replacing the
// selection. A command module: CommandModules::install() adds it to every
// view.
void registerImageListTableCommands(CCommandMapOf<CMarquillView>& map);
