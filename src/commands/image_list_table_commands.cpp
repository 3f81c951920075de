#include "commands/image_list_table_commands.h"

#include "commands/dialog_commands.h"
#include "core/ui_seam.h"
#include "dialogs/image_dlg.h"
#include "dialogs/list_dlg.h"
#include "dialogs/table_dlg.h"
#include "document/my_rich_edit_doc.h"
#include "editor/marquill_view.h"
#include "resources/command_ids.h"

namespace {

bool fitsLatin1(const QString& text)
{
    for (QChar ch : text) {
        if (ch.unicode() > 0xFF)
            return false;
    }
    return true;
}

void insertImage(CMarquillView& view)
{
    CImageDlg dlg(&view);
    if (const CMyRichEditDoc* doc = view.document())
        dlg.setDocumentFolder(doc->folder());
    if (UiSeam::execDialog(dlg) == QDialog::Accepted)
        view.InsertText(dlg.resultText().toUtf8(), true);
}

// The selected lines become the list's items. A selection that is not UTF-8
// (a file kept as raw bytes) goes through the dialog byte for byte, so its
// bytes come back unchanged unless the user types characters beyond them.
void insertList(CMarquillView& view)
{
    const QByteArray selected = view.selectedBytes();
    const bool raw = !selected.isValidUtf8();
    CListDlg dlg(&view);
    dlg.setItems(raw ? QString::fromLatin1(selected) : QString::fromUtf8(selected));
    if (UiSeam::execDialog(dlg) != QDialog::Accepted)
        return;
    const QString list = dlg.resultText();
    view.InsertText(raw && fitsLatin1(list) ? list.toLatin1() : list.toUtf8(), true);
}

} // namespace

void registerImageListTableCommands(CCommandMapOf<CMarquillView>& map)
{
    map.on(Cmd::Image, insertImage);
    map.on(Cmd::List, insertList);
    DialogCommands::addInsertDialog<CTableDlg>(map, Cmd::Table);
}
