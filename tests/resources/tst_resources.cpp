#include "resources/command_ids.h"
#include "resources/command_table.h"
#include "resources/resource_tables.h"
#include "test_support.h"

#include <QSet>

// The resource tables are linked into the core library and read correctly.
class TestResources : public QObject
{
    Q_OBJECT

private:
    static void collectIds(const QList<Resources::MenuItem>& items, QSet<int>& ids)
    {
        for (const auto& item : items) {
            if (item.kind == Resources::MenuItem::Command)
                ids.insert(item.id);
            else if (item.kind == Resources::MenuItem::Popup)
                collectIds(item.items, ids);
        }
    }

private Q_SLOTS:
    void menuBarsHaveTheirTopLevelMenus()
    {
        QCOMPARE(Resources::menuBar(128).size(), 2);
        QCOMPARE(Resources::menuBar(129).size(), 10);
        QCOMPARE(Resources::menuBar(129).at(6).caption, QStringLiteral("登録タグ(&R)"));
        QCOMPARE(Resources::menuBar(129).at(7).caption, QStringLiteral("ツール(&T)"));
        QVERIFY(Resources::menuBar(1).isEmpty());
    }

    void everyMenuCommandHasAPrompt()
    {
        QSet<int> ids;
        collectIds(Resources::menuBar(128), ids);
        collectIds(Resources::menuBar(129), ids);
        for (int id : ids)
            QVERIFY2(Resources::hasPrompt(id) && !Resources::prompt(id).isEmpty(),
                     qPrintable(QString::number(id)));
    }

    void promptsSplitAtNewline()
    {
        QCOMPARE(Resources::prompt(Cmd::FileNew), QStringLiteral("新規にファイルを作成"));
        QCOMPARE(Resources::toolTip(Cmd::FileNew), QStringLiteral("新規ファイル"));
        QCOMPARE(Resources::prompt(Cmd::Jump), QStringLiteral("指定した行番号へカーソルを移動"));
        QVERIFY(Resources::toolTip(Cmd::Jump).isEmpty());
        QCOMPARE(Resources::toolTip(Cmd::EntityQuot), QStringLiteral("\""));
        QCOMPARE(Resources::prompt(40013), QStringLiteral("登録ツール３の実行"));
    }

    void acceleratorsParse()
    {
        const auto& acc = Resources::accelerators();
        for (const auto& a : acc)
            QVERIFY2(!a.key.isEmpty(), qPrintable(QString::number(a.commandId)));
        auto find = [&](const QKeySequence& k) {
            for (const auto& a : acc)
                if (a.key == k)
                    return a.commandId;
            return 0;
        };
        QCOMPARE(find(QKeySequence(Qt::SHIFT | Qt::Key_Return)), int(Cmd::LineBreak));
        QCOMPARE(find(QKeySequence(Qt::ALT | Qt::Key_Return)), int(Cmd::Paragraph));
        QCOMPARE(find(QKeySequence(Qt::ALT | Qt::Key_Backspace)), int(Cmd::EditUndo));
        QCOMPARE(find(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)), int(Cmd::Rule));
        QCOMPARE(find(QKeySequence(Qt::CTRL | Qt::Key_Space)), int(Cmd::FullWidthSpace));
        QCOMPARE(find(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_0)), 40010);
    }

    void statusTexts()
    {
        QCOMPARE(Resources::statusTagText(Cmd::Bold), QStringLiteral("<BOLD>"));
        QCOMPARE(Resources::htmlLevelText(Cmd::Underline), QStringLiteral("HTML 3.2"));
        QCOMPARE(Resources::statusTagText(35030), QStringLiteral("<H3>"));
        QVERIFY(Resources::statusTagText(0).isEmpty());
    }

    void otherTables()
    {
        QCOMPARE(Resources::toolbarButtons().at(80).commandId, int(Cmd::ToggleExtendedToolbar));
        QCOMPARE(Resources::toolbarDefaults(QStringLiteral("extended")).count(0), 2);
        QCOMPARE(Resources::dateFormats().size(), 16);
        QCOMPARE(Resources::dateFormats().at(3).format, QByteArray("%Y/%m/%d"));
        const auto* br = Resources::directCommand(Cmd::LineBreak);
        QVERIFY(br);
        QCOMPARE(br->startOrText, QByteArray("<BR>\r\n"));
        const auto* comment = Resources::directCommand(Cmd::Comment);
        QCOMPARE(comment->startOrText, QByteArray("<!-- "));
        QCOMPARE(comment->end, QByteArray(" -->"));
        QVERIFY(Resources::directCommand(Cmd::ListItem)->end.isEmpty());
    }
};

MARQUILL_TEST_MAIN(TestResources)
#include "tst_resources.moc"
