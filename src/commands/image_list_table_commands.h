#pragma once

class CMarquillView;

// The view commands that open the image (37001), list (37003) and table
// (37004) dialogs and insert what they build at the caret, replacing the
// selection. Called once for each view when it is built.
void registerImageListTableCommands(CMarquillView& view);
