#include "commands/element_dialog_commands.h"

#include "commands/dialog_commands.h"
#include "core/options.h"
#include "core/ui_seam.h"
#include "dialogs/anchor_field_dlg.h"
#include "dialogs/doc_info_dlg.h"
#include "dialogs/font_tag_dlg.h"
#include "dialogs/heading_dlg.h"
#include "dialogs/link_dlg.h"
#include "dialogs/rule_dlg.h"
#include "document/marquill_doc.h"
#include "editor/marquill_view.h"
#include "resources/command_ids.h"

using DialogCommands::addWrapDialog;
using DialogCommands::runWrapDialog;

void registerElementDialogCommands(CCommandMapOf<CMarquillView>& map)
{
    map.on(Cmd::DocumentInfo, [](CMarquillView& view) {
        CDocInfoDlg dialog(&view);
        if (const CMarquillDoc* doc = view.marquillDocument())
            dialog.setDocumentFolder(doc->folder());
        runWrapDialog(view, dialog);
    });
    addWrapDialog<CLinkDlg>(map, Cmd::Link);
    addWrapDialog<CSameDocLinkDlg>(map, Cmd::SameDocLink);
    addWrapDialog<CBookmarkDlg>(map, Cmd::Bookmark);
    addWrapDialog<CMailLinkDlg>(map, Cmd::MailLink);
    addWrapDialog<CFontTagDlg>(map, Cmd::FontTag);
    addWrapDialog<CHeadingDlg>(map, Cmd::HeadingDialog);
    map.on(Cmd::RuleDialog, [](CMarquillView& view) {
        CRuleDlg dialog(&view);
        if (UiSeam::execDialog(dialog) == QDialog::Accepted)
            view.InsertText(dialog.text().toUtf8(), true);
    });
}

bool runNewDocumentDialog(CMarquillDoc& doc)
{
    auto* view = dynamic_cast<CMarquillView*>(doc.view());
    if (!view || Options::kDialog.read() == 0)
        return false;
    CDocInfoDlg dialog(view);
    return runWrapDialog(*view, dialog);
}
