#pragma once

#include "core/command_target.h"

class CMarquillView;

// The view commands that open the form dialogs and put what they build into
// the text: the form area (35600) and the list box area (35601) round the
// selection, the list box item (37011), the text inputs (37005, 37006), the
// submit and reset buttons (37007, 37008), the check box (37009) and the
// radio button (37010) in its place, the last five taking the selected text
// as their label. A command module: CommandModules::install() adds it to
// every view.
void registerFormDialogCommands(CCommandMapOf<CMarquillView>& map);
