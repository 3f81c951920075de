#include "dialogs/html/element_html.h"
#include "test_support.h"

Q_DECLARE_METATYPE(WrapTexts)
Q_DECLARE_METATYPE(RulePreviewBar)

// The HTML each element dialog builds from its choices.
class TestElementHtml : public QObject
{
    Q_OBJECT

    static QString doctype()
    {
        return QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">\r\n\r\n"
                              "<HTML>\r\n\r\n");
    }

private Q_SLOTS:
    void docInfo_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("background");
        QTest::addColumn<QStringList>("colors");
        QTest::addColumn<bool>("hex");
        QTest::addColumn<QString>("start");

        const QStringList defaults{"silver", "black", "blue", "purple", "red"};
        QTest::newRow("title and default colours")
            << "Top"
            << "" << defaults << false
            << doctype() +
                   "<HEAD>\r\n<TITLE>Top</TITLE>\r\n</HEAD>\r\n\r\n"
                   "<BODY BGCOLOR=silver TEXT=black LINK=blue VLINK=purple ALINK=red>\r\n\r\n";
        QTest::newRow("nothing chosen")
            << ""
            << "" << QStringList{"", "", "", "", ""} << false << doctype() + "<BODY>\r\n\r\n";
        QTest::newRow("hexadecimal background only")
            << ""
            << "" << QStringList{"white", "", "", "", ""} << true
            << doctype() + "<BODY BGCOLOR=\"#ffffff\">\r\n\r\n";
        QTest::newRow("all colours hexadecimal")
            << ""
            << "" << defaults << true
            << doctype() + "<BODY BGCOLOR=\"#c0c0c0\" TEXT=\"#000000\" LINK=\"#0000ff\" "
                           "VLINK=\"#800080\" ALINK=\"#ff0000\">\r\n\r\n";
        QTest::newRow("title kept as typed")
            << "a < b & \"c\""
            << "" << QStringList{"", "", "", "", ""} << false
            << doctype() +
                   "<HEAD>\r\n<TITLE>a < b & \"c\"</TITLE>\r\n</HEAD>\r\n\r\n<BODY>\r\n\r\n";
        QTest::newRow("background before the colours")
            << ""
            << "img/back.gif" << QStringList{"", "", "", "", "aqua"} << false
            << doctype() + "<BODY BACKGROUND=\"img/back.gif\" ALINK=aqua>\r\n\r\n";
    }
    void docInfo()
    {
        QFETCH(QString, title);
        QFETCH(QString, background);
        QFETCH(QStringList, colors);
        QFETCH(bool, hex);
        QFETCH(QString, start);
        const DocInfoChoice choice{title,     background, colors[0], colors[1],
                                   colors[2], colors[3],  colors[4]};
        const WrapTexts texts = docInfoTexts(choice, hex);
        QCOMPARE(texts.start, start);
        QCOMPARE(texts.end, QStringLiteral("\r\n\r\n</BODY>\r\n\r\n</HTML>\r\n"));
    }

    void anchors_data()
    {
        QTest::addColumn<WrapTexts>("texts");
        QTest::addColumn<QString>("start");
        QTest::newRow("link with a predefined target")
            << linkTexts("index.html", "_blank") << "<A HREF=\"index.html\" TARGET=\"_blank\">";
        QTest::newRow("link without target")
            << linkTexts("index.html", "") << "<A HREF=\"index.html\">";
        QTest::newRow("link with a typed target")
            << linkTexts("a.htm", "main") << "<A HREF=\"a.htm\" TARGET=\"main\">";
        QTest::newRow("empty link") << linkTexts("", "") << "<A HREF=\"\">";
        QTest::newRow("quotes copied") << linkTexts("a\"b", "") << "<A HREF=\"a\"b\">";
        QTest::newRow("same-document link") << sameDocLinkTexts("top") << "<A HREF=\"#top\">";
        QTest::newRow("bookmark") << bookmarkTexts("top") << "<A NAME=\"top\">";
        QTest::newRow("empty bookmark") << bookmarkTexts("") << "<A NAME=\"\">";
        QTest::newRow("mail") << mailLinkTexts("x@example.jp")
                              << "<A HREF=\"mailto:x@example.jp\">";
    }
    void anchors()
    {
        QFETCH(WrapTexts, texts);
        QFETCH(QString, start);
        QCOMPARE(texts.start, start);
        QCOMPARE(texts.end, QStringLiteral("</A>"));
    }

    void font_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("color");
        QTest::addColumn<bool>("hex");
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("points");
        QTest::newRow("nothing") << -1 << "" << false << "<FONT>" << 13;
        QTest::newRow("+1 red") << 9 << "red" << false << "<FONT SIZE=\"+1\" COLOR=red>" << 14;
        QTest::newRow("+1 red hex")
            << 9 << "red" << true << "<FONT SIZE=\"+1\" COLOR=\"#ff0000\">" << 14;
        QTest::newRow("7") << 0 << "" << false << "<FONT SIZE=7>" << 36;
        QTest::newRow("6") << 1 << "" << false << "<FONT SIZE=6>" << 25;
        QTest::newRow("5") << 2 << "" << false << "<FONT SIZE=5>" << 19;
        QTest::newRow("4") << 3 << "" << false << "<FONT SIZE=4>" << 14;
        QTest::newRow("3") << 4 << "" << false << "<FONT SIZE=3>" << 13;
        QTest::newRow("2") << 5 << "" << false << "<FONT SIZE=2>" << 9;
        QTest::newRow("1") << 6 << "" << false << "<FONT SIZE=1>" << 8;
        QTest::newRow("+3") << 7 << "" << false << "<FONT SIZE=\"+3\">" << 25;
        QTest::newRow("+2") << 8 << "" << false << "<FONT SIZE=\"+2\">" << 19;
        QTest::newRow("-1") << 10 << "" << false << "<FONT SIZE=\"-1\">" << 9;
        QTest::newRow("-2") << 11 << "" << false << "<FONT SIZE=\"-2\">" << 8;
        QTest::newRow("-3") << 12 << "" << false << "<FONT SIZE=\"-3\">" << 6;
        QTest::newRow("colour only")
            << -1 << "aliceblue" << false << "<FONT COLOR=aliceblue>" << 13;
        QTest::newRow("colour only hex")
            << -1 << "aliceblue" << true << "<FONT COLOR=\"#f0f8ff\">" << 13;
    }
    void font()
    {
        QFETCH(int, size);
        QFETCH(QString, color);
        QFETCH(bool, hex);
        QFETCH(QString, start);
        QFETCH(int, points);
        QCOMPARE(fontTexts(size, color, hex), (WrapTexts{start, QStringLiteral("</FONT>")}));
        QCOMPARE(fontPreviewPoints(size), points);
    }

    void heading_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("align");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::newRow("defaults") << 3 << 0 << "<H3>"
                                  << "</H3>";
        QTest::newRow("1 right") << 1 << 3 << "<H1 ALIGN=RIGHT>"
                                 << "</H1>";
        QTest::newRow("2 left") << 2 << 1 << "<H2 ALIGN=LEFT>"
                                << "</H2>";
        QTest::newRow("6 centre") << 6 << 2 << "<H6 ALIGN=CENTER>"
                                  << "</H6>";
        QTest::newRow("no alignment chosen") << 4 << -1 << "<H4>"
                                             << "</H4>";
        QTest::newRow("alignment out of range") << 5 << 7 << "<H5>"
                                                << "</H5>";
    }
    void heading()
    {
        QFETCH(int, level);
        QFETCH(int, align);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QCOMPARE(headingTexts(level, align), (WrapTexts{start, end}));
    }

    void headingStoredSize_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("index");
        QTest::newRow("default") << "2" << 2;
        QTest::newRow("first") << "0" << 0;
        QTest::newRow("last") << "5" << 5;
        QTest::newRow("above the range") << "9" << 2;
        QTest::newRow("below the range") << "-1" << 2;
        QTest::newRow("not a number") << "large" << 0;
        QTest::newRow("number with text") << "4th" << 4;
    }
    void headingStoredSize()
    {
        QFETCH(QString, stored);
        QFETCH(int, index);
        QCOMPARE(headingIndexFromStored(stored), index);
    }

    void headingPreviewSizes()
    {
        const int points[] = {25, 19, 14, 13, 9, 8};
        for (int level = 1; level <= 6; ++level)
            QCOMPARE(headingPreviewPoints(level), points[level - 1]);
    }

    void rule_data()
    {
        QTest::addColumn<QString>("height");
        QTest::addColumn<QString>("width");
        QTest::addColumn<bool>("percent");
        QTest::addColumn<int>("align");
        QTest::addColumn<bool>("shaded");
        QTest::addColumn<QString>("text");
        QTest::newRow("defaults") << "2"
                                  << "100" << true << 0 << true << "<HR SIZE=2 WIDTH=\"100%\">";
        QTest::newRow("pixels centred unshaded")
            << ""
            << "300" << false << 2 << false << "<HR WIDTH=300 ALIGN=CENTER NOSHADE>";
        QTest::newRow("too large to preview")
            << "51"
            << "50" << true << 1 << true << "<HR SIZE=51 WIDTH=\"50%\" ALIGN=LEFT>";
        QTest::newRow("nothing typed") << ""
                                       << "" << true << 3 << true << "<HR ALIGN=RIGHT>";
        QTest::newRow("texts copied unchecked")
            << "2x"
            << "abc" << false << -1 << false << "<HR SIZE=2x WIDTH=abc NOSHADE>";
    }
    void rule()
    {
        QFETCH(QString, height);
        QFETCH(QString, width);
        QFETCH(bool, percent);
        QFETCH(int, align);
        QFETCH(bool, shaded);
        QFETCH(QString, text);
        QCOMPARE(ruleText(RuleChoice{height, width, percent, align, shaded}), text);
    }

    // Preview rectangle [10, 350) x [20, 80): 340 wide, 60 high.
    void rulePreview_data()
    {
        QTest::addColumn<QString>("height");
        QTest::addColumn<QString>("width");
        QTest::addColumn<bool>("percent");
        QTest::addColumn<int>("align");
        QTest::addColumn<RulePreviewBar>("bar");
        QTest::newRow("percent centred")
            << "2"
            << "100" << true << 0 << RulePreviewBar{false, 15, 49, 330, 2};
        QTest::newRow("half percent left")
            << "4"
            << "50" << true << 1 << RulePreviewBar{false, 15, 48, 165, 4};
        QTest::newRow("pixels right")
            << "10"
            << "100" << false << 3 << RulePreviewBar{false, 245, 45, 100, 10};
        QTest::newRow("no alignment chosen")
            << "1"
            << "40" << false << -1 << RulePreviewBar{false, 160, 50, 40, 1};
        QTest::newRow("highest previewed")
            << "50"
            << "10" << false << 2 << RulePreviewBar{false, 175, 25, 10, 50};
        QTest::newRow("too large") << "51"
                                   << "10" << false << 2 << RulePreviewBar{true, 0, 0, 0, 0};
        QTest::newRow("not numbers") << "x"
                                     << "y" << true << 0 << RulePreviewBar{false, 180, 50, 0, 0};
    }
    void rulePreview()
    {
        QFETCH(QString, height);
        QFETCH(QString, width);
        QFETCH(bool, percent);
        QFETCH(int, align);
        QFETCH(RulePreviewBar, bar);
        QCOMPARE(rulePreviewBar(10, 20, 350, 80, RuleChoice{height, width, percent, align, true}),
                 bar);
    }
};

MARQUILL_TEST_MAIN(TestElementHtml)
#include "tst_element_html.moc"
