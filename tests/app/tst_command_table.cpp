#include "app/marquill_app.h"
#include "commands/command_modules.h"
#include "document/marquill_doc.h"
#include "editor/marquill_view.h"
#include "frame/child_frame.h"
#include "frame/main_frame.h"
#include "resources/command_table.h"
#include "resources/resource_tables.h"
#include "test_support.h"

#include <QHash>

// The command table against the handlers, the menus and the keys: each
// message names the row at fault.
class TestCommandTable : public QObject
{
    Q_OBJECT

    struct Target
    {
        QString handler; // as the table's handler column names it
        const CCommandMap* map;
    };

    // The maps of every kind of target a command is routed to, with the
    // dialog commands of the layer above the editor in place.
    static QList<Target> targets()
    {
        CommandModules::install();
        return {{QStringLiteral("view"), &CMyRichEditView::commands()},
                {QStringLiteral("view"), &CMarquillView::commands()},
                {QStringLiteral("document"), &CMarquillDoc::commands()},
                {QStringLiteral("child"), &CChildFrame::commands()},
                {QStringLiteral("frame"), &CMainFrame::commands()},
                {QStringLiteral("app"), &CMarquillApp::commands()}};
    }

    static QString rowName(const Resources::Command& c)
    {
        return QStringLiteral("%1 (%2)").arg(c.name).arg(c.id);
    }

    static void collectMenuFaults(const QList<Resources::MenuItem>& items, QStringList& faults)
    {
        for (const Resources::MenuItem& item : items) {
            if (item.kind == Resources::MenuItem::Command && item.id == 0)
                faults << QStringLiteral("menu item %1: no such row").arg(item.name);
            collectMenuFaults(item.items, faults);
        }
    }

private Q_SLOTS:
    // A command nobody registered stays greyed everywhere; one registered in
    // two targets (or twice in one) runs whichever the routing meets first;
    // one registered in another target than its row says runs in the wrong
    // place of the routing order.
    void everyCommandHasOneHandlerWhereItsRowSays()
    {
        const QList<Target> all = targets();
        QStringList faults;
        for (const Resources::Command& c : Resources::commands()) {
            QStringList found;
            for (const Target& t : all)
                for (int i = 0; i < t.map->ownHandlerCount(c.id); ++i)
                    found << t.handler;
            const QStringList expected =
                c.handler == QLatin1String("none") ? QStringList() : QStringList{c.handler};
            if (found != expected)
                faults << QStringLiteral("%1: handled by [%2], the row says %3")
                              .arg(rowName(c), found.join(QStringLiteral(", ")), c.handler);
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // A second row with a number or a name already used never shows its
    // texts, keys or button.
    void numbersAndNamesAreUsedOnce()
    {
        QHash<int, QString> byId;
        QHash<QString, int> byName;
        QStringList faults;
        for (const Resources::Command& c : Resources::commands()) {
            if (byId.contains(c.id))
                faults << QStringLiteral("%1: number used by %2 too").arg(rowName(c), byId[c.id]);
            if (byName.contains(c.name))
                faults << QStringLiteral("%1: name used twice").arg(rowName(c));
            byId.insert(c.id, c.name);
            byName.insert(c.name, c.id);
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // A key given to two commands fires neither (Qt finds it ambiguous); a
    // menu item naming no row does nothing.
    void keysAndMenuItemsReachOneCommand()
    {
        QHash<QKeySequence, int> owner;
        QStringList faults;
        for (const Resources::Command& c : Resources::commands()) {
            for (int i = 0; i < c.keys.size(); ++i) {
                if (c.keys[i].isEmpty())
                    faults
                        << QStringLiteral("%1: key %2 unreadable").arg(rowName(c), c.keyTexts[i]);
                else if (owner.contains(c.keys[i]) && owner[c.keys[i]] != c.id)
                    faults << QStringLiteral("%1: key %2 belongs to %3 too")
                                  .arg(rowName(c), c.keyTexts[i])
                                  .arg(owner[c.keys[i]]);
                owner.insert(c.keys[i], c.id);
            }
        }
        for (int bar : {128, 129, 156})
            collectMenuFaults(Resources::menuBar(bar), faults);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }
};

MARQUILL_TEST_MAIN(TestCommandTable)
#include "tst_command_table.moc"
