// The texts the image, list and table dialogs build from their choices.

#include "test_support.h"

#include "dialogs/html/image_tag.h"
#include "dialogs/html/list_text.h"
#include "dialogs/html/table_text.h"

#include <QElapsedTimer>

namespace {

ImageTagChoices image(const QString& source)
{
    ImageTagChoices c;
    c.source = source;
    return c;
}

ListChoices listChoices(int kind, const QString& items, int marker = 0, int numbering = 0)
{
    ListChoices c;
    c.kind = kind;
    c.items = items;
    c.unorderedMarker = marker;
    c.orderedNumbering = numbering;
    return c;
}

const QString kDefaultRow = QStringLiteral("<TR><TD></TD><TD></TD><TD></TD></TR>\r\n");

} // namespace

class TestElementTexts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void imageTag_data();
    void imageTag();
    void list_data();
    void list();
    void table_data();
    void table();
    void tableCountsOutOfRangeFinishQuickly();
    void dialogInteger_data();
    void dialogInteger();
};

void TestElementTexts::imageTag_data()
{
    QTest::addColumn<ImageTagChoices>("choices");
    QTest::addColumn<QString>("expected");

    QTest::newRow("source only") << image("a.gif") << "<IMG SRC=\"a.gif\">";
    QTest::newRow("empty source") << image("") << "<IMG SRC=\"\">";
    ImageTagChoices c = image("images/a.gif");
    c.alternativeText = "logo \"x\" <b>";
    c.width = "320";
    c.height = "200";
    c.border = "0";
    QTest::newRow("all in pixels, texts unescaped")
        << c << "<IMG SRC=\"images/a.gif\" ALT=\"logo \"x\" <b>\" WIDTH=320 HEIGHT=200 BORDER=0>";
    c = image("a.gif");
    c.width = "50";
    c.widthUnit = ImageTagChoices::Percent;
    QTest::newRow("width in percent") << c << "<IMG SRC=\"a.gif\" WIDTH=\"50%\">";
    c.height = "25";
    c.heightUnit = ImageTagChoices::Percent;
    c.widthUnit = ImageTagChoices::Pixels;
    QTest::newRow("height in percent, width in pixels")
        << c << "<IMG SRC=\"a.gif\" WIDTH=50 HEIGHT=\"25%\">";
    c = image("a.gif");
    c.heightUnit = ImageTagChoices::Percent;
    QTest::newRow("unit without a value") << c << "<IMG SRC=\"a.gif\">";

    const char* const aligns[] = {
        "", " ALIGN=top", " ALIGN=middle", " ALIGN=bottom", " ALIGN=left", " ALIGN=right"};
    for (int a = 0; a < 6; ++a) {
        c = image("a.gif");
        c.alignment = a;
        c.horizontalSpace = "5";
        c.verticalSpace = "7";
        const QString spacing = a >= 4 ? " HSPACE=5 VSPACE=7" : "";
        QTest::addRow("alignment %d with spacing", a)
            << c << "<IMG SRC=\"a.gif\"" + QLatin1String(aligns[a]) + spacing + ">";
    }
    c = image("a.gif");
    c.alignment = ImageTagChoices::FlowRight;
    c.horizontalSpace = "5";
    QTest::newRow("flow right, horizontal space only")
        << c << "<IMG SRC=\"a.gif\" ALIGN=left HSPACE=5>";
    c.alignment = ImageTagChoices::FlowLeft;
    c.horizontalSpace.clear();
    c.verticalSpace = "0";
    QTest::newRow("flow left, vertical space 0") << c << "<IMG SRC=\"a.gif\" ALIGN=right VSPACE=0>";
}

void TestElementTexts::imageTag()
{
    QFETCH(ImageTagChoices, choices);
    QFETCH(QString, expected);
    QCOMPARE(buildImageTag(choices), expected);
}

