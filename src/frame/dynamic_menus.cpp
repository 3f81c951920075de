#include "frame/dynamic_menus.h"

#include "core/slot_names.h"
#include "core/ui_seam.h"
#include "dialogs/window_list_dlg.h"
#include "document/recent_file_list.h"
#include "resources/command_ids.h"
#include "resources/command_table.h"

#include <QAction>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

namespace DynamicMenus {
namespace {

const char* const kRunTimeItem = "marquillRunTimeItem";
// The window menu names this many document windows at most.
constexpr int kListedWindows = 9;

bool holdsRecentFiles(const QMenu* menu)
{
    for (const QAction* a : menu->actions())
        if (MenuBuilder::commandId(a) == Cmd::RecentFile1)
            return true;
    return false;
}

void rebuildRecentFiles(QMenu* menu, const CRecentFileList* recent,
                        const MenuBuilder::ActionFactory& make)
{
    QAction* first = nullptr;
    for (QAction* a : menu->actions()) {
        const int id = MenuBuilder::commandId(a);
        if (id < Cmd::RecentFile1 || id > Cmd::RecentFile9)
            continue;
        if (!first)
            first = a;
        else
            delete a;
    }
    if (!first || !recent)
        return;
    // Files directly in the program folder are shown by their names alone.
    const QString programFolder = QCoreApplication::applicationDirPath();
    if (recent->isEmpty()) {
        first->setText(Resources::menuText(Cmd::RecentFile1));
        first->setData(int(Cmd::RecentFile1));
        first->setEnabled(false);
        return;
    }
    first->setText(recent->menuCaption(0, programFolder));
    first->setEnabled(true);
    QAction* before = nullptr;
    const QList<QAction*> all = menu->actions();
    const qsizetype at = all.indexOf(first);
    if (at + 1 < all.size())
        before = all[at + 1];
    for (int i = 1; i < recent->count(); ++i) {
        const int id = Cmd::RecentFile1 + i;
        menu->insertAction(before, make(id, recent->menuCaption(i, programFolder), menu));
    }
    recent->setWorkingFolderToLastUsed();
}

// Lists the used slots after the menu's fixed items, each with its number as
// mnemonic and its command's key.
void rebuildSlotMenu(QMenu* menu, int firstId, const SlotNames::List& list,
                     const MenuBuilder::ActionFactory& make)
{
    for (QAction* a : menu->actions()) {
        const int id = MenuBuilder::commandId(a);
        if (id >= firstId && id < firstId + SlotNames::kSlotCount)
            delete a;
    }
    const QStringList names = SlotNames::read(list);
    for (int i = 0; i < names.size(); ++i) {
        const QString number = QString::number(i);
        // An ampersand in the user's name is shown, not taken as a mnemonic.
        const QString name = QString(names[i]).replace(QLatin1Char('&'), QStringLiteral("&&"));
        const QString caption = QStringLiteral("&") + number + QLatin1Char(' ') + name;
        menu->addAction(make(firstId + i, Resources::menuText(firstId + i, caption), menu));
    }
}

// Which of count windows (in creation order) the menu names, by index.
QList<int> listedWindows(int count, int active)
{
    QList<int> listed;
    for (int i = 0; i < count && i < kListedWindows; ++i)
        listed.append(i);
    // The active window is always among them, in the last place if need be.
    if (active >= kListedWindows && active < count)
        listed.last() = active;
    return listed;
}

void activate(QMdiArea* mdi, QMdiSubWindow* sub)
{
    if (!sub || !mdi->subWindowList().contains(sub))
        return;
    if (sub->isMinimized())
        sub->showNormal();
    mdi->setActiveSubWindow(sub);
}

// Offers every document window in a dialog; the chosen one becomes active.
void chooseFromAllWindows(QMdiArea* mdi)
{
    const QList<QMdiSubWindow*> windows = mdi->subWindowList(QMdiArea::CreationOrder);
    QStringList titles;
    for (const QMdiSubWindow* sub : windows)
        titles << sub->windowTitle();
    CWindowListDlg dialog(titles, int(windows.indexOf(mdi->activeSubWindow())), mdi->window());
    // Windows may come and go while the dialog is open (a file handed over
    // by another start); a closed one is not activated.
    QList<QPointer<QMdiSubWindow>> guarded(windows.begin(), windows.end());
    if (UiSeam::execDialog(dialog) != QDialog::Accepted)
        return;
    if (dialog.chosen() >= 0 && dialog.chosen() < guarded.size())
        activate(mdi, guarded[dialog.chosen()]);
}

void rebuildWindowList(QMenu* menu, QMdiArea* mdi)
{
    for (QAction* a : menu->actions())
        if (a->property(kRunTimeItem).toBool())
            delete a;
    const QList<QMdiSubWindow*> windows = mdi->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    menu->addSeparator()->setProperty(kRunTimeItem, true);
    const QList<int> listed =
        listedWindows(int(windows.size()), int(windows.indexOf(mdi->activeSubWindow())));
    for (int i = 0; i < listed.size(); ++i) {
        QMdiSubWindow* sub = windows[listed[i]];
        QString title = sub->windowTitle();
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(title), menu);
        action->setProperty(kRunTimeItem, true);
        action->setCheckable(true);
        action->setChecked(sub == mdi->activeSubWindow());
        action->setStatusTip(QStringLiteral("このウィンドウをアクティブにする"));
        QObject::connect(action, &QAction::triggered, mdi,
                         [mdi, sub = QPointer<QMdiSubWindow>(sub)] { activate(mdi, sub); });
        menu->addAction(action);
    }
    if (listed.size() < windows.size()) {
        auto* more = new QAction(QStringLiteral("ウィンドウの一覧(&M)..."), menu);
        more->setProperty(kRunTimeItem, true);
        more->setStatusTip(
            QStringLiteral("開いているすべてのウィンドウから選んでアクティブにする"));
        QObject::connect(more, &QAction::triggered, mdi, [mdi] { chooseFromAllWindows(mdi); });
        menu->addAction(more);
    }
}

} // namespace

void rebuild(QMenu* menu, const CRecentFileList* recentFiles, QMdiArea* windows,
             const MenuBuilder::ActionFactory& make)
{
    if (holdsRecentFiles(menu))
        rebuildRecentFiles(menu, recentFiles, make);
    switch (MenuBuilder::dynamicList(menu)) {
    case Resources::MenuItem::RegisteredTags:
        rebuildSlotMenu(menu, Cmd::RegisteredTag0, SlotNames::kRegisteredTags, make);
        break;
    case Resources::MenuItem::Tools:
        rebuildSlotMenu(menu, Cmd::Tool0, SlotNames::kTools, make);
        break;
    case Resources::MenuItem::WindowList:
        rebuildWindowList(menu, windows);
        break;
    case Resources::MenuItem::NoList:
        break;
    }
}

} // namespace DynamicMenus
