#include "frame/find_in_files_commands.h"

#include "core/ui_seam.h"
#include "dialogs/find_in_files_dlg.h"
#include "document/folder_search.h"
#include "document/marquill_doc.h"
#include "editor/rules/regex_pattern.h"
#include "frame/child_frame.h"
#include "frame/main_frame.h"
#include "frame/results_pane.h"
#include "resources/command_ids.h"

void registerFindInFilesCommands(CCommandMapOf<CMainFrame>& map)
{
    map.on(Cmd::FindInFiles, [](CMainFrame& frame) {
        CChildFrame* child = frame.activeChild();
        const QString folder = child && child->doc() ? child->doc()->folder() : QString();
        CFindInFilesDlg dialog(folder, &frame);
        if (UiSeam::execDialog(dialog) != QDialog::Accepted)
            return;
        FolderSearchQuery query;
        query.folder = dialog.folder();
        query.nameFilters = FolderSearch::nameFilters(dialog.fileTypes());
        query.subfolders = dialog.subfolders();
        query.text = dialog.findText();
        query.matchCase = dialog.matchCase();
        query.regex = dialog.regex();
        if (query.regex)
            query.expression = CRegexPattern(query.text, {query.matchCase, false}).expression();
        CResultsPane::of(&frame)->start(query, query.text);
    });
}
