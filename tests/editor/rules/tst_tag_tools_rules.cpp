#include "editor/rules/auto_select.h"
#include "editor/rules/close_tag.h"
#include "editor/rules/tag_capture.h"
#include "test_support.h"

// The rules of the tag tools: auto-select, capture and the close-tag search.
class TestTagToolsRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void autoSelect_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("caret");
        QTest::addColumn<bool>("found");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        const QByteArray html("ab<B>word</B>cd");
        QTest::newRow("on the B of a tag") << html << 3 << true << 2 << 5;
        QTest::newRow("on the > of a tag") << html << 4 << true << 2 << 5;
        QTest::newRow("on the < of a tag") << html << 2 << true << 2 << 2;
        QTest::newRow("word between tags") << html << 6 << true << 5 << 9;
        QTest::newRow("start of word between tags") << html << 5 << true << 5 << 9;
        QTest::newRow("text after the last tag") << html << 14 << true << 13 << 15;
        QTest::newRow("text before the first tag") << html << 1 << true << 0 << 2;
        QTest::newRow("caret at the end") << html << 15 << false << 0 << 0;
        QTest::newRow("empty text") << QByteArray() << 0 << false << 0 << 0;
        QTest::newRow("no tags at all") << QByteArray("plain") << 2 << true << 0 << 5;
        QTest::newRow("end tag") << html << 10 << true << 9 << 13;
        QTest::newRow("stray > in text") << QByteArray("a>b<c>") << 2 << true << 2 << 3;
        QTest::newRow("unclosed tag to the end") << QByteArray("x<ab") << 3 << true << 1 << 4;
    }

    void autoSelect()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, caret);
        QFETCH(bool, found);
        QFETCH(int, start);
        QFETCH(int, end);
        const AutoSelectRange r = autoSelectRange(text, caret);
        QCOMPARE(r.found, found);
        if (found) {
            QCOMPARE(r.start, start);
            QCOMPARE(r.end, end);
        }
    }

    void capture_data()
    {
        QTest::addColumn<QByteArray>("selection");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<QByteArray>("end");
        QTest::newRow("pair") << QByteArray("<B>bold</B>") << int(TagCapture::Pair)
                              << QByteArray("<B>") << QByteArray("</B>");
        QTest::newRow("pair with attributes, kept as written")
            << QByteArray("x<a href=\"y\">link</a>z") << int(TagCapture::Pair)
            << QByteArray("<a href=\"y\">") << QByteArray("</a>");
        QTest::newRow("single") << QByteArray("text<BR>more") << int(TagCapture::Single)
                                << QByteArray("<BR>") << QByteArray();
        QTest::newRow("identical tags") << QByteArray("<HR>x<HR>") << int(TagCapture::Single)
                                        << QByteArray("<HR>") << QByteArray();
        QTest::newRow("no tag") << QByteArray("plain text") << int(TagCapture::None) << QByteArray()
                                << QByteArray();
        QTest::newRow("empty") << QByteArray() << int(TagCapture::None) << QByteArray()
                               << QByteArray();
        QTest::newRow("> before any <")
            << QByteArray("a>b<c") << int(TagCapture::None) << QByteArray() << QByteArray();
        QTest::newRow("later < restarts") << QByteArray("<a <B>x</B>") << int(TagCapture::Pair)
                                          << QByteArray("<B>") << QByteArray("</B>");
        QTest::newRow("outermost of nested")
            << QByteArray("<P><B>x</B></P>") << int(TagCapture::Pair) << QByteArray("<P>")
            << QByteArray("</P>");
    }

    void capture()
    {
        QFETCH(QByteArray, selection);
        QFETCH(int, kind);
        QFETCH(QByteArray, start);
        QFETCH(QByteArray, end);
        const TagCapture c = captureTags(selection);
        QCOMPARE(int(c.kind), kind);
        QCOMPARE(c.start, start);
        QCOMPARE(c.end, end);
    }

    void closeTag_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("open bold") << QByteArray("<B>text") << QByteArray("B");
        QTest::newRow("closed bold, open italic") << QByteArray("<I>a<B>b</B>c") << QByteArray("I");
        QTest::newRow("nested open") << QByteArray("<I><B>x") << QByteArray("B");
        QTest::newRow("lower case is upper-cased") << QByteArray("<i><b>x</b>") << QByteArray("I");
        QTest::newRow("end tag case differs") << QByteArray("<I><b>x</B>") << QByteArray("I");
        QTest::newRow("paragraph skipped") << QByteArray("<DIV><P>text") << QByteArray("DIV");
        QTest::newRow("list item skipped")
            << QByteArray("<UL>\r\n<LI>one\r\n<LI>two") << QByteArray("UL");
        QTest::newRow("all ignored")
            << QByteArray("<BR><HR><IMG SRC=a><INPUT><OPTION><SELECT><DT><DD>") << QByteArray();
        QTest::newRow("attributes cut at the space")
            << QByteArray("<FONT SIZE=3 COLOR=red>x") << QByteArray("FONT");
        QTest::newRow("comment with space ignored")
            << QByteArray("<B><!-- c -->x") << QByteArray("B");
        QTest::newRow("comment without space")
            << QByteArray("<B><!--c-->x") << QByteArray("!--C--");
        QTest::newRow("tab stays in the name")
            << QByteArray("<A\tHREF=x>y") << QByteArray("A\tHREF=X");
        QTest::newRow("nothing open") << QByteArray("<B>x</B>") << QByteArray();
        QTest::newRow("empty text") << QByteArray() << QByteArray();
        QTest::newRow("caret inside a tag") << QByteArray("<B>x<I") << QByteArray("B");
        QTest::newRow("end tag with attributes") << QByteArray("<A>x<B>y</B z>") << QByteArray("A");
        QTest::newRow("multi-byte name kept") << QByteArray("<日本>x") << QByteArray("日本");
        QTest::newRow("empty brackets skipped") << QByteArray("<B>x</I><>") << QByteArray("B");
        QTest::newRow("empty start name pops an empty end name")
            << QByteArray("<T><></></T>") << QByteArray();
        QTest::newRow("space-led names pair as empty names")
            << QByteArray("<i><b>< y></ x></b>") << QByteArray("I");
        QTest::newRow("empty start name that would close as </> skipped")
            << QByteArray("<U>< z></U>") << QByteArray();
    }

    void closeTag()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, name);
        QCOMPARE(lastUnclosedTag(text, text.size()), name);
    }

    void closeTagLooksOnlyBeforeTheCaret()
    {
        const QByteArray text("<B>x</B><I>y");
        QCOMPARE(lastUnclosedTag(text, 4), QByteArray("B"));
        QCOMPARE(lastUnclosedTag(text, 0), QByteArray());
    }

    void closeTagStackHolds255EndTags()
    {
        // 255 pending end tags are all matched; with one more the oldest
        // start tag (found last) is taken as open.
        auto build = [](int count) {
            QByteArray text("<OUTER>");
            for (int i = 0; i < count; ++i)
                text += "<B>";
            text += "x";
            for (int i = 0; i < count; ++i)
                text += "</B>";
            return text;
        };
        QCOMPARE(lastUnclosedTag(build(255), build(255).size()), QByteArray("OUTER"));
        QCOMPARE(lastUnclosedTag(build(256), build(256).size()), QByteArray("B"));
    }
};

MARQUILL_TEST_MAIN(TestTagToolsRules)
#include "tst_tag_tools_rules.moc"
