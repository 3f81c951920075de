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
    CCommandMapOf<CMarquillView>& view = CMarquillView::commands();
    registerElementDialogCommands(view);
    registerImageListTableCommands(view);
    registerFormDialogCommands(view);
    registerViewCommands(view);
    registerRegisteredTagCommands(view);
    CMarquillView::setFileDropStep(dropFile);
    CMarquillDoc::setNewDocumentStep(runNewDocumentDialog);
}

} // namespace CommandModules
