#pragma once

#include "core/command_target.h"
#include "core/ui_seam.h"
#include "editor/marquill_view.h"

// Commands that run a dialog modally for the view and, after OK, put its
// result into the text.
namespace DialogCommands {

// Wraps the selection with the accepted dialog's start and end texts.
// Returns whether the dialog was accepted.
template <typename Dialog> bool runWrapDialog(CMarquillView& view, Dialog& dialog)
{
    if (UiSeam::execDialog(dialog) != QDialog::Accepted)
        return false;
    view.WrapSelection(dialog.startText().toUtf8(), dialog.endText().toUtf8(), true);
    return true;
}

// A dialog whose texts go before and after the selection.
template <typename Dialog> void addWrapDialog(CCommandMapOf<CMarquillView>& map, int id)
{
    map.on(id, [](CMarquillView& view) {
        Dialog dialog(&view);
        runWrapDialog(view, dialog);
    });
}

// A dialog whose element (resultText) replaces the selection.
template <typename Dialog> void addInsertDialog(CCommandMapOf<CMarquillView>& map, int id)
{
    map.on(id, [](CMarquillView& view) {
        Dialog dialog(&view);
        if (UiSeam::execDialog(dialog) == QDialog::Accepted)
            view.InsertText(dialog.resultText().toUtf8(), true);
    });
}

} // namespace DialogCommands
