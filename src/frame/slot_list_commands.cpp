#include "frame/slot_list_commands.h"

#include "core/ui_seam.h"
#include "dialogs/reg_tag_dlgs.h"
#include "dialogs/tool_dlgs.h"
#include "frame/main_frame.h"
#include "resources/command_ids.h"

void registerSlotListCommands(CCommandMapOf<CMainFrame>& map)
{
    map.on(Cmd::RegisteredTagList, [](CMainFrame& frame) {
        CRegTagListDlg dialog(&frame);
        UiSeam::execDialog(dialog);
    });
    map.on(Cmd::ToolList, [](CMainFrame& frame) {
        CToolListDlg dialog(&frame);
        UiSeam::execDialog(dialog);
    });
}
