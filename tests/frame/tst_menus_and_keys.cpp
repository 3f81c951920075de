#include "app/marquill_app.h"
#include "app_under_test.h"
#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "core/web_browser.h"
#include "document/marquill_doc.h"
#include "editor/find_replace.h"
#include "editor/marquill_view.h"
#include "editor/my_find_replace_dialog.h"
#include "frame/child_frame.h"
#include "frame/document_manager.h"
#include "frame/main_frame.h"
#include "frame/main_frame_fixture.h"
#include "frame/menu_builder.h"
#include "frame/window_placement.h"
#include "resources/command_ids.h"
#include "resources/command_table.h"
#include "resources/resource_tables.h"
#include "test_support.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>

// The application shell on real widgets: start-up settings, the menu bars,
// document windows and their titles, saving, window placement.
// The main window's commands on real widgets: every accelerator, the status
// panes that follow menus and keys, and the window and registered-tag menus.
class TestMenusAndKeys : public QObject, protected MainFrameFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { startApp(); }

    void cleanup() { stopApp(); }

    void everyAcceleratorReachesItsCommand()
    {
        CMarquillDoc* doc = m_app->documentManager()->fileNew();
        frame()->activateWindow();
        viewOf(doc)->setFocus();
        QList<int> offered;
        connect(frame(), &CMainFrame::commandOffered, this, [&](int id) { offered.append(id); });
        // Keep dialogs and message boxes from blocking.
        UiSeam::setDialogHook([](QDialog&) { return int(QDialog::Rejected); });
        UiSeam::setFileDialogHook([](const UiSeam::FileDialogRequest&) { return QString(); });
        for (const Resources::Accelerator& acc : Resources::accelerators()) {
            // New and Open would open windows; find and replace open a modeless
            // window that takes the activation: they are pressed last.
            if (acc.commandId == Cmd::FileNew || acc.commandId == Cmd::FileOpen ||
                acc.commandId == Cmd::EditFind || acc.commandId == Cmd::EditReplace)
                continue;
            offered.clear();
            const QKeyCombination key = acc.key[0];
            QWidget* focus =
                QApplication::focusWidget() ? QApplication::focusWidget() : viewOf(doc);
            QTest::keyClick(focus, key.key(), key.keyboardModifiers());
            QVERIFY2(offered.contains(acc.commandId),
                     qPrintable(acc.key.toString() + QStringLiteral(" -> ") +
                                QString::number(acc.commandId)));
            if (!m_app->documentManager()->documents().contains(doc))
                break;
            // Find and replace open a modeless dialog that takes the focus.
            if (CMyFindReplaceDialog* dialog = sharedFindState().dialog) {
                dialog->close();
                frame()->activateWindow();
                viewOf(doc)->setFocus();
            }
        }
        offered.clear();
        QTest::keyClick(viewOf(doc), Qt::Key_H, Qt::ControlModifier);
        QVERIFY(offered.contains(Cmd::EditReplace));
        UiSeam::setDialogHook({});
    }

    // A key with Alt, Ctrl+Alt, Ctrl or Meta that no command takes types
    // nothing; the same letter alone still does.
    void unboundCombinationsTypeNothing()
    {
        CMarquillDoc* doc = m_app->documentManager()->fileNew();
        frame()->activateWindow();
        viewOf(doc)->setFocus();
        for (const QKeyCombination key :
             {Qt::ALT | Qt::Key_Q, Qt::ALT | Qt::Key_N, Qt::ALT | Qt::SHIFT | Qt::Key_N,
              Qt::CTRL | Qt::ALT | Qt::Key_X, Qt::CTRL | Qt::Key_Comma, Qt::META | Qt::Key_A})
            QTest::keyClick(viewOf(doc), key.key(), key.keyboardModifiers());
        QCOMPARE(viewOf(doc)->textBytes(), QByteArray());
        QTest::keyClick(viewOf(doc), Qt::Key_N);
        QCOMPARE(viewOf(doc)->textBytes(), QByteArray("n"));
    }

    // The Enter key of the numeric keypad is the same key to the accelerators:
    // with Shift it breaks the line, with Alt it starts a paragraph.
    void keypadEnterWorksLikeEnter()
    {
        CMarquillDoc* doc = m_app->documentManager()->fileNew();
        frame()->activateWindow();
        viewOf(doc)->setFocus();
        QList<int> offered;
        connect(frame(), &CMainFrame::commandOffered, this, [&](int id) { offered.append(id); });
        QTest::keyClick(viewOf(doc), Qt::Key_Enter, Qt::ShiftModifier | Qt::KeypadModifier);
        QCOMPARE(offered, QList<int>{Cmd::LineBreak});
        QTest::keyClick(viewOf(doc), Qt::Key_Enter, Qt::AltModifier | Qt::KeypadModifier);
        QCOMPARE(offered, (QList<int>{Cmd::LineBreak, Cmd::Paragraph}));
        QTest::keyClick(viewOf(doc), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(offered.size(), 2);
        QVERIFY(viewOf(doc)->textBytes().endsWith("\r\n"));
    }

    void documentWindowKeys()
    {
        CMarquillDoc* first = m_app->documentManager()->fileNew();
        CMarquillDoc* second = m_app->documentManager()->fileNew();
        frame()->activateWindow();
        viewOf(second)->setFocus();
        QCOMPARE(frame()->activeChild()->doc(), second);
        QTest::keyClick(viewOf(second), Qt::Key_F6, Qt::ControlModifier);
        QTRY_COMPARE(frame()->activeChild()->doc(), first);
        QTest::keyClick(viewOf(first), Qt::Key_F6, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE(frame()->activeChild()->doc(), second);

        // Ctrl+F4 asks about unsaved changes like the window's close button.
        QTest::keyClicks(viewOf(second), QStringLiteral("x"));
        QString asked;
        UiSeam::setMessageHook(
            [&](const QString& text, QMessageBox::Icon, QMessageBox::StandardButtons) {
                asked = text;
                return QMessageBox::Cancel;
            });
        QTest::keyClick(viewOf(second), Qt::Key_F4, Qt::ControlModifier);
        QCOMPARE(asked, QStringLiteral("無題 への変更を保存しますか？"));
        QCOMPARE(m_app->documentManager()->documents().size(), 2);
        UiSeam::setMessageHook([](const QString&, QMessageBox::Icon, QMessageBox::StandardButtons) {
            return QMessageBox::No;
        });
        QTest::keyClick(viewOf(second), Qt::Key_F4, Qt::ControlModifier);
        QTRY_COMPARE(m_app->documentManager()->documents(), QList<CMarquillDoc*>{first});
    }

    void disabledCommandsIgnoreTheirAccelerators()
    {
        CMarquillDoc* doc = m_app->documentManager()->fileNew();
        viewOf(doc)->setFocus();
        QTest::keyClicks(viewOf(doc), QStringLiteral("abc"));
        viewOf(doc)->setSel(3, 3);
        QApplication::clipboard()->setText(QStringLiteral("clip"));
        // Nothing selected: Cut is disabled and Ctrl+X changes nothing.
        QTest::keyClick(viewOf(doc), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(viewOf(doc)->textBytes(), QByteArray("abc"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("clip"));
        QVERIFY(!frame()->commandState(Cmd::EditCut).isEnabled());
        viewOf(doc)->setSel(0, 1);
        QVERIFY(frame()->commandState(Cmd::EditCut).isEnabled());
        QTest::keyClick(viewOf(doc), Qt::Key_X, Qt::ControlModifier);
        QTRY_COMPARE(viewOf(doc)->textBytes(), QByteArray("bc"));
    }

    void editorAcceleratorsDoNothingWithoutADocument()
    {
        QList<int> offered;
        connect(frame(), &CMainFrame::commandOffered, this, [&](int id) { offered.append(id); });
        QTest::keyClick(frame(), Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE(offered, QList<int>{Cmd::Bold});
        QVERIFY(!frame()->commandState(Cmd::Bold).isEnabled());
        QVERIFY(m_app->documentManager()->documents().isEmpty());
    }

    void statusPanesShowPromptsAndTags()
    {
        QAction* newFile = menuAction(Cmd::FileNew);
        QVERIFY(newFile);
        newFile->showStatusText(frame());
        QCOMPARE(frame()->statusBar()->currentMessage(), QStringLiteral("新規にファイルを作成"));
        QStatusTipEvent empty{QString()};
        QApplication::sendEvent(frame(), &empty);
        QCOMPARE(frame()->statusBar()->currentMessage(), QStringLiteral("レディ"));
        frame()->setStatusItem(Cmd::Underline);
        auto* tag = frame()->findChild<QLabel*>(QStringLiteral("Pane302"));
        auto* level = frame()->findChild<QLabel*>(QStringLiteral("Pane301"));
        QVERIFY(tag && level);
        QCOMPARE(tag->text(), QStringLiteral("<U>"));
        QCOMPARE(level->text(), QStringLiteral("HTML 3.2"));
        // The tag is shown as written, not taken for markup (an empty heading).
        QCOMPARE(tag->textFormat(), Qt::PlainText);
        const int barHeight = frame()->statusBar()->sizeHint().height();
        frame()->setStatusItem(Cmd::Heading1);
        QCOMPARE(tag->text(), QStringLiteral("<H1>"));
        QCOMPARE(frame()->statusBar()->sizeHint().height(), barHeight);
        frame()->setStatusItem(Cmd::Underline);
        QVERIFY(tag->width() >= 90);
        QVERIFY(level->width() >= 50);
        QVERIFY(level->width() >=
                level->fontMetrics().horizontalAdvance(QStringLiteral("HTML 3.2")));
        frame()->setStatusItem(0);
        QVERIFY(tag->text().isEmpty());
        QVERIFY(level->text().isEmpty());
    }

    // Pointing at an entry without a command (a sub-menu) clears the tag and
    // level panes that the item pointed at before set.
    void entriesWithoutACommandClearTheTagPanes_data()
    {
        QTest::addColumn<int>("menuIndex");
        QTest::addColumn<QString>("before"); // captions, by their starts
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("level");
        QTest::newRow("command after command") << 3 << "下線"
                                               << "太字"
                                               << "<BOLD>"
                                               << "HTML 2.0";
        QTest::newRow("sub-menu after command") << 5 << "水平線"
                                                << "表"
                                                << ""
                                                << "";
        QTest::newRow("another sub-menu") << 3 << "太字"
                                          << "論理強調"
                                          << ""
                                          << "";
    }

    void entriesWithoutACommandClearTheTagPanes()
    {
        QFETCH(int, menuIndex);
        QFETCH(QString, before);
        QFETCH(QString, entry);
        QFETCH(QString, tag);
        QFETCH(QString, level);
        m_app->documentManager()->fileNew();
        QMenu* menu = frame()->menuBar()->actions().at(menuIndex)->menu();
        menu->popup(QPoint(10, 10));
        auto hover = [menu](const QString& caption) {
            for (QAction* a : menu->actions()) {
                if (a->text().startsWith(caption)) {
                    menu->setActiveAction(a);
                    return true;
                }
            }
            return false;
        };
        QVERIFY(hover(before));
        QVERIFY(hover(entry));
        auto* tagPane = frame()->findChild<QLabel*>(QStringLiteral("Pane302"));
        auto* levelPane = frame()->findChild<QLabel*>(QStringLiteral("Pane301"));
        QCOMPARE(QStringList({tagPane->text(), levelPane->text()}), QStringList({tag, level}));
        menu->hide();
    }

    void statusBarToggleCarriesACheckMark()
    {
        QVERIFY(frame()->commandState(Cmd::ViewStatusBar).check() == 1);
        QVERIFY(frame()->routeCommand(Cmd::ViewStatusBar));
        QVERIFY(frame()->statusBar()->isHidden());
        QCOMPARE(frame()->commandState(Cmd::ViewStatusBar).check(), 0);
        frame()->routeCommand(Cmd::ViewStatusBar);
        QVERIFY(!frame()->statusBar()->isHidden());
    }

    void windowMenuListsTheOpenWindows()
    {
        m_app->documentManager()->fileNew();
        const QString a = writeFile(QStringLiteral("w&1.htm"), "1");
        m_app->documentManager()->openDocumentFile(a);
        QMenu* windowMenu = frame()->menuBar()->actions().at(8)->menu();
        QVERIFY(windowMenu);
        QMetaObject::invokeMethod(windowMenu, "aboutToShow");
        QStringList texts;
        for (QAction* action : windowMenu->actions())
            texts << action->text();
        QVERIFY(texts.contains(QStringLiteral("&1 無題")));
        QVERIFY(texts.contains(QStringLiteral("&2 w&&1.htm")));
        QMetaObject::invokeMethod(windowMenu, "aboutToShow");
        int count = 0;
        for (QAction* action : windowMenu->actions())
            count += action->text().startsWith(QLatin1String("&1 ")) ? 1 : 0;
        QCOMPARE(count, 1);
    }

    // Opens files w1.htm ... wN.htm and returns the window menu, about to show.
    QMenu* windowMenuWith(int count, int active)
    {
        QList<CMarquillDoc*> docs;
        for (int i = 1; i <= count; ++i)
            docs << m_app->documentManager()->openDocumentFile(
                writeFile(QStringLiteral("w%1.htm").arg(i), "x"));
        frame()->mdiArea()->setActiveSubWindow(
            m_app->documentManager()->frameOf(docs.value(active)));
        QMenu* windowMenu = frame()->menuBar()->actions().at(8)->menu();
        QMetaObject::invokeMethod(windowMenu, "aboutToShow");
        return windowMenu;
    }

    // The window menu names nine windows at most, the active one always
    // (checked), and then offers the list of all of them.
    void windowMenuNamesNineWindows_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("active");
        QTest::addColumn<QStringList>("entries"); // after the fixed items; * checked
        QTest::newRow("one") << 1 << 0 << QStringList{"&1 w1.htm*"};
        QTest::newRow("nine") << 9 << 8 << QStringList{"&1 w1.htm", "&2 w2.htm", "&3 w3.htm",
                                                       "&4 w4.htm", "&5 w5.htm", "&6 w6.htm",
                                                       "&7 w7.htm", "&8 w8.htm", "&9 w9.htm*"};
        QTest::newRow("ten, first active")
            << 10 << 0
            << QStringList{
                   "&1 w1.htm*", "&2 w2.htm", "&3 w3.htm", "&4 w4.htm", "&5 w5.htm",
                   "&6 w6.htm",  "&7 w7.htm", "&8 w8.htm", "&9 w9.htm", "ウィンドウの一覧(&M)..."};
        QTest::newRow("twelve, eleventh active")
            << 12 << 10
            << QStringList{
                   "&1 w1.htm", "&2 w2.htm", "&3 w3.htm", "&4 w4.htm",   "&5 w5.htm",
                   "&6 w6.htm", "&7 w7.htm", "&8 w8.htm", "&9 w11.htm*", "ウィンドウの一覧(&M)..."};
    }

    void windowMenuNamesNineWindows()
    {
        QFETCH(int, count);
        QFETCH(int, active);
        QFETCH(QStringList, entries);
        QMenu* windowMenu = windowMenuWith(count, active);
        // The run-time entries follow the last separator.
        const QList<QAction*> actions = windowMenu->actions();
        qsizetype first = actions.size();
        while (first > 0 && !actions[first - 1]->isSeparator())
            --first;
        QStringList texts;
        for (const QAction* action : actions.mid(first))
            texts << action->text() + (action->isChecked() ? "*" : "");
        QCOMPARE(texts, entries);
    }

    void windowListDialogActivatesTheChosenWindow()
    {
        QMenu* windowMenu = windowMenuWith(11, 2);
        QStringList titles;
        int current = -1;
        UiSeam::setDialogHook([&](QDialog& dialog) {
            auto* list = dialog.findChild<QListWidget*>(QStringLiteral("windows"));
            for (int i = 0; list && i < list->count(); ++i)
                titles << list->item(i)->text();
            current = list ? list->currentRow() : -1;
            list->setCurrentRow(9);
            dialog.accept();
            return int(QDialog::Accepted);
        });
        windowMenu->actions().last()->trigger();
        UiSeam::setDialogHook({});
        QCOMPARE(titles.size(), 11);
        QCOMPARE(titles.at(10), QStringLiteral("w11.htm"));
        QCOMPARE(current, 2);
        QCOMPARE(frame()->mdiArea()->activeSubWindow()->windowTitle(), QStringLiteral("w10.htm"));
    }

    void registeredTagMenuStopsAtTheFirstEmptySlot()
    {
        m_app->documentManager()->fileNew();
        writeProfileString("Tag", "TagView0", "zero");
        writeProfileString("Tag", "TagView1", "one");
        writeProfileString("Tag", "TagView3", "three");
        QMenu* tagMenu = frame()->menuBar()->actions().at(6)->menu();
        QMetaObject::invokeMethod(tagMenu, "aboutToShow");
        QStringList texts;
        for (QAction* action : tagMenu->actions())
            if (MenuBuilder::commandId(action) >= Cmd::RegisteredTag0)
                texts << action->text();
        QCOMPARE(texts, QStringList({"&0 zero\tCtrl+0", "&1 one\tCtrl+1"}));
    }
};

MARQUILL_TEST_MAIN(TestMenusAndKeys)
#include "tst_menus_and_keys.moc"
