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
class TestMainFrame : public QObject, protected MainFrameFixture
{
    Q_OBJECT

public Q_SLOTS:
    // Stands in for the desktop's file handler.
    void openUrl(const QUrl& url) { m_opened.append(url); }

private:
    QList<QUrl> m_opened;

private Q_SLOTS:
    void init() { startApp(); }

    void cleanup() { stopApp(); }

    void startUpWritesPathAndVersion()
    {
        QCOMPARE(getProfileInt("Options", "Version", 0), 215);
        QCOMPARE(getProfileString("Options", "Path"), QCoreApplication::applicationDirPath());
        // A fresh user with FileNew = 0 gets no document.
        QVERIFY(m_app->documentManager()->documents().isEmpty());
    }

    void menuBarFollowsTheOpenDocuments()
    {
        QCOMPARE(frame()->menuBar()->actions().size(), 2);
        CMarquillDoc* doc = m_app->documentManager()->fileNew();
        QVERIFY(doc);
        const QList<QAction*> top = frame()->menuBar()->actions();
        QCOMPARE(top.size(), 10);
        const auto& table = Resources::menuBar(129);
        for (int i = 0; i < table.size(); ++i)
            QCOMPARE(top[i]->text(), table[i].caption);
        QCOMPARE(menuAction(Cmd::FileSaveAs)->text(), QStringLiteral("名前を付けて保存(&A)..."));
        m_app->documentManager()->closeAllDocumentsWithoutAsking();
        QTRY_COMPARE(frame()->menuBar()->actions().size(), 2);
    }

    void untitledTitleAndModifiedMarker()
    {
        CMarquillDoc* doc = m_app->documentManager()->fileNew();
        QCOMPARE(doc->title(), QStringLiteral("無題"));
        CChildFrame* child = m_app->documentManager()->frameOf(doc);
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
        CMarquillDoc* doc = m_app->documentManager()->fileNew();
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
        QCOMPARE(m_app->documentManager()->recentFiles().value(0), target);
    }

