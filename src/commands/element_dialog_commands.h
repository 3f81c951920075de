#pragma once

#include "core/command_target.h"

class CMarquillDoc;
class CMarquillView;

// The view commands that open the document information (35499), link
// (35500-35503), font (35504), heading (35505) and rule (37002) dialogs and
// put what they build into the text: the wrap dialogs round the selection,
// the rule in its place. A command module: CommandModules::install() adds it
// to every view.
void registerElementDialogCommands(CCommandMapOf<CMarquillView>& map);

// The new-document step: when the option "Dialog" is set, shows the
// document information dialog for the (empty) new document, with no
// document folder, and on OK wraps its empty selection with the frame, so the
// caret ends between the two parts. Returns whether the frame was inserted.
bool runNewDocumentDialog(CMarquillDoc& doc);
