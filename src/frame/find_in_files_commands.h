#pragma once

#include "core/command_target.h"

class CMainFrame;

// The main frame's command "ファイルから検索..." (Ctrl+Alt+F): asks what to look
// for where, starting in the active document's folder, and runs the search in
// the results pane at the bottom of the window.
void registerFindInFilesCommands(CCommandMapOf<CMainFrame>& map);
