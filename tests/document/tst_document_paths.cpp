#include "test_support.h"

#include "document/relative_reference.h"
#include "document/save_name.h"

// The two small path rules of the document: the relative reference and the
// name proposed by Save As.
class TestDocumentPaths : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void relativeReference_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("expected");

        QTest::newRow("file below") << "/web/"
                                    << "/web/img/a.gif"
                                    << "img/a.gif";
        QTest::newRow("file above") << "/web/sub/"
                                    << "/web/a.gif"
                                    << "../a.gif";
        QTest::newRow("name sharing a prefix with the folder") << "/web/sub/"
                                                               << "/web/sa.gif"
                                                               << "../sa.gif";
        QTest::newRow("folder name is a prefix of the file name") << "/ab/"
                                                                  << "/abc.gif"
                                                                  << "../abc.gif";
        QTest::newRow("same folder") << "/web/"
                                     << "/web/index.htm"
                                     << "index.htm";
        QTest::newRow("two levels up and down") << "/home/u/site/a/b/"
                                                << "/home/u/site/img/x.png"
                                                << "../../img/x.png";
        QTest::newRow("only the root in common") << "/srv/www/"
                                                 << "/home/u/a.gif"
                                                 << "../../home/u/a.gif";
        QTest::newRow("nothing in common") << "site/"
                                           << "/img/a.gif"
                                           << "/img/a.gif";
        QTest::newRow("case differs") << "/Web/"
                                      << "/web/a.gif"
                                      << "../web/a.gif";
        QTest::newRow("japanese folders sharing a character") << "/文書/"
                                                              << "/文章/画像.gif"
                                                              << "../文章/画像.gif";
        QTest::newRow("folder outside the basic plane") << "/\U0001F600a/"
                                                        << "/\U0001F600b/c.gif"
                                                        << "../\U0001F600b/c.gif";
        QTest::newRow("half a character in common, no folder") << "\U0001F600"
                                                               << "\U0001F601x"
                                                               << "\U0001F601x";
        QTest::newRow("backslash is part of a name") << "/web/"
                                                     << "/web\\a.gif"
                                                     << "../web\\a.gif";
        QTest::newRow("backslash folder") << "/a\\b/"
                                          << "/a\\b/c.gif"
                                          << "c.gif";
        QTest::newRow("empty base") << ""
                                    << "/web/a.gif"
                                    << "";
        QTest::newRow("empty target") << "/web/"
                                      << ""
                                      << "";
    }

    void relativeReference()
    {
        QFETCH(QString, base);
        QFETCH(QString, target);
        QFETCH(QString, expected);
        QCOMPARE(::relativeReference(base, target), expected);
    }

    void saveAsProposedName_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("expected");

        QTest::newRow("untitled") << ""
                                  << "無題"
                                  << "無題.htm";
        QTest::newRow("untitled and modified") << ""
                                               << "無題 *"
                                               << "無題.htm";
        QTest::newRow("saved document keeps its path") << "/home/u/a b#c.html"
                                                       << "a b#c.html *"
                                                       << "/home/u/a b#c.html";
        QTest::newRow("hash") << ""
                              << "page#1"
                              << "page.htm";
        QTest::newRow("percent") << ""
                                 << "50%off"
                                 << "50.htm";
        QTest::newRow("semicolon") << ""
                                   << "a;b"
                                   << "a.htm";
        QTest::newRow("slash") << ""
                               << "a/b"
                               << "a.htm";
        QTest::newRow("backslash") << ""
                                   << "a\\b"
                                   << "a.htm";
        QTest::newRow("first of several") << ""
                                          << "ab%c d"
                                          << "ab.htm";
        QTest::newRow("full-width space is not a blank") << ""
                                                         << "無題　一"
                                                         << "無題　一.htm";
        QTest::newRow("title starting with a blank") << ""
                                                     << " *"
                                                     << ".htm";
    }

    void saveAsProposedName()
    {
        QFETCH(QString, path);
        QFETCH(QString, title);
        QFETCH(QString, expected);
        QCOMPARE(::saveAsProposedName(path, title), expected);
    }
};

MARQUILL_TEST_MAIN(TestDocumentPaths)
#include "tst_document_paths.moc"
