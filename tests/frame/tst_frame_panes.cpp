#include "core/file_names.h"
#include "frame/check_pane.h"
#include "frame/frame_panes.h"
#include "frame/main_frame_fixture.h"
#include "resources/command_ids.h"
#include "widgets/preview_pane.h"
#include "widgets/results_list.h"
#include "widgets/web_preview_loader.h"

#include <QClipboard>
#include <QDockWidget>
#include <QMdiArea>
#include <fcntl.h>
#include <unistd.h>

// The check pane and the preview in the real main window: F7 and F5, what
// the check leaves alone, where its findings lead, what the preview follows.
class TestFramePanes : public QObject, protected MainFrameFixture
{
    Q_OBJECT

    CMarquillView* newDocument(const QByteArray& text)
    {
        CMarquillView* view = viewOf(m_app->documentManager()->fileNew());
        view->loadBytes(text);
        return view;
    }

    CCheckPane* checkPane() const { return frame()->panes()->checkPane(); }

    void pressF7()
    {
        QSignalSpy checked(checkPane(), &CCheckPane::checked);
        QTest::keyClick(frame(), Qt::Key_F7);
        QVERIFY(checked.wait(10000));
    }

private Q_SLOTS:
    void init() { startApp(); }
    void cleanup() { stopApp(); }

    // The check reads a copy of the text: typing, the modified mark and the
    // undo history must come through unchanged.
    void checkLeavesTheDocumentAsItWas()
    {
        CMarquillView* view = newDocument("<p><b>x</p>\r\n");
        QTest::keyClick(view, Qt::Key_End);
        QTest::keyClicks(view, "y");
        const QByteArray text = view->textBytes();
        QVERIFY(view->document()->isModified());
        pressF7();
        QVERIFY(!frame()->panes()->checkDock()->isHidden());
        QVERIFY(checkPane()->list()->entryCount() > 0);
        QCOMPARE(view->textBytes(), text);
        QVERIFY(view->document()->isModified());
        QVERIFY(view->SendScintilla(QsciScintillaBase::SCI_CANUNDO));
    }

    // Columns count characters: with Japanese text before the place, a
    // column taken as bytes would put the caret in the wrong place.
    void enterPutsTheCaretAtTheFinding()
    {
        const QByteArray text = "<!DOCTYPE html>\n<title>t</title>\n日本語の<b>x</p>\n";
        CMarquillView* view = newDocument(text);
        pressF7();
        CResultsList* list = checkPane()->list();
        list->setFocus();
        list->selectFirstEntry();
        // The missing </b>, reported at the <b>.
        for (int i = 0; i < list->entryCount(); ++i) {
            if (list->selectedEntriesText().contains(QStringLiteral("</b> が")))
                break;
            QTest::keyClick(list, Qt::Key_Down);
        }
        QTest::keyClick(list, Qt::Key_Return);
        qint64 start = 0;
        qint64 end = 0;
        view->getSel(start, end);
        QCOMPARE(start, text.indexOf("<b>"));
        QCOMPARE(end, start);
    }

    // Ctrl+A, Ctrl+C in the list copy the findings, not the document's
    // selection, as PATH:LINE:COLUMN: KIND: MESSAGE; an untitled document
    // goes by its title, without the mark a modified one carries.
    void copyAsPathLineColumnKindMessage()
    {
        CMarquillView* view = newDocument("<!DOCTYPE html>\n<title>t</title>\n<p><b>x</p>\n");
        view->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
        QTest::keyClicks(view, "x");
        view->setSel(0, -1);
        pressF7();
        CResultsList* list = checkPane()->list();
        list->setFocus();
        QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
        const QStringList lines = QApplication::clipboard()->text().split(QLatin1Char('\n'));
        const QString title = CMyRichEditDoc::untitledName();
        QVERIFY2(
            lines.contains(title + QStringLiteral(":3:4: 警告: </p> の前に </b> がありません")),
            qPrintable(lines.join(QLatin1Char('\n'))));
        QCOMPARE(lines.size() - 1, list->entryCount());
    }

    // Fault: the line above the list showed a name that is not UTF-8 as
    // stray bytes, where the list shows it readably.
    void summaryNamesTheFileReadably()
    {
        const QString path = m_dir.filePath(QStringLiteral("\u30da")) + QChar(0xDC83);
        QVERIFY(::close(::open(FileNames::encode(path).constData(), O_CREAT, 0644)) == 0);
        m_app->documentManager()->openDocumentFile(path);
        pressF7();
        QVERIFY(checkPane()->summary().startsWith(FileNames::display(path) + u':'));
    }

    // F5 shows and hides the preview, with a check mark; the preview follows
    // the active document and, soon after, its typing.
    void previewFollowsTheActiveDocumentAndTyping()
    {
        QString why;
        if (!WebPreviewLoader::factory(why, {QFileInfo(QStringLiteral(MARQUILL_BINARY)).path()}))
            QSKIP(qPrintable(why));
        const auto page = [](const char* color) {
            return QByteArray("<body style=\"margin:0;background:") + color + "\"></body>";
        };
        newDocument(page("red"));
        CMarquillView* second = newDocument(page("blue"));
        QTest::keyClick(frame(), Qt::Key_F5);
        QCOMPARE(frame()->commandState(Cmd::PreviewPane).check(), 1);
        CPreviewPane* pane = frame()->panes()->previewPane();
        const auto colour = [pane] {
            QWidget* view = pane->pageView();
            return view ? view->grab().toImage().pixelColor(10, 10) : QColor();
        };
        QTRY_COMPARE_WITH_TIMEOUT(colour(), QColor(Qt::blue), 20000);
        frame()->mdiArea()->activatePreviousSubWindow();
        QTRY_COMPARE_WITH_TIMEOUT(colour(), QColor(Qt::red), 20000);
        frame()->mdiArea()->setActiveSubWindow(
            m_app->documentManager()->frameOf(qobject_cast<CMarquillDoc*>(second->document())));
        QTRY_COMPARE_WITH_TIMEOUT(colour(), QColor(Qt::blue), 20000);
        second->setSel(second->textBytes().indexOf("blue"),
                       second->textBytes().indexOf("blue") + 4);
        QTest::keyClicks(second, "lime");
        QTRY_COMPARE_WITH_TIMEOUT(colour(), QColor(Qt::green), 20000);
        // Read again from its file (changed by another program), the page
        // shows the file's new text.
        const QString path = writeFile(QStringLiteral("p.htm"), page("red"));
        CMarquillDoc* fromFile = m_app->documentManager()->openDocumentFile(path);
        QTRY_COMPARE_WITH_TIMEOUT(colour(), QColor(Qt::red), 20000);
        writeFile(QStringLiteral("p.htm"), page("lime"));
        QVERIFY(fromFile->reload(nullptr));
        QTRY_COMPARE_WITH_TIMEOUT(colour(), QColor(Qt::green), 20000);
        QTest::keyClick(frame(), Qt::Key_F5);
        QVERIFY(frame()->panes()->previewDock()->isHidden());
    }
};

MARQUILL_TEST_MAIN(TestFramePanes)
#include "tst_frame_panes.moc"
