#include "commands/command_modules.h"

#include "commands/element_dialog_commands.h"
#include "commands/form_dialog_commands.h"
#include "commands/image_list_table_commands.h"
#include "commands/registered_tag_commands.h"
#include "commands/view_commands.h"
#include "document/marquill_doc.h"
#include "editor/marquill_view.h"

namespace CommandModules {

void install()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    CMarquillView::installCommandModule(registerElementDialogCommands);
    CMarquillView::installCommandModule(registerImageListTableCommands);
    CMarquillView::installCommandModule(registerFormDialogCommands);
    CMarquillView::installCommandModule(registerViewCommands);
    CMarquillView::installCommandModule(registerRegisteredTagCommands);
    CMarquillDoc::setNewDocumentStep(runNewDocumentDialog);
}

} // namespace CommandModules
