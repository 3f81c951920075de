#include "test_support.h"

#include "widgets/preview_pane.h"
#include "widgets/web_preview_loader.h"

#include <QAction>
#include <QClipboard>
#include <QDialog>
#include <QImage>

// The preview pane on the real browser engine (the plugin built beside the
// program): what it draws is read back from the screen.
class TestPreviewPane : public QObject
{
    Q_OBJECT

    QTemporaryDir m_site;
    CPreviewPane* m_pane = nullptr;
    QList<QUrl> m_followed;

    QUrl pageUrl() const
    {
        return QUrl::fromLocalFile(m_site.filePath(QStringLiteral("page.htm")));
    }

    QColor pixel(int x, int y) const
    {
        return m_pane->pageView()->grab().toImage().pixelColor(x, y);
    }

    // Waits until the page drawn has `marker` in its top left corner: the
    // page of that showPage call has replaced the one before.
    bool drawn(const QColor& marker) const
    {
        return QTest::qWaitFor([&] { return pixel(5, 5) == marker; }, 20000);
    }

    // A page with a fixed marker square, then the given body.
    static QByteArray page(const char* marker, const QByteArray& body)
    {
        return QByteArray("<!DOCTYPE html><html><head><meta charset=\"Shift_JIS\"><title>試験"
                          "</title></head><body style=\"margin:0;background:white\">"
                          "<div style=\"position:fixed;left:0;top:0;width:20px;height:20px;"
                          "background:") +
               marker + ";z-index:9\"></div>" + body + "</body></html>";
    }

private Q_SLOTS:
    void initTestCase()
    {
        QString why;
        const QString folder = QFileInfo(QStringLiteral(MARQUILL_BINARY)).absolutePath();
        if (!WebPreviewLoader::factory(why, {folder}))
            QSKIP(qPrintable(why));
        QImage box(40, 40, QImage::Format_RGB32);
        box.fill(QColor(255, 165, 0));
        QDir(m_site.path()).mkpath(QStringLiteral("img"));
        QVERIFY(box.save(m_site.filePath(QStringLiteral("img/box.png"))));
    }

