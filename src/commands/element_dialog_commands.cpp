#include "commands/element_dialog_commands.h"

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

namespace {

// Runs a wrap dialog modally and, after OK, wraps the selection with its texts.
template <typename Dialog> void runWrapDialog(CMarquillView& view, Dialog& dialog)
{
    if (UiSeam::execDialog(dialog) != QDialog::Accepted)
        return;
    view.WrapSelection(dialog.startText().toUtf8(), dialog.endText().toUtf8(), true);
}

template <typename Dialog> void addWrapDialog(CMarquillView& view, int id)
{
    view.onCommand(id, [&view] {
        Dialog dialog(&view);
        runWrapDialog(view, dialog);
    });
}

} // namespace

void registerElementDialogCommands(CMarquillView& view)
{
    CMarquillDoc::setNewDocumentDialog(runNewDocumentDialog);

    view.onCommand(Cmd::DocumentInfo, [&view] {
        CDocInfoDlg dialog(&view);
        if (const CMarquillDoc* doc = view.marquillDocument())
            dialog.setDocumentFolder(doc->folder());
        runWrapDialog(view, dialog);
    });
    addWrapDialog<CLinkDlg>(view, Cmd::Link);
    addWrapDialog<CSameDocLinkDlg>(view, Cmd::SameDocLink);
    addWrapDialog<CBookmarkDlg>(view, Cmd::Bookmark);
    addWrapDialog<CMailLinkDlg>(view, Cmd::MailLink);
    addWrapDialog<CFontTagDlg>(view, Cmd::FontTag);
    addWrapDialog<CHeadingDlg>(view, Cmd::HeadingDialog);
    view.onCommand(Cmd::RuleDialog, [&view] {
        CRuleDlg dialog(&view);
        if (UiSeam::execDialog(dialog) == QDialog::Accepted)
            view.InsertText(dialog.text().toUtf8(), true);
    });
}
