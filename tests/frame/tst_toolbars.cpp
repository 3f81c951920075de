#include "app/marquill_app.h"
#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "dialogs/customize_toolbar_dlg.h"
#include "document/marquill_doc.h"
#include "editor/marquill_view.h"
#include "frame/child_frame.h"
#include "frame/document_manager.h"
#include "frame/flat_toolbar.h"
#include "frame/frame_toolbars.h"
#include "frame/main_frame.h"
#include "frame/toolbar_sets.h"
#include "resources/command_ids.h"
#include "test_support.h"

#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>

// The main window's two toolbars on real widgets: their stored layouts and
// bar state, the customise dialog, button states, status texts and the
// drop-down menus.
class TestToolbars : public QObject
{
    Q_OBJECT

    CMarquillApp* m_app = nullptr;

    CMainFrame* frame() const { return m_app->mainFrame(); }
    CFrameToolbars* bars() const { return frame()->toolbars(); }

    void start()
    {
        m_app = new CMarquillApp;
        QVERIFY(m_app->initInstance({QStringLiteral("marquill")}));
    }

    void stop()
    {
        if (!m_app)
            return;
        m_app->documentManager()->closeAllDocumentsWithoutAsking();
        delete m_app->mainFrame();
        delete m_app;
        m_app = nullptr;
    }

    // Closes the main window as the user does (which stores the bars) and
    // starts the program again.
    void restart()
    {
        frame()->close();
        stop();
        start();
    }

    static QString ids(const QList<int>& list)
    {
        QStringList parts;
        for (int id : list)
            parts << QString::number(id);
        return parts.join(QLatin1Char(','));
    }

    static QString side(Qt::ToolBarArea area)
    {
        switch (area) {
        case Qt::TopToolBarArea:
            return QStringLiteral("top");
        case Qt::BottomToolBarArea:
            return QStringLiteral("bottom");
        case Qt::LeftToolBarArea:
            return QStringLiteral("left");
        case Qt::RightToolBarArea:
            return QStringLiteral("right");
        default:
            return QStringLiteral("none");
        }
    }

    // Which bars are shown, where the toolbars stand and what they hold.
    QString describeBars() const
    {
        QStringList parts;
        for (CFlatToolBar* bar : {bars()->standard(), bars()->extended()})
            parts << (bar->isHidden() ? QStringLiteral("hidden ") : QStringLiteral("shown ")) +
                         side(frame()->toolBarArea(bar)) +
                         (frame()->toolBarBreak(bar) ? QStringLiteral(" row") : QString());
        parts << (frame()->statusBar()->isHidden() ? QStringLiteral("status hidden")
                                                   : QStringLiteral("status shown"));
        return parts.join(QStringLiteral("; "));
    }

    static QString defaultBars()
    {
        return QStringLiteral("shown top; hidden top row; status shown");
    }

    QString paneTexts() const
    {
        return frame()->findChild<QLabel*>(QStringLiteral("Pane302"))->text() + QLatin1Char('|') +
               frame()->findChild<QLabel*>(QStringLiteral("Pane301"))->text();
    }

