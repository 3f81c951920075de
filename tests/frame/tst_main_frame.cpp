#include "app/marquill_app.h"
#include "app_under_test.h"
#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "core/web_browser.h"
#include "document/marquill_doc.h"
#include "editor/find_replace.h"
#include "editor/find_replace_dialog.h"
#include "editor/marquill_view.h"
#include "frame/child_frame.h"
#include "frame/main_frame.h"
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

// The application shell on real widgets: start-up settings, menus,
// accelerators, status panes, document windows and their titles, saving.
class TestMainFrame : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    // Stands in for the desktop's file handler.
    void openUrl(const QUrl& url) { m_opened.append(url); }

private:
    QList<QUrl> m_opened;

    QTemporaryDir m_dir;
    CMarquillApp* m_app = nullptr;
    QList<QString> m_messages;

    CMainFrame* frame() const { return m_app->mainFrame(); }
    CMarquillView* viewOf(CMarquillDoc* doc) const { return m_app->frameOf(doc)->view(); }

    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return QString();
        f.write(bytes);
        return path;
    }

    QList<QAction*> allActions(QMenuBar* bar)
    {
        QList<QAction*> result;
        for (QMenu* menu : bar->findChildren<QMenu*>())
            result += menu->actions();
        return result;
    }

    QAction* menuAction(int id)
    {
        for (QAction* a : allActions(frame()->menuBar()))
            if (MenuBuilder::commandId(a) == id && !a->menu())
                return a;
        return nullptr;
    }

