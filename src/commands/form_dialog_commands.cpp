#include "commands/form_dialog_commands.h"

#include "commands/dialog_commands.h"
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

using DialogCommands::addInsertDialog;
using DialogCommands::addWrapDialog;

namespace {

// A dialog that takes the selected text as the label of the element that
// replaces it; the label comes back byte for byte.
template <typename Dialog> void addLabelDialog(CCommandMapOf<CMarquillView>& map, int id)
{
    map.on(id, [](CMarquillView& view) {
        Dialog dialog(&view);
        dialog.setLabel(SelectionText::decode(view.selectedBytes()));
        if (UiSeam::execDialog(dialog) == QDialog::Accepted)
            view.InsertText(SelectionText::encode(dialog.resultText()), true);
    });
}

} // namespace

void registerFormDialogCommands(CCommandMapOf<CMarquillView>& map)
{
    addWrapDialog<CFormDlg>(map, Cmd::FormArea);
    addWrapDialog<CSelectDlg>(map, Cmd::SelectArea);
    addLabelDialog<COptionItemDlg>(map, Cmd::OptionItem);
    addInsertDialog<CLineInputDlg>(map, Cmd::LineInput);
    addInsertDialog<CTextAreaDlg>(map, Cmd::TextArea);
    addLabelDialog<CCheckBoxDlg>(map, Cmd::CheckBox);
    addLabelDialog<CRadioButtonDlg>(map, Cmd::RadioButton);
    addLabelDialog<CSubmitButtonDlg>(map, Cmd::SubmitButton);
    addLabelDialog<CResetButtonDlg>(map, Cmd::ResetButton);
}