    // The button of a command on a toolbar.
    static QToolButton* buttonOf(CFlatToolBar* bar, int id)
    {
        const int index = int(bar->buttons().indexOf(id));
        return index < 0 ? nullptr : bar->button(index);
    }

private Q_SLOTS:
    void init()
    {
        TestSupport::clearSettings();
        start();
        frame()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame()));
    }

    void cleanup()
    {
        stop();
        UiSeam::setDialogHook({});
        UiSeam::setMessageHook({});
    }

    void storedLayoutIsReadOrLeftAtTheDefaults_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("buttons");
        const QString defaults = ids(ToolbarSets::defaults(ToolbarSets::Standard));
        QTest::newRow("buttons and a separator") << "3:57600,0,37000"
                                                 << "57600,0,37000";
        QTest::newRow("the same button twice") << "2:35005,35005"
                                               << "35005,35005";
        QTest::newRow("no buttons at all") << "0:"
                                           << "";
        QTest::newRow("nothing stored") << QString() << defaults;
        QTest::newRow("garbage") << "\x01\x02zz" << defaults;
        QTest::newRow("unknown command") << "2:57600,12345" << defaults;
        QTest::newRow("cut off") << "3:57600,0" << defaults;
        QTest::newRow("longer than its count") << "1:57600,57601" << defaults;
        QTest::newRow("trailing comma") << "1:57600," << defaults;
        QTest::newRow("negative id") << "1:-57600" << defaults;
        QTest::newRow("blank in a field") << "1: 57600" << defaults;
        QTest::newRow("no count") << "57600,57601" << defaults;
        QTest::newRow("huge count") << "99999999999:57600" << defaults;
    }

    void storedLayoutIsReadOrLeftAtTheDefaults()
    {
        QFETCH(QString, stored);
        QFETCH(QString, buttons);
        stop();
        if (!stored.isNull())
            writeProfileString("Settings", "ToolBar", stored);
        start();
        QCOMPARE(ids(bars()->standard()->buttons()), buttons);
    }

    void barStateAndLayoutsSurviveARestart_data()
    {
        QTest::addColumn<bool>("showExtended");
        QTest::addColumn<int>("extendedArea");
        QTest::addColumn<bool>("hideStandard");
        QTest::addColumn<bool>("hideStatus");
        QTest::addColumn<QString>("expected");
        QTest::newRow("as first started")
            << false << int(Qt::TopToolBarArea) << false << false << defaultBars();
        QTest::newRow("extended shown") << true << int(Qt::TopToolBarArea) << false << false
                                        << "shown top; shown top row; status shown";
        QTest::newRow("extended at the bottom, standard hidden")
            << true << int(Qt::BottomToolBarArea) << true << false
            << "hidden top; shown bottom; status shown";
        QTest::newRow("extended on the left, status bar hidden")
            << true << int(Qt::LeftToolBarArea) << false << true
            << "shown top; shown left; status hidden";
    }

    void barStateAndLayoutsSurviveARestart()
    {
        QFETCH(bool, showExtended);
        QFETCH(int, extendedArea);
        QFETCH(bool, hideStandard);
        QFETCH(bool, hideStatus);
        QFETCH(QString, expected);
        const QList<int> layout{Cmd::Date, 0, Cmd::Bold};
        bars()->extended()->setButtons(layout);
        if (extendedArea != Qt::TopToolBarArea)
            frame()->addToolBar(Qt::ToolBarArea(extendedArea), bars()->extended());
        bars()->extended()->setVisible(showExtended);
        bars()->standard()->setHidden(hideStandard);
        frame()->statusBar()->setHidden(hideStatus);
        restart();
        QCOMPARE(describeBars() + QLatin1Char(' ') + ids(bars()->extended()->buttons()),
                 expected + QLatin1Char(' ') + ids(layout));
    }

    void unreadableBarStateLeavesTheDefaults_data()
    {
        QTest::addColumn<QStringList>("values"); // key, value name, value
        QTest::addColumn<QString>("expected");
        const QString summary = QStringLiteral("Settings\\ControlBar-Summary");
        const QString bar1 = QStringLiteral("Settings\\ControlBar-Bar1");
        QTest::newRow("garbage record")
            << QStringList{summary, "State", "not a record at all"} << defaultBars();
        QTest::newRow("cut-off record") << QStringList{summary, "State", "%HALF%"} << defaultBars();
        QTest::newRow("visible of another kind")
            << QStringList{summary, "Bars", "3", bar1, "BarID", "57348", bar1, "Visible", "7"}
            << defaultBars();
        QTest::newRow("unknown side")
            << QStringList{summary, "Bars", "3", bar1, "BarID", "57348", bar1, "Docking", "12"}
            << defaultBars();
        QTest::newRow("negative bar count")
            << QStringList{summary, "Bars", "-4", bar1, "BarID", "57348", bar1, "Visible", "1"}
            << defaultBars();
        QTest::newRow("unknown bar id")
            << QStringList{summary, "Bars", "3", bar1, "BarID", "4711", bar1, "Visible", "0"}
            << defaultBars();
        QTest::newRow("the per-bar values without the record")
            << QStringList{summary, "Bars",    "3", bar1, "BarID",   "57348",
                           bar1,    "Visible", "1", bar1, "Docking", "59422"}
            << "shown top; shown bottom; status shown";
    }

    void unreadableBarStateLeavesTheDefaults()
    {
        QFETCH(QStringList, values);
        QFETCH(QString, expected);
        // The first half of the record of a window whose bars have all moved.
        frame()->addToolBar(Qt::BottomToolBarArea, bars()->standard());
        frame()->addToolBar(Qt::LeftToolBarArea, bars()->extended());
        bars()->extended()->show();
        const QByteArray record = frame()->saveState(1).toBase64();
        values.replaceInStrings(QStringLiteral("%HALF%"),
                                QString::fromLatin1(record.left(record.size() / 2)));
        stop();
        for (int i = 0; i + 2 < values.size(); i += 3)
            writeProfileString(values[i], values[i + 1], values[i + 2]);
        start();
        QCOMPARE(describeBars(), expected);
    }

    void customizeDialogChangesOnlyItsToolbar_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("buttonToPress"); // before OK, or "cancel"
        QTest::addColumn<QString>("standard");
        QTest::addColumn<QString>("extended");
        const QList<int> changed{Cmd::Date, Cmd::Bold};
        const QString standard = ids(ToolbarSets::defaults(ToolbarSets::Standard));
        const QString extended = ids(ToolbarSets::defaults(ToolbarSets::Extended));
        QTest::newRow("reset the extended toolbar")
            << int(Cmd::CustomizeExtendedToolbar) << "resetButton" << ids(changed) << extended;
        QTest::newRow("reset the standard toolbar")
            << int(Cmd::CustomizeToolbar) << "resetButton" << standard << ids(changed);
        QTest::newRow("remove from the extended toolbar")
            << int(Cmd::CustomizeExtendedToolbar) << "removeButton" << ids(changed)
            << QString::number(Cmd::Bold);
        QTest::newRow("cancel") << int(Cmd::CustomizeExtendedToolbar) << "cancel" << ids(changed)
                                << ids(changed);
    }

    void customizeDialogChangesOnlyItsToolbar()
    {
        QFETCH(int, command);
        QFETCH(QString, buttonToPress);
        QFETCH(QString, standard);
        QFETCH(QString, extended);
        bars()->standard()->setButtons({Cmd::Date, Cmd::Bold});
        bars()->extended()->setButtons({Cmd::Date, Cmd::Bold});
        UiSeam::setDialogHook([&](QDialog& dialog) {
            if (buttonToPress == QLatin1String("cancel")) {
                dialog.findChild<QPushButton*>(QStringLiteral("resetButton"))->click();
                return int(QDialog::Rejected);
            }
            dialog.findChild<QPushButton*>(buttonToPress)->click();
            return int(QDialog::Accepted);
        });
        QVERIFY(frame()->routeCommand(command));
        QCOMPARE(ids(bars()->standard()->buttons()) + QLatin1Char('/') +
                     ids(bars()->extended()->buttons()),
                 standard + QLatin1Char('/') + extended);
    }

    void buttonsShowTheirCommandsState_data()
    {
        QTest::addColumn<bool>("document");
        QTest::addColumn<bool>("onExtended");
        QTest::addColumn<bool>("showExtended");
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("state");
        QTest::newRow("new without a document")
            << false << false << false << int(Cmd::FileNew) << "enabled";
        QTest::newRow("bold without a document")
            << false << false << false << int(Cmd::Bold) << "disabled";
        QTest::newRow("bold in a document")
            << true << false << false << int(Cmd::Bold) << "enabled";
        QTest::newRow("headings without a document")
            << false << false << false << int(Cmd::HeadingMenu) << "disabled";
        QTest::newRow("headings in a document")
            << true << false << false << int(Cmd::HeadingMenu) << "enabled";
        QTest::newRow("copy without a selection")
            << true << false << false << int(Cmd::EditCopy) << "disabled";
        QTest::newRow("extended toolbar hidden")
            << false << false << false << int(Cmd::ToggleExtendedToolbar) << "enabled";
        QTest::newRow("extended toolbar shown")
            << false << false << true << int(Cmd::ToggleExtendedToolbar) << "enabled checked";
        QTest::newRow("its button on the extended toolbar")
            << false << true << true << int(Cmd::ToggleExtendedToolbar) << "enabled checked";
        QTest::newRow("command without a handler")
            << false << true << true << int(Cmd::BrowserPreview) << "disabled";
    }

    void buttonsShowTheirCommandsState()
    {
        QFETCH(bool, document);
        QFETCH(bool, onExtended);
        QFETCH(bool, showExtended);
        QFETCH(int, command);
        QFETCH(QString, state);
        if (document)
            QVERIFY(m_app->documentManager()->fileNew());
        CFlatToolBar* bar = onExtended ? bars()->extended() : bars()->standard();
        bar->setButtons({Cmd::FileOpen, 0, command});
        bars()->extended()->setVisible(showExtended);
        bars()->updateButtons();
        QToolButton* button = buttonOf(bar, command);
        QVERIFY(button);
        QCOMPARE(QString(button->isEnabled() ? "enabled" : "disabled") +
                     (button->isChecked() ? " checked" : ""),
                 state);
    }

    void pasteFollowsTheClipboard()
    {
        QVERIFY(m_app->documentManager()->fileNew());
        QApplication::clipboard()->clear();
        bars()->updateButtons();
        QToolButton* paste = buttonOf(bars()->standard(), Cmd::EditPaste);
        QVERIFY(!paste->isEnabled());
        QApplication::clipboard()->setText(QStringLiteral("text"));
        QTRY_VERIFY(paste->isEnabled());
    }

    void statusPanesFollowThePointer_data()
    {
        QTest::addColumn<int>("index"); // in the standard toolbar's default set; -1: off it
        QTest::addColumn<QString>("panes");
        // Rows 0, 1, 2 | 5, 6, 7 | 39, 17, 18, 19 | 48 | ...
        QTest::newRow("new file") << 0 << "|";
        QTest::newRow("headings") << 8 << "<Hn>|HTML 2.0";
        QTest::newRow("font") << 9 << "<FONT>|HTML 3.2";
        QTest::newRow("bold") << 10 << "<BOLD>|HTML 2.0";
        QTest::newRow("image") << 13 << "<IMG>|HTML 2.0";
        QTest::newRow("separator") << 12 << "|";
        QTest::newRow("off the toolbar") << -1 << "|";
    }

    void statusPanesFollowThePointer()
    {
        QFETCH(int, index);
        QFETCH(QString, panes);
        CFlatToolBar* bar = bars()->standard();
        // Over the italic button first, so the panes have something to clear.
        QWidget* italic = bar->button(11);
        QTest::mouseMove(italic, italic->rect().center());
        QTRY_COMPARE(paneTexts(), QStringLiteral("<I>|HTML 2.0"));
        QWidget* target = index < 0 ? static_cast<QWidget*>(frame()->mdiArea())
                                    : bar->widgetForAction(bar->actions().at(index));
        QTest::mouseMove(target, target->rect().center());
        QTRY_COMPARE(paneTexts(), panes);
    }

    void dropDownMenusListTheUsedSlots_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QStringList>("names"); // value name, text
        QTest::addColumn<QString>("items");
        QTest::newRow("headings")
            << int(Cmd::HeadingMenu) << QStringList{"TagView0", "x"}
            << "見出し 1 (大)|見出し 2|見出し 3 (中)|見出し 4|見出し 5|見出し 6 (小)";
        QTest::newRow("tags up to the gap")
            << int(Cmd::RegisteredTagMenu)
            << QStringList{"TagView0", "段落", "TagView1", "box", "TagView3", "lost"}
            << "&0 段落|&1 box";
        QTest::newRow("no tags") << int(Cmd::RegisteredTagMenu)
                                 << QStringList{"TagView1", "after a gap"} << "(なし)-";
        QTest::newRow("tools up to the gap")
            << int(Cmd::ToolMenu) << QStringList{"ToolView0", "gimp", "ToolView2", "lost"}
            << "&0 gimp";
        QTest::newRow("no tools") << int(Cmd::ToolMenu) << QStringList{"TagView0", "tag only"}
                                  << "(なし)-";
    }

    void dropDownMenusListTheUsedSlots()
    {
        QFETCH(int, command);
        QFETCH(QStringList, names);
        QFETCH(QString, items);
        for (int i = 0; i + 1 < names.size(); i += 2)
            writeProfileString(names[i].startsWith("Tag") ? "Tag" : "Tool", names[i], names[i + 1]);
        QVERIFY(m_app->documentManager()->fileNew());
        bars()->standard()->setButtons({command});
        bars()->updateButtons();
        QMenu* menu = bars()->standard()->button(0)->menu();
        QVERIFY(menu);
        Q_EMIT menu->aboutToShow();
        QStringList texts;
        for (const QAction* a : menu->actions())
            texts << a->text() + (a->isEnabled() ? "" : "-");
        QCOMPARE(texts.join(QLatin1Char('|')), items);
    }

    void headingChosenFromTheDropDownWrapsTheSelection()
    {
        CMarquillDoc* doc = m_app->documentManager()->fileNew();
        CMarquillView* view = m_app->documentManager()->frameOf(doc)->view();
        QTest::keyClicks(view, QStringLiteral("title"));
        view->setSel(0, 5);
        bars()->updateButtons();
        QMenu* menu = buttonOf(bars()->standard(), Cmd::HeadingMenu)->menu();
        Q_EMIT menu->aboutToShow();
        menu->actions().at(1)->trigger();
        QCOMPARE(view->textBytes(), QByteArray("<h2>title</h2>"));
    }

    void ownGripperNeedsBothOptions_data()
    {
        QTest::addColumn<int>("flatbar");
        QTest::addColumn<int>("ownerDraw");
        QTest::addColumn<int>("extra");
        QTest::newRow("neither") << 0 << 0 << 0;
        QTest::newRow("own drawing without flat bars") << 0 << 1 << 0;
        QTest::newRow("flat bars without own drawing") << 1 << 0 << 0;
        QTest::newRow("both") << 1 << 1 << 4;
    }

    void ownGripperNeedsBothOptions()
    {
        QFETCH(int, flatbar);
        QFETCH(int, ownerDraw);
        QFETCH(int, extra);
        writeProfileInt("Options", "Flatbar", flatbar);
        writeProfileInt("Options", "OwnerDraw", ownerDraw);
        CFlatToolBar* bar = bars()->standard();
        const int own = bar->style()->pixelMetric(QStyle::PM_ToolBarHandleExtent, nullptr, bar);
        const int plain =
            QApplication::style()->pixelMetric(QStyle::PM_ToolBarHandleExtent, nullptr, bar);
        QCOMPARE(own - qMax(plain, 7), extra);
    }

    void cancelledCloseStillStoresTheToolbars()
    {
        CMarquillDoc* doc = m_app->documentManager()->fileNew();
        QTest::keyClicks(m_app->documentManager()->frameOf(doc)->view(), QStringLiteral("unsaved"));
        bars()->extended()->setButtons({Cmd::Date});
        UiSeam::setMessageHook([](const QString&, QMessageBox::Icon, QMessageBox::StandardButtons) {
            return QMessageBox::Cancel;
        });
        QVERIFY(!frame()->close());
        QCOMPARE(getProfileString("Settings", "ToolBarEx"), QStringLiteral("1:37000"));
    }
};

MARQUILL_TEST_MAIN(TestToolbars)
#include "tst_toolbars.moc"