private Q_SLOTS:
    void init()
    {
        TestSupport::clearSettings();
        m_messages.clear();
        UiSeam::setMessageHook(
            [this](const QString& text, QMessageBox::Icon, QMessageBox::StandardButtons) {
                m_messages.append(text);
                return QMessageBox::Ok;
            });
        m_app = new CMarquillApp;
        QVERIFY(m_app->initInstance({QStringLiteral("marquill")}));
        // Accelerators only work in the active window.
        frame()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame()));
    }

    void cleanup()
    {
        TestSupport::tearDownApp(m_app);
        UiSeam::setMessageHook({});
        UiSeam::setFileDialogHook({});
    }

    void startUpWritesPathAndVersion()
    {
        QCOMPARE(getProfileInt("Options", "Version", 0), 215);
        QCOMPARE(getProfileString("Options", "Path"), QCoreApplication::applicationDirPath());
        // A fresh user with FileNew = 0 gets no document.
        QVERIFY(m_app->documents().isEmpty());
    }

    void menuBarFollowsTheOpenDocuments()
    {
        QCOMPARE(frame()->menuBar()->actions().size(), 2);
        CMarquillDoc* doc = m_app->fileNew();
        QVERIFY(doc);
        const QList<QAction*> top = frame()->menuBar()->actions();
        QCOMPARE(top.size(), 10);
        const auto& table = Resources::menuBar(129);
        for (int i = 0; i < table.size(); ++i)
            QCOMPARE(top[i]->text(), table[i].caption);
        QCOMPARE(menuAction(Cmd::FileSaveAs)->text(), QStringLiteral("名前を付けて保存(&A)..."));
        m_app->closeAllDocumentsWithoutAsking();
        QTRY_COMPARE(frame()->menuBar()->actions().size(), 2);
    }

    void untitledTitleAndModifiedMarker()
    {
        CMarquillDoc* doc = m_app->fileNew();
        QCOMPARE(doc->title(), QStringLiteral("無題"));
        CChildFrame* child = m_app->frameOf(doc);
        QVERIFY(child->isMaximized());
        QTest::keyClicks(viewOf(doc), QStringLiteral("ab"));
        QCOMPARE(doc->title(), QStringLiteral("無題 *"));
        QCOMPARE(child->windowTitle(), QStringLiteral("無題 *"));
        QCOMPARE(frame()->windowTitle(), QStringLiteral("Marquill - 無題 *"));
        QVERIFY(doc->isModified());
        doc->setModifiedFlag(false);
        QCOMPARE(doc->title(), QStringLiteral("無題"));
        doc->setModifiedFlag(true);
        doc->setModifiedFlag(true);
        QCOMPARE(doc->title(), QStringLiteral("無題 *"));
    }

    void saveAsWritesTheFileAndClearsTheMarker()
    {
        CMarquillDoc* doc = m_app->fileNew();
        QTest::keyClicks(viewOf(doc), QStringLiteral("<P>"));
        const QString target = m_dir.filePath(QStringLiteral("saved.htm"));
        QString proposed;
        UiSeam::setFileDialogHook([&](const UiSeam::FileDialogRequest& r) {
            proposed = r.proposedName;
            return target;
        });
        QVERIFY(frame()->routeCommand(Cmd::FileSave));
        QCOMPARE(proposed, QStringLiteral("無題.htm"));
        QCOMPARE(doc->title(), QStringLiteral("saved.htm"));
        QVERIFY(!doc->isModified());
        QFile f(target);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("<P>"));
        QCOMPARE(m_app->recentFiles().value(0), target);
    }

    void failedSaveKeepsTheDocumentModified()
    {
        CMarquillDoc* doc = m_app->fileNew();
        QTest::keyClicks(viewOf(doc), QStringLiteral("text"));
        // A folder that does not exist: the save fails for anyone.
        const QString target = m_dir.filePath(QStringLiteral("missing/folder/x.htm"));
        UiSeam::setFileDialogHook([&](const UiSeam::FileDialogRequest&) { return target; });
        QVERIFY(frame()->routeCommand(Cmd::FileSaveAs));
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(doc->isModified());
        QCOMPARE(doc->title(), QStringLiteral("無題 *"));
        QVERIFY(!QFile::exists(target));
    }

    void anUnencodableCharacterOffersUtf8()
    {
        // "日本" in Shift_JIS: loaded as UTF-8, saved back as Shift_JIS.
        const QString path = writeFile(QStringLiteral("sjis.htm"), "<P>\x93\xfa\x96\x7b</P>");
        CMarquillDoc* doc = m_app->openDocumentFile(path);
        QVERIFY(doc);
        QCOMPARE(doc->encoding(), QStringLiteral("Shift_JIS"));
        viewOf(doc)->setSel(3, 3);
        viewOf(doc)->replaceSel("\xf0\x9f\x98\x80", true); // an emoji Shift_JIS lacks
        QMessageBox::StandardButton answer = QMessageBox::No;
        UiSeam::setMessageHook(
            [&](const QString& text, QMessageBox::Icon, QMessageBox::StandardButtons) {
                m_messages.append(text);
                return answer;
            });
        QVERIFY(frame()->routeCommand(Cmd::FileSave));
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(doc->isModified());
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("<P>\x93\xfa\x96\x7b</P>"));
        f.close();
        answer = QMessageBox::Yes;
        QVERIFY(frame()->routeCommand(Cmd::FileSave));
        QVERIFY(!doc->isModified());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("<P>\xf0\x9f\x98\x80日本</P>"));
        QVERIFY(doc->encoding().isEmpty());
    }

    void openingAnUnreadableFileOpensNoWindow()
    {
        QVERIFY(!m_app->openDocumentFile(m_dir.filePath(QStringLiteral("nothing-here.htm"))));
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(m_messages[0].contains(QStringLiteral("このﾌｧｲﾙが見つかりません。")));
        QVERIFY(m_app->documents().isEmpty());
        QVERIFY(frame()->mdiArea()->subWindowList().isEmpty());
    }

    void openingAnOpenFileActivatesItsWindow()
    {
        const QString a = writeFile(QStringLiteral("a.htm"), "<B>a</B>\r\n");
        const QString b = writeFile(QStringLiteral("b.htm"), "b");
        CMarquillDoc* docA = m_app->openDocumentFile(a);
        QVERIFY(docA);
        QCOMPARE(viewOf(docA)->textBytes(), QByteArray("<B>a</B>\r\n"));
        QVERIFY(!docA->isModified());
        QVERIFY(m_app->openDocumentFile(b));
        QCOMPARE(m_app->openDocumentFile(a), docA);
        QCOMPARE(m_app->documents().size(), 2);
        QCOMPARE(frame()->activeChild()->doc(), docA);
        QCOMPARE(m_app->recentFiles().first(), b);
    }

    // The maximised document window must not leave its own "- [title]" in the
    // main caption, however it comes to be activated.
    void captionFollowsTheActiveWindow()
    {
        const QString a = writeFile(QStringLiteral("a.htm"), "a");
        const QString b = writeFile(QStringLiteral("b.htm"), "b");
        CMarquillDoc* docA = m_app->openDocumentFile(a);
        CMarquillDoc* docB = m_app->openDocumentFile(b);
        QVERIFY(docA && docB);
        QTRY_COMPARE(frame()->windowTitle(), QStringLiteral("Marquill - b.htm"));
        QCOMPARE(m_app->openDocumentFile(a), docA);
        QTRY_COMPARE(frame()->windowTitle(), QStringLiteral("Marquill - a.htm"));
        frame()->mdiArea()->setActiveSubWindow(m_app->frameOf(docB));
        QTRY_COMPARE(frame()->windowTitle(), QStringLiteral("Marquill - b.htm"));
        QTest::keyClicks(viewOf(docB), QStringLiteral("x"));
        QTRY_COMPARE(frame()->windowTitle(), QStringLiteral("Marquill - b.htm *"));
        frame()->routeCommand(Cmd::FileSave);
        QTRY_COMPARE(frame()->windowTitle(), QStringLiteral("Marquill - b.htm"));
        m_app->frameOf(docB)->closeWithoutAsking();
        QTRY_COMPARE(frame()->windowTitle(), QStringLiteral("Marquill - a.htm"));
        m_app->frameOf(docA)->closeWithoutAsking();
        QTRY_COMPARE(frame()->windowTitle(), QStringLiteral("Marquill"));
    }

    void closingAModifiedDocumentAsks()
    {
        CMarquillDoc* doc = m_app->fileNew();
        QTest::keyClicks(viewOf(doc), QStringLiteral("x"));
        QString asked;
        QMessageBox::StandardButton answer = QMessageBox::Cancel;
        UiSeam::setMessageHook(
            [&](const QString& text, QMessageBox::Icon, QMessageBox::StandardButtons) {
                asked = text;
                return answer;
            });
        QVERIFY(frame()->routeCommand(Cmd::FileClose));
        QCOMPARE(asked, QStringLiteral("無題 への変更を保存しますか？"));
        QCOMPARE(m_app->documents().size(), 1);
        answer = QMessageBox::No;
        m_app->frameOf(doc)->close();
        QTRY_VERIFY(m_app->documents().isEmpty());
    }

    void everyAcceleratorReachesItsCommand()
    {
        CMarquillDoc* doc = m_app->fileNew();
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
            if (!m_app->documents().contains(doc))
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

    // The Enter key of the numeric keypad is the same key to the accelerators:
    // with Shift it breaks the line, with Alt it starts a paragraph.
    void keypadEnterWorksLikeEnter()
    {
        CMarquillDoc* doc = m_app->fileNew();
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
        CMarquillDoc* first = m_app->fileNew();
        CMarquillDoc* second = m_app->fileNew();
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
        QCOMPARE(m_app->documents().size(), 2);
        UiSeam::setMessageHook([](const QString&, QMessageBox::Icon, QMessageBox::StandardButtons) {
            return QMessageBox::No;
        });
        QTest::keyClick(viewOf(second), Qt::Key_F4, Qt::ControlModifier);
        QTRY_COMPARE(m_app->documents(), QList<CMarquillDoc*>{first});
    }

    void disabledCommandsIgnoreTheirAccelerators()
    {
        CMarquillDoc* doc = m_app->fileNew();
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
        QVERIFY(m_app->documents().isEmpty());
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
        m_app->fileNew();
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

    void documentWindowsRememberTheirShowState()
    {
        CMarquillDoc* first = m_app->fileNew();
        QVERIFY(m_app->frameOf(first)->isMaximized());
        m_app->frameOf(first)->showNormal();
        QCOMPARE(CChildFrame::showCmd(), 1);
        CMarquillDoc* second = m_app->fileNew();
        QVERIFY(!m_app->frameOf(second)->isMaximized());
        m_app->closeAllDocumentsWithoutAsking();
        m_app->exitInstance();
        QCOMPARE(getProfileInt("Settings", "ShowCmd", 0), 1);
        CChildFrame::setShowCmd(3);
    }

    void normalDocumentWindowsOpenAtAUsableSize()
    {
        CChildFrame::setShowCmd(1);
        CMarquillDoc* doc = m_app->fileNew();
        CChildFrame* child = m_app->frameOf(doc);
        CChildFrame::setShowCmd(3);
        QVERIFY(!child->isMaximized());
        const QSize area = frame()->mdiArea()->viewport()->size();
        QVERIFY2(child->width() >= area.width() / 2 && child->height() >= area.height() / 2,
                 qPrintable(QStringLiteral("%1x%2 in %3x%4")
                                .arg(child->width())
                                .arg(child->height())
                                .arg(area.width())
                                .arg(area.height())));
        QVERIFY(QRect(QPoint(), area).contains(child->geometry()));
    }

    // While the document windows are maximised, opening another one or closing
    // the active one keeps the area in that state: the window that becomes
    // active is maximised, and the shared show state stays "maximised".
    void maximisedStateSurvivesOpeningAndClosing()
    {
        CMarquillDoc* first = m_app->fileNew();
        CMarquillDoc* second = m_app->fileNew();
        CMarquillDoc* third = m_app->fileNew();
        QVERIFY(m_app->frameOf(third)->isMaximized());
        QCOMPARE(CChildFrame::showCmd(), 3);
        frame()->mdiArea()->setActiveSubWindow(m_app->frameOf(first));
        QTRY_VERIFY(m_app->frameOf(first)->isMaximized());
        QCOMPARE(CChildFrame::showCmd(), 3);
        frame()->mdiArea()->setActiveSubWindow(m_app->frameOf(third));
        QTRY_VERIFY(m_app->frameOf(third)->isMaximized());
        QPointer<CChildFrame> closed = m_app->frameOf(third);
        closed->close();
        QTRY_VERIFY(closed.isNull());
        // Another window becomes active, maximised.
        QTRY_VERIFY(frame()->activeChild());
        CChildFrame* active = frame()->activeChild();
        QVERIFY(active->doc() == first || active->doc() == second);
        QTRY_VERIFY(active->isMaximized());
        QCOMPARE(CChildFrame::showCmd(), 3);
        CMarquillDoc* last = active->doc() == first ? second : first;
        closed = active;
        closed->close();
        QTRY_VERIFY(closed.isNull());
        QTRY_COMPARE(frame()->activeChild(), m_app->frameOf(last));
        QTRY_VERIFY(m_app->frameOf(last)->isMaximized());
        QCOMPARE(CChildFrame::showCmd(), 3);
        QCOMPARE(frame()->windowTitle(), QStringLiteral("Marquill - 無題"));
    }

    void showCmdIsWrittenOnlyWhenChanged()
    {
        m_app->exitInstance();
        QCOMPARE(getProfileInt("Settings", "ShowCmd", -7), -7);
    }

    void recentFilesAreWrittenAtExit()
    {
        const QString a = writeFile(QStringLiteral("r1.htm"), "1");
        QVERIFY(m_app->openDocumentFile(a));
        m_app->exitInstance();
        QCOMPARE(getProfileString("Recent File List", "File1"), a);
        QCOMPARE(m_app->recentFileList().folderOfMostRecentFile(), m_dir.path());
    }

    // History deletion: after OK the File menu lists the remaining files.
    void deletedHistoryLeavesTheFileMenu()
    {
        m_app->fileNew();
        for (const char* name : {"h1.htm", "h2.htm", "h3.htm"})
            m_app->addToRecentFileList(m_dir.filePath(QString::fromUtf8(name)));
        UiSeam::setDialogHook([](QDialog& dialog) {
            auto* list = dialog.findChild<QListWidget*>(QStringLiteral("fileList"));
            list->item(0)->setSelected(true);
            dialog.findChild<QPushButton*>(QStringLiteral("deleteButton"))->click();
            dialog.accept();
            return int(QDialog::Accepted);
        });
        QVERIFY(frame()->routeCommand(Cmd::DeleteHistory));
        UiSeam::setDialogHook({});
        QMenu* fileMenu = frame()->menuBar()->actions().at(0)->menu();
        QMetaObject::invokeMethod(fileMenu, "aboutToShow");
        QStringList recent;
        for (QAction* action : fileMenu->actions()) {
            const int id = MenuBuilder::commandId(action);
            if (id >= Cmd::RecentFile1 && id <= Cmd::RecentFile9)
                recent << QFileInfo(action->text()).fileName();
        }
        QCOMPARE(recent, QStringList({"h2.htm", "h1.htm"}));
    }

    // OK on the options sheet gives the open views the stored fonts at once.
    void optionsApplyToOpenViews()
    {
        CMarquillView* view = viewOf(m_app->fileNew());
        QCOMPARE(view->sci(QsciScintillaBase::SCI_STYLEGETFORE, CMyRichEditView::StyleTag),
                 0xCC0000);
        UiSeam::setDialogHook([](QDialog& dialog) {
            dialog.accept();
            return int(QDialog::Accepted);
        });
        QVERIFY(frame()->routeCommand(Cmd::Options));
        UiSeam::setDialogHook({});
        QCOMPARE(view->sci(QsciScintillaBase::SCI_STYLEGETFORE, CMyRichEditView::StyleTag),
                 0xFF0000);
    }

    void caretPaneFollowsTheActiveView()
    {
        auto* pane = frame()->caretPane();
        QCOMPARE(pane->text(), QString());
        CMarquillView* view = viewOf(m_app->fileNew());
        view->loadBytes("ab\r\ncd");
        view->setSel(5, 5);
        QTRY_COMPARE(pane->text(), QStringLiteral("         2 :     2"));
        m_app->closeAllDocumentsWithoutAsking();
        QTRY_COMPARE(pane->text(), QString());
    }

    // The tip of the day opens at start-up unless it was switched off.
    void tipOfTheDayAtStartUp_data()
    {
        QTest::addColumn<int>("startUp");
        QTest::addColumn<bool>("shown");
        QTest::newRow("on") << 0 << true;
        QTest::newRow("off") << 1 << false;
    }
    void tipOfTheDayAtStartUp()
    {
        QFETCH(int, startUp);
        QFETCH(bool, shown);
        writeProfileInt("Tip", "StartUp", startUp);
        QStringList opened;
        UiSeam::setDialogHook([&](QDialog& dialog) {
            opened << dialog.objectName();
            return int(QDialog::Rejected);
        });
        // The program's own start, as one instance per user.
        CMarquillApp second;
        QVERIFY(second.initInstance({QStringLiteral("marquill")}, true));
        UiSeam::setDialogHook({});
        delete second.mainFrame();
        QCOMPARE(opened.contains(QStringLiteral("OnePointDlg")), shown);
    }

    void windowCommandsArrangeTheWindows()
    {
        m_app->fileNew();
        m_app->fileNew();
        QVERIFY(frame()->routeCommand(Cmd::WindowTileHorz));
        const auto windows = frame()->mdiArea()->subWindowList();
        QCOMPARE(windows.size(), 2);
        QCOMPARE(windows[0]->width(), windows[1]->width());
        QVERIFY(windows[0]->y() != windows[1]->y());
        QVERIFY(frame()->routeCommand(Cmd::WindowTileVert));
        QVERIFY(windows[0]->x() != windows[1]->x());
        QVERIFY(frame()->routeCommand(Cmd::WindowCascade));
        // Cascaded windows stay large, each one lower and to the right.
        const QSize area = frame()->mdiArea()->viewport()->size();
        QCOMPARE(windows[0]->size(), windows[1]->size());
        QVERIFY(windows[0]->width() >= area.width() / 2);
        QVERIFY(windows[0]->height() >= area.height() / 2);
        QVERIFY(windows[1]->x() > windows[0]->x() && windows[1]->y() > windows[0]->y());
        QVERIFY(QRect(QPoint(), area).contains(windows[1]->geometry()));
    }

    void filesDroppedOnTheMainWindowAreOpened()
    {
        const QString a = writeFile(QStringLiteral("drop1.htm"), "1");
        const QString b = writeFile(QStringLiteral("drop2.txt"), "2");
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(frame(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame(), &drop);
        QCOMPARE(m_app->documents().size(), 2);
        QCOMPARE(m_app->documents().at(1)->pathName(), b);
    }

    void windowMenuListsTheOpenWindows()
    {
        m_app->fileNew();
        const QString a = writeFile(QStringLiteral("w&1.htm"), "1");
        m_app->openDocumentFile(a);
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
            docs << m_app->openDocumentFile(writeFile(QStringLiteral("w%1.htm").arg(i), "x"));
        frame()->mdiArea()->setActiveSubWindow(m_app->frameOf(docs.value(active)));
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
        m_app->fileNew();
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

    void browserPreviewAndOpenFolder()
    {
        // The preview goes to the web browser, the folder to the desktop's handler.
        WebBrowser::setHook([this](const QUrl& url) {
            openUrl(url);
            return true;
        });
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openUrl");
        m_opened.clear();
        CMarquillDoc* untitled = m_app->fileNew();
        QVERIFY(frame()->routeCommand(Cmd::BrowserPreview));
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(m_messages[0].startsWith(QStringLiteral("この文書は保存されていません。")));
        QVERIFY(m_opened.isEmpty());
        // Untitled: the folder of the most recent file.
        const QString a = writeFile(QStringLiteral("sub/page.htm"), "x");
        m_app->addToRecentFileList(a);
        QVERIFY(frame()->routeCommand(Cmd::OpenFolder));
        QCOMPARE(m_opened.value(0).toLocalFile(), m_dir.filePath(QStringLiteral("sub")));
        Q_UNUSED(untitled);
        CMarquillDoc* doc = m_app->openDocumentFile(a);
        QTest::keyClicks(viewOf(doc), QStringLiteral("unsaved"));
        m_opened.clear();
        QVERIFY(frame()->routeCommand(Cmd::BrowserPreview));
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_opened.value(0).toLocalFile(), a);
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        WebBrowser::setHook({});
    }

    void windowPlacementRoundTrips()
    {
        WindowPlacement p;
        QVERIFY(WindowPlacement::parse(QStringLiteral("2,3,-1,-1,-1,-1,10,20,410,320"), p));
        QCOMPARE(p.flags, 2u);
        QCOMPARE(p.showCmd, 3u);
        QCOMPARE(p.normal, QRect(10, 20, 400, 300));
        QCOMPARE(p.toString(), QStringLiteral("2,3,-1,-1,-1,-1,10,20,410,320"));
        QVERIFY(!WindowPlacement::parse(QStringLiteral("1,2,3"), p));
        QVERIFY(!WindowPlacement::parse(QString(), p));
        QVERIFY(!WindowPlacement::parse(QStringLiteral("a,1,1,1,1,1,1,1,1,1"), p));
    }

    void defaultPlacementTakesThreeQuartersOfTheScreen_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("full hd") << QRect(0, 0, 1920, 1080) << QRect(240, 135, 1440, 810);
        QTest::newRow("offset panel") << QRect(0, 32, 1280, 992) << QRect(160, 156, 960, 744);
        QTest::newRow("second screen") << QRect(1920, 0, 1280, 1024) << QRect(2080, 128, 960, 768);
    }

    void defaultPlacementTakesThreeQuartersOfTheScreen()
    {
        QFETCH(QRect, available);
        QFETCH(QRect, expected);
        QCOMPARE(WindowPlacement::defaultRect(available), expected);
    }

    void closingSavesThePlacement()
    {
        frame()->showNormal();
        frame()->setGeometry(30, 40, 500, 400);
        frame()->close();
        WindowPlacement p;
        QVERIFY(WindowPlacement::parse(getProfileString("Settings", "WindowPos"), p));
        QCOMPARE(p.flags, 0u);
        QCOMPARE(p.showCmd, 1u);
        QCOMPARE(p.normal.size(), QSize(500, 400));
    }
};

MARQUILL_TEST_MAIN(TestMainFrame)
#include "tst_main_frame.moc"
