#include "test_support.h"

#include "widgets/preview_updater.h"

#include <QHash>
#include <QSignalSpy>

// When the preview draws and what: the quiet time after typing, the document
// read at the moment of drawing, the active document, the hidden pane.
class TestPreviewUpdater : public QObject
{
    Q_OBJECT

    QHash<QObject*, CPreviewUpdater::Page> m_pages;
    int m_reads = 0;

    CPreviewUpdater::Source source()
    {
        return [this](QObject* document) {
            ++m_reads;
            return m_pages.value(document);
        };
    }

    void type(CPreviewUpdater& updater, QObject* document, const QByteArray& text)
    {
        m_pages[document].html = text;
        updater.documentChanged(document);
    }

private Q_SLOTS:
    void init()
    {
        m_pages.clear();
        m_reads = 0;
    }

    // Drawing per key would make typing in a large page crawl; drawing the
    // text of the first key would show a stale page.
    void typingDrawsOnceWhenItPauses()
    {
        QObject doc;
        m_pages[&doc] = {"<p>", QUrl::fromLocalFile(QStringLiteral("/site/a.htm"))};
        CPreviewUpdater updater(source(), nullptr, 300);
        updater.setShown(true);
        QSignalSpy drawn(&updater, &CPreviewUpdater::drawPage);
        updater.setActiveDocument(&doc);
        QCOMPARE(drawn.count(), 1); // becoming active draws at once
        for (const char* text : {"<p>a", "<p>ab", "<p>abc", "<p>abcd"}) {
            type(updater, &doc, text);
            QTest::qWait(100);
        }
        QCOMPARE(drawn.count(), 1);
        QTRY_COMPARE(drawn.count(), 2);
        QCOMPARE(drawn.last().at(0).toByteArray(), QByteArray("<p>abcd"));
        QTest::qWait(400);
        QCOMPARE(drawn.count(), 2);
    }

    // Save As moves the page: relative links must resolve against the new
    // folder, so the address is read when drawing, not when first shown.
    void addressReadWhenDrawing()
    {
        QObject doc;
        m_pages[&doc] = {"<p>x</p>", QUrl()};
        CPreviewUpdater updater(source(), nullptr, 50);
        updater.setShown(true);
        updater.setActiveDocument(&doc);
        QSignalSpy drawn(&updater, &CPreviewUpdater::drawPage);
        m_pages[&doc].url = QUrl::fromLocalFile(QStringLiteral("/home/u/site/page.htm"));
        updater.documentChanged(&doc);
        QTRY_COMPARE(drawn.count(), 1);
        QCOMPARE(drawn.last().at(1).toUrl(),
                 QUrl::fromLocalFile(QStringLiteral("/home/u/site/page.htm")));
    }

    // The pane follows the active document; edits elsewhere do not redraw it.
    void followsTheActiveDocument()
    {
        QObject first;
        QObject second;
        m_pages[&first] = {"<p>first", QUrl::fromLocalFile(QStringLiteral("/a/first.htm"))};
        m_pages[&second] = {"<p>second", QUrl::fromLocalFile(QStringLiteral("/b/second.htm"))};
        CPreviewUpdater updater(source(), nullptr, 50);
        updater.setShown(true);
        QSignalSpy drawn(&updater, &CPreviewUpdater::drawPage);
        QSignalSpy nothing(&updater, &CPreviewUpdater::drawNoDocument);
        updater.setActiveDocument(&first);
        updater.setActiveDocument(&second);
        QCOMPARE(drawn.count(), 2);
        QCOMPARE(drawn.last().at(0).toByteArray(), QByteArray("<p>second"));
        type(updater, &first, "<p>first, edited");
        QTest::qWait(150);
        QCOMPARE(drawn.count(), 2);
        {
            QObject third;
            m_pages[&third] = {"<p>third", QUrl()};
            updater.setActiveDocument(&third);
            QCOMPARE(drawn.count(), 3);
        } // closed while active
        QCOMPARE(nothing.count(), 1);
        updater.setActiveDocument(nullptr);
    }

    // A hidden pane costs nothing; shown again, it draws what changed.
    void hiddenPaneReadsNothing()
    {
        QObject doc;
        m_pages[&doc] = {"<p>", QUrl()};
        CPreviewUpdater updater(source(), nullptr, 50);
        updater.setActiveDocument(&doc);
        QSignalSpy drawn(&updater, &CPreviewUpdater::drawPage);
        type(updater, &doc, "<p>hidden");
        QTest::qWait(150);
        QCOMPARE(m_reads, 0);
        updater.setShown(true);
        QCOMPARE(drawn.count(), 1);
        QCOMPARE(drawn.last().at(0).toByteArray(), QByteArray("<p>hidden"));
        updater.setShown(false);
        updater.setShown(true); // nothing changed meanwhile
        QCOMPARE(drawn.count(), 1);
    }
};

MARQUILL_TEST_MAIN(TestPreviewUpdater)
#include "tst_preview_updater.moc"
