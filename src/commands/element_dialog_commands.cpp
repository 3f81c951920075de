#include "commands/element_dialog_commands.h"

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

namespace {

// Runs a wrap dialog modally and, after OK, wraps the selection with its
// texts. Returns whether the dialog was accepted.
template <typename Dialog> bool runWrapDialog(CMarquillView& view, Dialog& dialog)
{
    if (UiSeam::execDialog(dialog) != QDialog::Accepted)
        return false;
    view.WrapSelection(dialog.startText().toUtf8(), dialog.endText().toUtf8(), true);
    return true;
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

bool runNewDocumentDialog(CMarquillDoc& doc)
{
    auto* view = dynamic_cast<CMarquillView*>(doc.view());
    if (!view || Options::kDialog.read() == 0)
        return false;
    CDocInfoDlg dialog(view);
    return runWrapDialog(*view, dialog);
}