void TestElementTexts::list_data()
{
    QTest::addColumn<ListChoices>("choices");
    QTest::addColumn<QString>("expected");

    QTest::newRow("unordered, empty line skipped")
        << listChoices(0, "a\n\nb") << "<UL TYPE=circle>\r\n<LI>a\r\n<LI>b\r\n</UL>\r\n";
    QTest::newRow("empty items") << listChoices(0, "") << "<UL TYPE=circle>\r\n</UL>\r\n";
    QTest::newRow("only line breaks")
        << listChoices(1, "\r\n\n\r") << "<OL TYPE=\"1\">\r\n</OL>\r\n";
    QTest::newRow("square") << listChoices(0, "x", 1) << "<UL TYPE=square>\r\n<LI>x\r\n</UL>\r\n";
    QTest::newRow("disk") << listChoices(0, "x", 2) << "<UL TYPE=disk>\r\n<LI>x\r\n</UL>\r\n";
    const char* const numberings[] = {"1", "I", "i", "A", "a"};
    for (int n = 0; n < 5; ++n)
        QTest::addRow("ordered %s", numberings[n])
            << listChoices(1, "x", 2, n)
            << "<OL TYPE=\"" + QLatin1String(numberings[n]) + "\">\r\n<LI>x\r\n</OL>\r\n";
    QTest::newRow("definition pairs")
        << listChoices(2, "t1\nd1\nt2\nd2")
        << "<DL>\r\n<DT>t1\r\n<DD>d1\r\n<DT>t2\r\n<DD>d2\r\n</DL>\r\n";
    QTest::newRow("blank line keeps the alternation")
        << listChoices(2, "t1\n\nd1\nt2\nd2")
        << "<DL>\r\n<DT>t1\r\n<DD>d1\r\n<DT>t2\r\n<DD>d2\r\n</DL>\r\n";
    QTest::newRow("odd count ends with a term")
        << listChoices(2, "t1\nd1\nt2") << "<DL>\r\n<DT>t1\r\n<DD>d1\r\n<DT>t2\r\n</DL>\r\n";
    QTest::newRow("CR LF, lone CR and trailing break")
        << listChoices(0, "a\r\nb\rc\r\n")
        << "<UL TYPE=circle>\r\n<LI>a\r\n<LI>b\r\n<LI>c\r\n</UL>\r\n";
    QTest::newRow("lines copied untrimmed and unescaped")
        << listChoices(0, "  <b>日本語</b> \t")
        << "<UL TYPE=circle>\r\n<LI>  <b>日本語</b> \t\r\n</UL>\r\n";
    QTest::newRow("kind out of range counts as unordered")
        << listChoices(7, "x") << "<UL TYPE=circle>\r\n<LI>x\r\n</UL>\r\n";
    QTest::newRow("marker out of range counts as circle")
        << listChoices(0, "x", -1) << "<UL TYPE=circle>\r\n<LI>x\r\n</UL>\r\n";
    QTest::newRow("numbering out of range counts as 1")
        << listChoices(1, "x", 0, 5) << "<OL TYPE=\"1\">\r\n<LI>x\r\n</OL>\r\n";
}

void TestElementTexts::list()
{
    QFETCH(ListChoices, choices);
    QFETCH(QString, expected);
    QCOMPARE(buildList(choices), expected);
}