    void init()
    {
        m_pane = new CPreviewPane;
        m_pane->resize(400, 300);
        m_followed.clear();
        m_pane->setLinkHandler([this](const QUrl& url) { m_followed.append(url); });
        m_pane->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_pane));
    }

    void cleanup()
    {
        delete m_pane;
        m_pane = nullptr;
    }

    // The page is drawn from memory but must find its images in its folder.
    void relativeImageFromTheDocumentsFolder()
    {
        m_pane->showPage(page("lime", "<img src=\"img/box.png\" style=\"position:absolute;"
                                      "left:100px;top:100px\">"),
                         pageUrl());
        QVERIFY(drawn(Qt::green));
        QTRY_COMPARE(pixel(120, 120), QColor(255, 165, 0));
        QVERIFY(!QFileInfo::exists(m_site.filePath(QStringLiteral("page.htm"))));
    }

    // Fault: the engine loaded under a dialog open at start-up gives the
    // window a new native window that covers the dialog.
    void theEngineWaitsForAnOpenDialog()
    {
        QDialog dialog;
        dialog.setModal(true);
        dialog.show();
        m_pane->showPage(page("lime", ""), pageUrl());
        QTest::qWait(300);
        QVERIFY(!m_pane->pageView());
        dialog.hide();
        QTRY_VERIFY(m_pane->pageView());
        QVERIFY(drawn(Qt::green));
    }

    // Fault: a page whose file name is not UTF-8 (held with a byte U+DC93)
    // never drew, its address coming back from the engine as another.
    void pageWithANameThatIsNotUtf8()
    {
        const QString name =
            m_site.filePath(QStringLiteral("a")) + QChar(0xDC93) + QStringLiteral(".htm");
        m_pane->showPage(page("lime", "<img src=\"img/box.png\" style=\"position:absolute;"
                                      "left:100px;top:100px\">"),
                         QUrl::fromLocalFile(name));
        QVERIFY(drawn(Qt::green));
        QTRY_COMPARE(pixel(120, 120), QColor(255, 165, 0));
    }

    // Redrawing after each pause in typing, or coming back from another
    // document, must not throw the reader back to the top of the page.
    void redrawKeepsTheScrollPosition()
    {
        const QByteArray bands = "<div style=\"height:3000px;background:red\"></div>"
                                 "<div style=\"height:3000px;background:blue\"></div>";
        m_pane->showPage(page("lime", bands), pageUrl());
        QVERIFY(drawn(Qt::green));
        QTest::keyClick(m_pane->pageView()->focusProxy(), Qt::Key_End);
        QTRY_COMPARE_WITH_TIMEOUT(pixel(200, 150), QColor(Qt::blue), 10000);
        m_pane->showPage(page("yellow", bands), pageUrl());
        QVERIFY(drawn(Qt::yellow));
        QTRY_COMPARE(pixel(200, 150), QColor(Qt::blue));
        const QUrl other = QUrl::fromLocalFile(m_site.filePath(QStringLiteral("other.htm")));
        m_pane->showPage(page("lime", bands), other);
        QVERIFY(drawn(Qt::green));
        QTRY_COMPARE(pixel(200, 150), QColor(Qt::red));
        m_pane->showPage(page("yellow", bands), pageUrl());
        QVERIFY(drawn(Qt::yellow));
        QTRY_COMPARE(pixel(200, 150), QColor(Qt::blue));
    }

    // A click on a link goes to the browser as the file it names; the pane
    // stays on the document. So does a link that asks for a new window.
    void linksGoToTheBrowser()
    {
        m_pane->showPage(page("lime", "<a href=\"other.htm#x\" style=\"position:absolute;"
                                      "left:50px;top:50px;width:100px;height:50px;"
                                      "background:blue\">a</a><a href=\"new.htm\" "
                                      "target=\"_blank\" style=\"position:absolute;left:50px;"
                                      "top:150px;width:100px;height:50px;background:blue\">b</a>"),
                         pageUrl());
        QVERIFY(drawn(Qt::green));
        QTRY_COMPARE(pixel(100, 75), QColor(Qt::blue));
        QWidget* view = m_pane->pageView()->focusProxy();
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(100, 75));
        QTRY_COMPARE(m_followed.size(), 1);
        QUrl other = QUrl::fromLocalFile(m_site.filePath(QStringLiteral("other.htm")));
        other.setFragment(QStringLiteral("x"));
        QCOMPARE(m_followed.at(0), other);
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(100, 175));
        QTRY_COMPARE(m_followed.size(), 2);
        QCOMPARE(m_followed.at(1), QUrl::fromLocalFile(m_site.filePath(QStringLiteral("new.htm"))));
        // Had the pane followed the link, the missing file's error page would show.
        QVERIFY(!QTest::qWaitFor([&] { return pixel(5, 5) != QColor(Qt::green); }, 1500));
    }

    // Fault: the window's Ctrl+A and Ctrl+C (select all, copy in the
    // document) took the keys from the page, which copied nothing.
    void keysSelectAndCopyThePage()
    {
        QAction documentCopy;
        documentCopy.setShortcuts({QKeySequence::SelectAll, QKeySequence::Copy});
        m_pane->addAction(&documentCopy);
        m_pane->showPage(page("lime", "<p>試験の文</p>"), pageUrl());
        QVERIFY(drawn(Qt::green));
        QApplication::clipboard()->clear();
        QWidget* view = m_pane->pageView()->focusProxy();
        view->setFocus();
        QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        QTRY_VERIFY(QApplication::clipboard()->text().contains(u"試験の文"));
    }

    // A page being written may not run its scripts until it is trusted.
    void scriptsOnlyWhenTrusted()
    {
        const QByteArray script = "<script>document.body.style.background='red'</script>";
        m_pane->showPage(page("lime", script), pageUrl());
        QVERIFY(drawn(Qt::green));
        QCOMPARE(pixel(200, 150), QColor(Qt::white));
        m_pane->setTrusted(true);
        m_pane->showPage(page("yellow", script), pageUrl());
        QVERIFY(drawn(Qt::yellow));
        QTRY_COMPARE(pixel(200, 150), QColor(Qt::red));
    }

    void missingEngineIsExplained()
    {
        QString why;
        QVERIFY(!WebPreviewLoader::load({m_site.filePath(QStringLiteral("nowhere"))}, why));
        QVERIFY2(why.contains(QStringLiteral("marquill_web_preview.so")), qPrintable(why));
    }
};

MARQUILL_TEST_MAIN(TestPreviewPane)
#include "tst_preview_pane.moc"