    void failedSaveKeepsTheDocumentModified()
    {
        CMarquillDoc* doc = m_app->documentManager()->fileNew();
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
        const QString path = writeFile(QStringLiteral("sjis.htm"),
                                       "<P>\x93\xfa\x96\x7b</P><META CHARSET=Shift_JIS>");
        CMarquillDoc* doc = m_app->documentManager()->openDocumentFile(path);
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
        QCOMPARE(f.readAll(), QByteArray("<P>\x93\xfa\x96\x7b</P><META CHARSET=Shift_JIS>"));
        f.close();
        // The question says the page's declaration changes too.
        QVERIFY(m_messages[0].contains(QStringLiteral("Shift_JIS も UTF-8 に書き換えます")));
        answer = QMessageBox::Yes;
        QVERIFY(frame()->routeCommand(Cmd::FileSave));
        QVERIFY(!doc->isModified());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("<P>\xf0\x9f\x98\x80日本</P><META CHARSET=UTF-8>"));
        QVERIFY(doc->encoding().isEmpty());
        f.close();
        // Undoing the new name and saving again still writes what the file holds.
        viewOf(doc)->undo();
        QVERIFY(viewOf(doc)->textBytes().endsWith("CHARSET=Shift_JIS>"));
        QVERIFY(frame()->routeCommand(Cmd::FileSave));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("<P>\xf0\x9f\x98\x80日本</P><META CHARSET=UTF-8>"));
    }

    // Save As writes the encoding the page's own declaration names.
    void saveAsDeclaresTheEncodingWritten()
    {
        CMarquillDoc* doc = m_app->documentManager()->fileNew();
        viewOf(doc)->replaceSel("<meta charset=\"EUC-JP\">日本", true);
        const QString target = m_dir.filePath(QStringLiteral("declared.htm"));
        UiSeam::setFileDialogHook([&](const UiSeam::FileDialogRequest&) { return target; });
        QVERIFY(frame()->routeCommand(Cmd::FileSaveAs));
        QFile f(target);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("<meta charset=\"UTF-8\">日本"));
        QVERIFY(!doc->isModified());

        // Declining to save a Shift_JIS page as UTF-8 saves nothing and
        // leaves its declaration as the user wrote it.
        const QByteArray page = "<meta charset=EUC-JP><P>\x93\xfa\x96\x7b</P>";
        doc = m_app->documentManager()->openDocumentFile(
            writeFile(QStringLiteral("mislabelled.htm"), page));
        QVERIFY(doc);
        QCOMPARE(doc->encoding(), QStringLiteral("Shift_JIS"));
        viewOf(doc)->setSel(0, 0);
        viewOf(doc)->replaceSel("\xf0\x9f\x98\x80", true); // an emoji Shift_JIS lacks
        UiSeam::setMessageHook([](const QString&, QMessageBox::Icon, QMessageBox::StandardButtons) {
            return QMessageBox::No;
        });
        QVERIFY(frame()->routeCommand(Cmd::FileSaveAs));
        QCOMPARE(viewOf(doc)->textBytes(), "\xf0\x9f\x98\x80<meta charset=EUC-JP><P>日本</P>");
        QVERIFY(f.seek(0));
        QCOMPARE(f.readAll(), QByteArray("<meta charset=\"UTF-8\">日本"));
    }

    void openingAnUnreadableFileOpensNoWindow()
    {
        // The message runs the event loop, as a real message box does, while
        // the document that could not be read is still on its way out.
        UiSeam::setMessageHook(
            [this](const QString& text, QMessageBox::Icon, QMessageBox::StandardButtons) {
                m_messages.append(text);
                QEventLoop loop;
                QTimer::singleShot(50, &loop, &QEventLoop::quit);
                loop.exec();
                return QMessageBox::Ok;
            });
        QVERIFY(!m_app->documentManager()->openDocumentFile(
            m_dir.filePath(QStringLiteral("nothing-here.htm"))));
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(m_messages[0].contains(QStringLiteral("このﾌｧｲﾙが見つかりません。")));
        QVERIFY(m_app->documentManager()->documents().isEmpty());
        QVERIFY(frame()->mdiArea()->subWindowList().isEmpty());
    }

    void openingAnOpenFileActivatesItsWindow()
    {
        const QString a = writeFile(QStringLiteral("a.htm"), "<B>a</B>\r\n");
        const QString b = writeFile(QStringLiteral("b.htm"), "b");
        CMarquillDoc* docA = m_app->documentManager()->openDocumentFile(a);
        QVERIFY(docA);
        QCOMPARE(viewOf(docA)->textBytes(), QByteArray("<B>a</B>\r\n"));
        QVERIFY(!docA->isModified());
        QVERIFY(m_app->documentManager()->openDocumentFile(b));
        QCOMPARE(m_app->documentManager()->openDocumentFile(a), docA);
        QCOMPARE(m_app->documentManager()->documents().size(), 2);
        QCOMPARE(frame()->activeChild()->doc(), docA);
        QCOMPARE(m_app->documentManager()->recentFiles().first(), b);
    }

    // The maximised document window must not leave its own "- [title]" in the
    // main caption, however it comes to be activated.
    void captionFollowsTheActiveWindow()
    {
        const QString a = writeFile(QStringLiteral("a.htm"), "a");
        const QString b = writeFile(QStringLiteral("b.htm"), "b");
        CMarquillDoc* docA = m_app->documentManager()->openDocumentFile(a);
        CMarquillDoc* docB = m_app->documentManager()->openDocumentFile(b);
        QVERIFY(docA && docB);
        QTRY_COMPARE(frame()->windowTitle(), QStringLiteral("Marquill - b.htm"));
        QCOMPARE(m_app->documentManager()->openDocumentFile(a), docA);
        QTRY_COMPARE(frame()->windowTitle(), QStringLiteral("Marquill - a.htm"));
        frame()->mdiArea()->setActiveSubWindow(m_app->documentManager()->frameOf(docB));
        QTRY_COMPARE(frame()->windowTitle(), QStringLiteral("Marquill - b.htm"));
        QTest::keyClicks(viewOf(docB), QStringLiteral("x"));
        QTRY_COMPARE(frame()->windowTitle(), QStringLiteral("Marquill - b.htm *"));
        frame()->routeCommand(Cmd::FileSave);
        QTRY_COMPARE(frame()->windowTitle(), QStringLiteral("Marquill - b.htm"));
        m_app->documentManager()->frameOf(docB)->closeWithoutAsking();
        QTRY_COMPARE(frame()->windowTitle(), QStringLiteral("Marquill - a.htm"));
        m_app->documentManager()->frameOf(docA)->closeWithoutAsking();
        QTRY_COMPARE(frame()->windowTitle(), QStringLiteral("Marquill"));
    }

    void closingAModifiedDocumentAsks()
    {
        CMarquillDoc* doc = m_app->documentManager()->fileNew();
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
        QCOMPARE(m_app->documentManager()->documents().size(), 1);
        answer = QMessageBox::No;
        m_app->documentManager()->frameOf(doc)->close();
        QTRY_VERIFY(m_app->documentManager()->documents().isEmpty());
    }

    void documentWindowsRememberTheirShowState()
    {
        CMarquillDoc* first = m_app->documentManager()->fileNew();
        QVERIFY(m_app->documentManager()->frameOf(first)->isMaximized());
        m_app->documentManager()->frameOf(first)->showNormal();
        QCOMPARE(CChildFrame::showCmd(), 1);
        CMarquillDoc* second = m_app->documentManager()->fileNew();
        QVERIFY(!m_app->documentManager()->frameOf(second)->isMaximized());
        m_app->documentManager()->closeAllDocumentsWithoutAsking();
        m_app->exitInstance();
        QCOMPARE(getProfileInt("Settings", "ShowCmd", 0), 1);
        CChildFrame::setShowCmd(3);
    }

    void normalDocumentWindowsOpenAtAUsableSize()
    {
        CChildFrame::setShowCmd(1);
        CMarquillDoc* doc = m_app->documentManager()->fileNew();
        CChildFrame* child = m_app->documentManager()->frameOf(doc);
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
        CMarquillDoc* first = m_app->documentManager()->fileNew();
        CMarquillDoc* second = m_app->documentManager()->fileNew();
        CMarquillDoc* third = m_app->documentManager()->fileNew();
        QVERIFY(m_app->documentManager()->frameOf(third)->isMaximized());
        QCOMPARE(CChildFrame::showCmd(), 3);
        frame()->mdiArea()->setActiveSubWindow(m_app->documentManager()->frameOf(first));
        QTRY_VERIFY(m_app->documentManager()->frameOf(first)->isMaximized());
        QCOMPARE(CChildFrame::showCmd(), 3);
        frame()->mdiArea()->setActiveSubWindow(m_app->documentManager()->frameOf(third));
        QTRY_VERIFY(m_app->documentManager()->frameOf(third)->isMaximized());
        QPointer<CChildFrame> closed = m_app->documentManager()->frameOf(third);
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
        QTRY_COMPARE(frame()->activeChild(), m_app->documentManager()->frameOf(last));
        QTRY_VERIFY(m_app->documentManager()->frameOf(last)->isMaximized());
        QCOMPARE(CChildFrame::showCmd(), 3);
        QCOMPARE(frame()->windowTitle(), QStringLiteral("Marquill - 無題"));
    }

    void showCmdIsWrittenOnlyWhenChanged()
    {
        m_app->exitInstance();
        QCOMPARE(getProfileInt("Settings", "ShowCmd", -7), -7);
    }

    // The list is on disk as soon as it changes, not only at a normal exit:
    // a crash loses none of it.
    void recentFilesAreWrittenAtOnce()
    {
        const QString a = writeFile(QStringLiteral("r1.htm"), "1");
        const QString b = writeFile(QStringLiteral("r2.htm"), "2");
        QVERIFY(m_app->documentManager()->openDocumentFile(a));
        QVERIFY(m_app->documentManager()->openDocumentFile(b));
        QCOMPARE(getProfileString("Recent File List", "File1"), b);
        QCOMPARE(getProfileString("Recent File List", "File2"), a);
        QCOMPARE(m_app->documentManager()->recentFileList().folderOfMostRecentFile(), m_dir.path());
        // An entry that can no longer be opened leaves the stored list too.
        QVERIFY(QFile::remove(b));
        UiSeam::setMessageHook([](const QString&, QMessageBox::Icon, QMessageBox::StandardButtons) {
            return QMessageBox::Ok;
        });
        m_app->documentManager()->closeAllDocumentsWithoutAsking();
        QCoreApplication::processEvents();
        m_app->documentManager()->openRecentFile(0);
        UiSeam::setMessageHook({});
        QCOMPARE(getProfileString("Recent File List", "File1"), a);
        QCOMPARE(getProfileString("Recent File List", "File2"), QString());
    }

    // The ninth entry of the recent-file list, the range's last command,
    // opens the ninth file.
    void ninthRecentFileOpens()
    {
        for (int i = 9; i >= 1; --i)
            m_app->documentManager()->addToRecentFileList(
                writeFile(QStringLiteral("recent%1.htm").arg(i), "r"));
        QVERIFY(frame()->routeCommand(Cmd::RecentFile9));
        QCOMPARE(m_app->documentManager()->documents().size(), 1);
        QCOMPARE(QFileInfo(m_app->documentManager()->documents().first()->pathName()).fileName(),
                 QStringLiteral("recent9.htm"));
    }

    // History deletion: after OK the File menu lists the remaining files.
    void deletedHistoryLeavesTheFileMenu()
    {
        m_app->documentManager()->fileNew();
        for (const char* name : {"h1.htm", "h2.htm", "h3.htm"})
            m_app->documentManager()->addToRecentFileList(m_dir.filePath(QString::fromUtf8(name)));
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
        CMarquillView* view = viewOf(m_app->documentManager()->fileNew());
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
        CMarquillView* view = viewOf(m_app->documentManager()->fileNew());
        view->loadBytes("ab\r\ncd");
        view->setSel(5, 5);
        QTRY_COMPARE(pane->text(), QStringLiteral("         2 :     2"));
        // A move right after the pane was renewed still shows, a moment later
        // (fault: the last of quick moves never shown).
        view->setSel(1, 1);
        QTRY_COMPARE(pane->text(), QStringLiteral("         1 :     2"));
        m_app->documentManager()->closeAllDocumentsWithoutAsking();
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
        m_app->documentManager()->fileNew();
        m_app->documentManager()->fileNew();
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
        QCOMPARE(m_app->documentManager()->documents().size(), 2);
        QCOMPARE(m_app->documentManager()->documents().at(1)->pathName(), b);
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
        CMarquillDoc* untitled = m_app->documentManager()->fileNew();
        QVERIFY(frame()->routeCommand(Cmd::BrowserPreview));
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(m_messages[0].startsWith(QStringLiteral("この文書は保存されていません。")));
        QVERIFY(m_opened.isEmpty());
        // Untitled: the folder of the most recent file.
        const QString a = writeFile(QStringLiteral("sub/page.htm"), "x");
        m_app->documentManager()->addToRecentFileList(a);
        QVERIFY(frame()->routeCommand(Cmd::OpenFolder));
        QCOMPARE(m_opened.value(0).toLocalFile(), m_dir.filePath(QStringLiteral("sub")));
        Q_UNUSED(untitled);
        CMarquillDoc* doc = m_app->documentManager()->openDocumentFile(a);
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
