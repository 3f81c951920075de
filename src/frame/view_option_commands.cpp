#include "frame/view_option_commands.h"

#include "core/options.h"
#include "document/marquill_doc.h"
#include "editor/marquill_view.h"
#include "frame/child_frame.h"
#include "frame/main_frame.h"
#include "resources/command_ids.h"

#include <QMdiArea>

void registerViewOptionCommands(CCommandMapOf<CMainFrame>& map)
{
    map.on(Cmd::LineNumbers, [](CMainFrame& frame) {
        Options::kLineNumbers.write(Options::kLineNumbers.read() != 0 ? 0 : 1);
        for (QMdiSubWindow* sub : frame.mdiArea()->subWindowList())
            if (auto* child = qobject_cast<CChildFrame*>(sub))
                child->view()->applyDisplayOptions();
    });
    map.onUpdate(Cmd::LineNumbers, [](CMainFrame&, CCmdUI& ui) {
        ui.setCheck(Options::kLineNumbers.read() != 0 ? 1 : 0);
    });
}
