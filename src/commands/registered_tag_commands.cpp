#include "commands/registered_tag_commands.h"

#include "core/slot_records.h"
#include "core/ui_seam.h"
#include "dialogs/reg_tag_dlgs.h"
#include "editor/marquill_view.h"
#include "resources/command_ids.h"

namespace {

void insertRegisteredTag(CMarquillView& view, int slot)
{
    const RegisteredTagRecord tag = SlotRecords::readRegisteredTag(slot);
    // A free slot (an accelerator with no tag behind it) leaves the text,
    // its undo history and the re-insert memory alone.
    if (!tag.isUsed())
        return;
    QString start = tag.before;
    if (!tag.middle.isEmpty()) {
        CRegTagValueDlg prompt(&view);
        prompt.setCaption(tag.view);
        if (UiSeam::execDialog(prompt) != QDialog::Accepted)
            return;
        start += prompt.value() + tag.middle;
    }
    view.WrapSelection(start.toUtf8(), tag.after.toUtf8(), true);
}

} // namespace

void registerRegisteredTagCommands(CCommandMapOf<CMarquillView>& map)
{
    map.on(Cmd::RegisteredTag0, Cmd::RegisteredTag9, [](CMarquillView& view, int id) {
        insertRegisteredTag(view, id - Cmd::RegisteredTag0);
    });
}
