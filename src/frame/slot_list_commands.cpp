#include "frame/slot_list_commands.h"

#include "core/command_target.h"
#include "core/ui_seam.h"
#include "dialogs/reg_tag_dlgs.h"
#include "dialogs/tool_dlgs.h"
#include "resources/command_ids.h"

void registerSlotListCommands(CCommandTarget& frame, QWidget* parent)
{
    frame.onCommand(Cmd::RegisteredTagList, [parent] {
        CRegTagListDlg dialog(parent);
        UiSeam::execDialog(dialog);
    });
    frame.onCommand(Cmd::ToolList, [parent] {
        CToolListDlg dialog(parent);
        UiSeam::execDialog(dialog);
    });
}
