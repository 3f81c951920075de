#pragma once

class CMarquillView;

// The view commands that open the document information (35499), link
// (35500-35503), font (35504), heading (35505) and rule (37002) dialogs and
// put what they build into the text: the wrap dialogs round the selection,
// the rule in its place. Also installs the new-document dialog step.
// Called once for each view when it is built.
void registerElementDialogCommands(CMarquillView& view);
