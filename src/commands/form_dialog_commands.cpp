#include "commands/form_dialog_commands.h"

#include "commands/selection_text.h"
#include "core/ui_seam.h"
#include "dialogs/check_box_dlg.h"
#include "dialogs/form_dlg.h"
#include "dialogs/line_input_dlg.h"
#include "dialogs/option_item_dlg.h"
#include "dialogs/radio_button_dlg.h"
#include "dialogs/reset_button_dlg.h"
#include "dialogs/select_dlg.h"
#include "dialogs/submit_button_dlg.h"
#include "dialogs/text_area_dlg.h"
#include "editor/marquill_view.h"
#include "resources/command_ids.h"

namespace {

// A dialog whose texts go before and after the selection.
template <typename Dialog> void addWrapDialog(CMarquillView& view, int id)
{
    view.onCommand(id, [&view] {
        Dialog dialog(&view);
        if (UiSeam::execDialog(dialog) == QDialog::Accepted)
            view.WrapSelection(dialog.startText().toUtf8(), dialog.endText().toUtf8(), true);
    });
}

// A dialog whose element replaces the selection.
template <typename Dialog> void addInsertDialog(CMarquillView& view, int id)
{
    view.onCommand(id, [&view] {
        Dialog dialog(&view);
        if (UiSeam::execDialog(dialog) == QDialog::Accepted)
            view.InsertText(dialog.resultText().toUtf8(), true);
    });
}

// A dialog that takes the selected text as the label of the element that
// replaces it; the label comes back byte for byte.
template <typename Dialog> void addLabelDialog(CMarquillView& view, int id)
{
    view.onCommand(id, [&view] {
        Dialog dialog(&view);
        dialog.setLabel(SelectionText::decode(view.selectedBytes()));
        if (UiSeam::execDialog(dialog) == QDialog::Accepted)
            view.InsertText(SelectionText::encode(dialog.resultText()), true);
    });
}

} // namespace

void registerFormDialogCommands(CMarquillView& view)
{
    addWrapDialog<CFormDlg>(view, Cmd::FormArea);
    addWrapDialog<CSelectDlg>(view, Cmd::SelectArea);
    addLabelDialog<COptionItemDlg>(view, Cmd::OptionItem);
    addInsertDialog<CLineInputDlg>(view, Cmd::LineInput);
    addInsertDialog<CTextAreaDlg>(view, Cmd::TextArea);
    addLabelDialog<CCheckBoxDlg>(view, Cmd::CheckBox);
    addLabelDialog<CRadioButtonDlg>(view, Cmd::RadioButton);
    addLabelDialog<CSubmitButtonDlg>(view, Cmd::SubmitButton);
    addLabelDialog<CResetButtonDlg>(view, Cmd::ResetButton);
}