void TestElementTexts::table_data()
{
    QTest::addColumn<TableChoices>("choices");
    QTest::addColumn<QString>("expected");

    TableChoices c;
    QTest::newRow("defaults") << c
                              << "<TABLE ALIGN=CENTER>\r\n" + kDefaultRow + kDefaultRow +
                                     kDefaultRow + "</TABLE>\r\n";
    c.headerRow = c.headerColumn = true;
    QTest::newRow("both headers")
        << c
        << "<TABLE ALIGN=CENTER>\r\n<TR><TH></TH><TH></TH><TH></TH></TR>\r\n"
           "<TR><TH></TH><TD></TD><TD></TD></TR>\r\n<TR><TH></TH><TD></TD><TD></TD></TR>\r\n"
           "</TABLE>\r\n";
    c = TableChoices();
    c.rows = 2;
    c.columns = 2;
    c.headerRow = true;
    QTest::newRow("header row only")
        << c
        << "<TABLE ALIGN=CENTER>\r\n<TR><TH></TH><TH></TH></TR>\r\n<TR><TD></TD><TD></TD></TR>\r\n"
           "</TABLE>\r\n";
    c.headerRow = false;
    c.headerColumn = true;
    QTest::newRow("header column only")
        << c
        << "<TABLE ALIGN=CENTER>\r\n<TR><TH></TH><TD></TD></TR>\r\n<TR><TH></TH><TD></TD></TR>\r\n"
           "</TABLE>\r\n";
    c = TableChoices();
    c.rows = 1;
    c.columns = 2;
    c.border = "1";
    c.cellSpacing = "0";
    c.placement = TableChoices::FlowRight;
    c.caption = "表 <1>";
    c.cells = {{"a & b", "<i>x</i>"}};
    QTest::newRow("border, spacing 0, caption, placement 1, cell texts")
        << c
        << "<TABLE BORDER=1 CELLSPACING=0 ALIGN=LEFT>\r\n<CAPTION>表 <1></CAPTION>\r\n"
           "<TR><TD>a & b</TD><TD><i>x</i></TD></TR>\r\n</TABLE>\r\n";
    c = TableChoices();
    c.rows = 1;
    c.columns = 1;
    c.placement = TableChoices::FlowLeft;
    c.border = "thick";
    QTest::newRow("placement 2, border copied unchecked")
        << c << "<TABLE BORDER=thick ALIGN=RIGHT>\r\n<TR><TD></TD></TR>\r\n</TABLE>\r\n";
    c = TableChoices();
    c.columns = 2;
    c.cells = {{"a", "b", "c"}, {"d", "e", "f"}, {"g", "h", "i"}};
    QTest::newRow("cells beyond the columns are left out")
        << c
        << "<TABLE ALIGN=CENTER>\r\n<TR><TD>a</TD><TD>b</TD></TR>\r\n"
           "<TR><TD>d</TD><TD>e</TD></TR>\r\n<TR><TD>g</TD><TD>h</TD></TR>\r\n</TABLE>\r\n";
    c = TableChoices();
    c.rows = 0;
    c.columns = -5;
    c.headerRow = true;
    QTest::newRow("counts below 1 give one cell")
        << c << "<TABLE ALIGN=CENTER>\r\n<TR><TH></TH></TR>\r\n</TABLE>\r\n";
}

void TestElementTexts::table()
{
    QFETCH(TableChoices, choices);
    QFETCH(QString, expected);
    QCOMPARE(buildTable(choices), expected);
}

void TestElementTexts::tableCountsOutOfRangeFinishQuickly()
{
    TableChoices c;
    c.rows = std::numeric_limits<int>::max();
    c.columns = std::numeric_limits<int>::min();
    QElapsedTimer timer;
    timer.start();
    const QString text = buildTable(c);
    QVERIFY(timer.elapsed() < 5000);
    QCOMPARE(text.count(QStringLiteral("<TR>")), kTableMaxCount);
    QCOMPARE(text.count(QStringLiteral("<TD>")), kTableMaxCount);
}

void TestElementTexts::dialogInteger_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    QTest::newRow("digits") << "12" << true << 12;
    QTest::newRow("blanks and sign") << "  +7 " << true << 7;
    QTest::newRow("negative") << "-3" << true << -3;
    QTest::newRow("zero") << "0" << true << 0;
    QTest::newRow("int max") << "2147483647" << true << 2147483647;
    QTest::newRow("int min") << "-2147483648" << true << int(-2147483647 - 1);
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("blank") << "   " << false << 0;
    QTest::newRow("sign only") << "-" << false << 0;
    QTest::newRow("letters after digits") << "3a" << false << 0;
    QTest::newRow("decimal") << "2.5" << false << 0;
    QTest::newRow("too big") << "2147483648" << false << 0;
    QTest::newRow("far too big") << "99999999999999999999" << false << 0;
    QTest::newRow("full-width digits") << "３" << false << 0;
}

void TestElementTexts::dialogInteger()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    const std::optional<int> parsed = parseDialogInteger(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, value);
}

MARQUILL_TEST_MAIN(TestElementTexts)
#include "tst_element_texts.moc"
