#include "core/settings_store.h"
#include "editor/view_context_menu.h"
#include "resources/command_ids.h"
#include "test_support.h"

#include <QMenu>

// The editor's right-click menu in its two forms.
class TestViewContextMenu : public QObject
{
    Q_OBJECT

    static QStringList describe(const QMenu* menu)
    {
        QStringList items;
        for (const QAction* a : menu->actions()) {
            if (a->isSeparator())
                items << QStringLiteral("|");
            else if (a->menu())
                items << QStringLiteral("[") + a->text() + QStringLiteral(": ") +
                             describe(a->menu()).join(QLatin1Char(',')) + QStringLiteral("]");
            else
                items << QString::number(a->data().toInt()) + (a->isEnabled() ? "" : "-");
        }
        return items;
    }

private Q_SLOTS:
    void init() { TestSupport::clearSettings(); }

    void formsFollowTheSelection()
    {
        ViewContextMenu::State state;
        state.hasSelection = true;
        state.canPaste = true;
        std::unique_ptr<QMenu> withSelection(ViewContextMenu::build(state, nullptr));
        QCOMPARE(describe(withSelection.get()),
                 QStringList(
                     {"32849-", "32850", "|", "57635", "57634", "57637", "|", "[登録タグ: 0-]"}));
        state = {};
        state.canReinsert = true;
        std::unique_ptr<QMenu> without(ViewContextMenu::build(state, nullptr));
        QCOMPARE(describe(without.get()), QStringList({"32849", "|", "57643-", "57637-", "|",
                                                       "[登録タグ: 0-]", "|", "57603"}));
        QCOMPARE(without->actions().at(5)->menu()->actions().at(0)->text(),
                 QStringLiteral("(なし)"));
    }

    void registeredTagsStopAtTheFirstEmptySlot()
    {
        writeProfileString("Tag", "TagView0", "見出し");
        writeProfileString("Tag", "TagView1", "Q&A");
        writeProfileString("Tag", "TagView3", "lost");
        const auto items = ViewContextMenu::registeredTagItems();
        QCOMPARE(items.size(), 2);
        QCOMPARE(items[0].first, int(Cmd::RegisteredTag0));
        QCOMPARE(items[0].second, QStringLiteral("&0 見出し"));
        QCOMPARE(items[1].second, QStringLiteral("&1 Q&&A"));
    }
};

MARQUILL_TEST_MAIN(TestViewContextMenu)
#include "tst_view_context_menu.moc"
