#include "commands/app_dialog_commands.h"

#include "core/program_files.h"
#include "core/ui_seam.h"
#include "dialogs/history_delete_dlg.h"
#include "dialogs/one_point_dlg.h"
#include "dialogs/option_sheet.h"
#include "document/recent_file_list.h"
#include "editor/marquill_view.h"

namespace {

QString tipsFile()
{
    return ProgramFiles::locate(QStringLiteral("tips.txt"));
}

} // namespace

bool runOptionSheet(QWidget* parent, const QList<CMarquillView*>& views)
{
    COptionSheet sheet(parent);
    if (UiSeam::execDialog(sheet) != QDialog::Accepted)
        return false;
    for (CMarquillView* view : views)
        if (view)
            view->reapplyFormats();
    return true;
}

void showTipOfTheDay(QWidget* parent)
{
    COnePointDlg dialog(tipsFile(), parent);
    UiSeam::execDialog(dialog);
}

void showTipAtStartUp(QWidget* parent)
{
    COnePointDlg dialog(tipsFile(), parent);
    if (dialog.showAtStartUp())
        UiSeam::execDialog(dialog);
}

bool runHistoryDeletion(QWidget* parent, CRecentFileList& recentFiles)
{
    CHistoryDeleteDlg dialog(recentFiles.entries(), parent);
    if (UiSeam::execDialog(dialog) != QDialog::Accepted)
        return false;
    recentFiles.setEntries(dialog.files());
    return true;
}
