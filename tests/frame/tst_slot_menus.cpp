// The registered-tag and tool menus in the running program: the list
// dialogs opened from them and their OK showing at once in the menus, as
// items that can be chosen.

#include "app_under_test.h"
#include "test_support.h"

#include "app/marquill_app.h"
#include "core/ui_seam.h"
#include "frame/document_manager.h"
#include "frame/main_frame.h"
#include "frame/menu_builder.h"
#include "resources/command_ids.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

class TestSlotMenus : public QObject
{
    Q_OBJECT

    CMarquillApp* m_app = nullptr;

    CMainFrame* frame() const { return m_app->mainFrame(); }

    // Answers the list dialog: adds one entry named name through its edit
    // dialog, then closes the list with OK or Cancel.
    void answerListDialog(const QString& name, bool ok)
    {
        UiSeam::setDialogHook([name, ok](QDialog& dialog) {
            if (dialog.objectName().endsWith(QLatin1String("EditDlg"))) {
                dialog.findChild<QLineEdit*>(QStringLiteral("viewEdit"))->setText(name);
                dialog.accept();
                return dialog.result();
            }
            dialog.findChild<QPushButton*>(QStringLiteral("newButton"))->click();
            auto* box = dialog.findChild<QDialogButtonBox*>();
            box->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
            return dialog.result();
        });
    }

    // The run-time items of a menu of the menu bar, as it shows them.
    QList<QAction*> slotItems(int menuIndex, int firstId)
    {
        QMenu* menu = frame()->menuBar()->actions().at(menuIndex)->menu();
        QMetaObject::invokeMethod(menu, "aboutToShow");
        QList<QAction*> items;
        for (QAction* action : menu->actions()) {
            const int id = MenuBuilder::commandId(action);
            if (id >= firstId && id < firstId + 10)
                items << action;
        }
        return items;
    }

private Q_SLOTS:
    void init()
    {
        TestSupport::clearSettings();
        m_app = new CMarquillApp;
        QVERIFY(m_app->initInstance({QStringLiteral("marquill")}));
    }

    void cleanup()
    {
        TestSupport::tearDownApp(m_app);
        UiSeam::setDialogHook({});
    }

    void listDialogShowsInTheMenu_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("menuIndex");
        QTest::addColumn<int>("firstId");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("items");

        QTest::newRow("registered tag, OK")
            << int(Cmd::RegisteredTagList) << 6 << int(Cmd::RegisteredTag0) << true
            << QStringList{"&0 Q && A\tCtrl+0"};
        QTest::newRow("registered tag, Cancel")
            << int(Cmd::RegisteredTagList) << 6 << int(Cmd::RegisteredTag0) << false
            << QStringList{};
        QTest::newRow("tool, OK") << int(Cmd::ToolList) << 7 << int(Cmd::Tool0) << true
                                  << QStringList{"&0 Q && A\tCtrl+Shift+0"};
        QTest::newRow("tool, Cancel")
            << int(Cmd::ToolList) << 7 << int(Cmd::Tool0) << false << QStringList{};
    }

    void listDialogShowsInTheMenu()
    {
        QFETCH(int, command);
        QFETCH(int, menuIndex);
        QFETCH(int, firstId);
        QFETCH(bool, ok);
        QFETCH(QStringList, items);
        m_app->documentManager()->fileNew();
        answerListDialog(QStringLiteral("Q & A"), ok);
        QVERIFY(frame()->routeCommand(command));
        QStringList shown;
        for (QAction* action : slotItems(menuIndex, firstId))
            shown << action->text() + (action->isEnabled() ? "" : " (disabled)");
        QCOMPARE(shown, items);
    }
};

MARQUILL_TEST_MAIN(TestSlotMenus)
#include "tst_slot_menus.moc"
