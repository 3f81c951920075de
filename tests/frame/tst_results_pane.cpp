#include "document/folder_search.h"
#include "frame/results_pane.h"
#include "main_frame_fixture.h"
#include "resources/command_ids.h"
#include "widgets/results_list.h"

#include <QClipboard>
#include <QComboBox>
#include <QSignalSpy>
#include <QStringEncoder>

class TestResultsPane : public QObject, public MainFrameFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { startApp(); }
    void cleanup() { stopApp(); }
    void commandSearchesAndEnterOpensMatch();
};

// The command runs the dialog and the search; at its end the list has the
// focus, and Enter opens the file with the match selected. Catches: the
// column taken as a byte offset (Japanese before the match, a Shift_JIS
// file), the focus left elsewhere, and a file already open opened again.
void TestResultsPane::commandSearchesAndEnterOpensMatch()
{
    writeFile("site/a.htm", "<p>一</p>\r\n<p>日本語の見出し <b>見出し</b></p>\r\n");
    writeFile("site/sub/b.htm",
              QStringEncoder("Shift_JIS").encode(QStringLiteral("<p>ページの見出し</p>")));
    CMarquillDoc* open = m_app->documentManager()->openDocumentFile(m_dir.filePath("site/a.htm"));
    UiSeam::setDialogHook([](QDialog& dialog) {
        dialog.findChild<QComboBox*>("findText")->setEditText(QStringLiteral("見出し"));
        dialog.accept();
        return int(dialog.result());
    });
    QVERIFY(frame()->routeCommand(Cmd::FindInFiles));
    UiSeam::setDialogHook({});
    CResultsPane* pane = CResultsPane::of(frame());
    QSignalSpy finished(pane, &CResultsPane::searchFinished);
    QVERIFY(finished.wait());

    CResultsList* list = pane->list();
    QCOMPARE(list->entryCount(), 3);
    QTRY_VERIFY(list->hasFocus());
    // Ctrl+A and Ctrl+C are the list's own, not the document's accelerators.
    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(),
             m_dir.filePath("site/a.htm") + ":2:8: <p>日本語の見出し <b>見出し</b></p>\n" +
                 m_dir.filePath("site/a.htm") + ":2:15: <p>日本語の見出し <b>見出し</b></p>\n" +
                 m_dir.filePath("site/sub/b.htm") + ":1:8: <p>ページの見出し</p>\n");

    // The second match of a.htm, in the window that is open already.
    list->setCurrentIndex(list->model()->index(1, 0, list->model()->index(0, 0)));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(m_app->documentManager()->documents().size(), 1);
    QCOMPARE(viewOf(open)->selectedBytes(), QByteArray("見出し"));
    qint64 start, end;
    viewOf(open)->getSel(start, end);
    QCOMPARE(start, QByteArray("<p>一</p>\r\n<p>日本語の見出し <b>").size());

    list->setCurrentIndex(list->model()->index(0, 0, list->model()->index(1, 0)));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(m_app->documentManager()->documents().size(), 2);
    QCOMPARE(viewOf(m_app->documentManager()->documents().last())->selectedBytes(),
             QByteArray("見出し"));
}

MARQUILL_TEST_MAIN(TestResultsPane)
#include "tst_results_pane.moc"
