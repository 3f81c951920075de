#include "editor/layout_runs.h"
#include "editor/rules/code_page.h"
#include "editor/rules/lower_tag_case.h"
#include "editor/rules/tag_scan.h"
#include "editor/rules/typed_char_style.h"
#include "test_support.h"

#include <QRandomGenerator>

namespace {

// Styles as a string: '.' default, 't' tag, 'q' quote.
QByteArray styleMap(const QByteArray& styles)
{
    QByteArray out(styles.size(), '.');
    for (qint64 i = 0; i < styles.size(); ++i)
        out[i] = styles[i] == TagScan::Tag ? 't' : styles[i] == TagScan::Quote ? 'q' : '.';
    return out;
}

// Scans text in pieces of the given size, writing styles through a small
// buffer, as the whole-document run does.
QByteArray scanInPieces(const QByteArray& text, qint64 pieceSize, qint64 bufferSize)
{
    QByteArray styles(text.size(), 'x');
    TagScan::StyleRunWriter writer(
        0,
        [&](qint64 start, const char* s, qint64 length) {
            QVERIFY(start + length <= styles.size());
            std::memcpy(styles.data() + start, s, size_t(length));
        },
        bufferSize);
    TagScan::Scanner scanner;
    for (qint64 from = 0; from < text.size(); from += pieceSize) {
        const qint64 to = qMin(from + pieceSize, text.size());
        scanner.scan(text.constData(), from, to,
                     [&](qint64 s, qint64 e, char style) { writer.run(s, e, style); });
        writer.fillTo(scanner.settledUpTo(to));
    }
    writer.fillTo(text.size());
    writer.flush();
    return styles;
}

// The text with '|' before every byte whose style number differs from the
// one before it (before the first byte too, unless it continues previous).
QByteArray pieceMap(const QByteArray& text, const QByteArray& styles, int previous)
{
    QByteArray out;
    for (qint64 i = 0; i < text.size(); ++i) {
        const int before = i > 0 ? static_cast<unsigned char>(styles[i - 1]) : previous;
        if (static_cast<unsigned char>(styles[i]) != before)
            out += '|';
        out += text[i];
    }
    return out;
}

QByteArray scanWhole(const QByteArray& text)
{
    QByteArray styles(text.size(), 'x');
    TagScan::styleRange(text.constData(), text.size(), [&](qint64 start, const char* s, qint64 n) {
        std::memcpy(styles.data() + start, s, size_t(n));
    });
    return styles;
}

} // namespace

// The pure tag rules: the scan that colours tags, the style of a typed
// character, the lower-case rule and the code-page helper they rely on.
class TestTagRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void scan_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("plain text") << QByteArray("abc") << QByteArray("...");
        QTest::newRow("one tag") << QByteArray("a<B>c") << QByteArray(".ttt.");
        QTest::newRow("quoted value")
            << QByteArray("<A HREF=\"x.htm\">l</A>") << QByteArray("ttttttttqqqqqqqt.tttt");
        QTest::newRow("two quoted values")
            << QByteArray("<I A=\"1\" B=\"2\">") << QByteArray("tttttqqqtttqqqt");
        QTest::newRow("later < restarts the tag")
            << QByteArray("x<a <B>y") << QByteArray("....ttt.");
        QTest::newRow("> outside a tag stays plain") << QByteArray("a > b") << QByteArray(".....");
        QTest::newRow("unpaired quote stays tag") << QByteArray("<A \">") << QByteArray("ttttt");
        QTest::newRow("third quote unpaired")
            << QByteArray("<A \"b\" \">") << QByteArray("tttqqqttt");
        QTest::newRow("unfinished tag stays default")
            << QByteArray("<B>x<I") << QByteArray("ttt...");
        QTest::newRow("quotes outside tags ignored")
            << QByteArray("\"<B>\"") << QByteArray(".ttt.");
        QTest::newRow("quote pair holding >") << QByteArray("<A \">\">") << QByteArray("ttttt..");
        QTest::newRow("tag over lines") << QByteArray("<A\r\nB>") << QByteArray("tttttt");
        QTest::newRow("comment is a tag") << QByteArray("<!-- x -->") << QByteArray("tttttttttt");
        QTest::newRow("multi-byte inside")
            << QByteArray("<A B=\"日\">") << QByteArray("tttttqqqqqt");
        QTest::newRow("empty quotes") << QByteArray("<A \"\">") << QByteArray("tttqqt");
    }

    void scan()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, expected);
        QCOMPARE(styleMap(scanWhole(text)), expected);
        // Any split into pieces and any buffer size give the same styles.
        for (qint64 piece = 1; piece <= text.size(); ++piece)
            QCOMPARE(styleMap(scanInPieces(text, piece, 3)), expected);
    }

    void scanInPiecesMatchesWholeOnRandomText()
    {
        QRandomGenerator rng(42);
        const char alphabet[] = "<>\"ab \n";
        for (int round = 0; round < 200; ++round) {
            QByteArray text;
            const int length = int(rng.bounded(200));
            for (int i = 0; i < length; ++i)
                text.append(alphabet[rng.bounded(int(sizeof alphabet - 1))]);
            const QByteArray whole = scanWhole(text);
            const qint64 piece = 1 + rng.bounded(40);
            QCOMPARE(scanInPieces(text, piece, 1 + rng.bounded(16)), whole);
        }
    }

    void typedChar_data()
    {
        QTest::addColumn<QByteArray>("context");
        QTest::addColumn<char>("typed");
        QTest::addColumn<int>("style");
        QTest::newRow("plain") << QByteArray("abc") << 'x' << int(TagScan::Default);
        QTest::newRow("< opens") << QByteArray("abc") << '<' << int(TagScan::Tag);
        QTest::newRow("inside a tag") << QByteArray("a<B") << 'x' << int(TagScan::Tag);
        QTest::newRow("> closing a tag") << QByteArray("a<B") << '>' << int(TagScan::Tag);
        QTest::newRow("after a tag") << QByteArray("<B>") << 'x' << int(TagScan::Default);
        QTest::newRow("quote in text") << QByteArray("abc") << '"' << int(TagScan::Quote);
        QTest::newRow("inside a value") << QByteArray("<A B=\"x") << 'y' << int(TagScan::Quote);
        QTest::newRow("closing quote") << QByteArray("<A B=\"x") << '"' << int(TagScan::Quote);
        QTest::newRow("after the value") << QByteArray("<A B=\"x\"") << ' ' << int(TagScan::Tag);
        QTest::newRow("odd quotes in text") << QByteArray("say \"hi") << 'x' << int(TagScan::Quote);
        QTest::newRow("even quotes in text")
            << QByteArray("\"a\" b") << 'x' << int(TagScan::Default);
        QTest::newRow("quote wins over tag") << QByteArray("\"<B>") << 'x' << int(TagScan::Quote);
        QTest::newRow("> outside a tag") << QByteArray("a>") << 'x' << int(TagScan::Default);
        QTest::newRow("empty context") << QByteArray() << 'x' << int(TagScan::Default);
    }

    void typedChar()
    {
        QFETCH(QByteArray, context);
        QFETCH(char, typed);
        QFETCH(int, style);
        QCOMPARE(int(typedCharStyle(context, typed)), style);
    }

    void lowerTagCase_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("tag pair") << QByteArray("<B>") << QByteArray("<b>");
        QTest::newRow("attribute value bare")
            << QByteArray("<DIV ALIGN=left>") << QByteArray("<div align=left>");
        QTest::newRow("quoted value keeps case") << QByteArray("<A HREF=\"Index.HTM\">Text</A>")
                                                 << QByteArray("<a href=\"Index.HTM\">Text</a>");
        QTest::newRow("text between tags") << QByteArray("<P>ABC</P>") << QByteArray("<p>ABC</p>");
        QTest::newRow("quote in text shifts later tags")
            << QByteArray("say \"<B>X</B> <I>") << QByteArray("say \"<B>X</B> <I>");
        QTest::newRow("two quotes in text") << QByteArray("\"A\" <B>") << QByteArray("\"A\" <b>");
        QTest::newRow("quote closes inside a tag")
            << QByteArray("\"x <B\" C>") << QByteArray("\"x <B\" C>");
        QTest::newRow("japanese in a tag")
            << QByteArray("<IMG ALT=日本語ABC>") << QByteArray("<img alt=日本語abc>");
        QTest::newRow("control characters")
            << QByteArray("<BR>\r\n<P\tX>") << QByteArray("<br>\r\n<p\tx>");
        QTest::newRow("no tags") << QByteArray("ABC") << QByteArray("ABC");
        QTest::newRow("unfinished tag") << QByteArray("A<BC") << QByteArray("A<bc");
        QTest::newRow("broken multi-byte") << QByteArray("<A\xE3Z>") << QByteArray("<a\xE3z>");
        QTest::newRow("comment") << QByteArray("<!-- X -->") << QByteArray("<!-- x -->");
    }

    void lowerTagCase()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, expected);
        QCOMPARE(LowerTagCase(text), expected);
    }

    void codePage_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QList<int>>("lengths"); // of each character in order
        QTest::newRow("ascii") << QByteArray("ab") << QList<int>{1, 1};
        QTest::newRow("kanji") << QByteArray("a日b") << QList<int>{1, 3, 1};
        QTest::newRow("two-byte and four-byte")
            << QByteArray("\xC3\xA9\xF0\x9F\x98\x80") << QList<int>{2, 4};
        QTest::newRow("lead without trail") << QByteArray("\xE3x") << QList<int>{1, 1};
        QTest::newRow("cut at the end") << QByteArray("x\xE6\x97") << QList<int>{1, 1, 1};
        QTest::newRow("stray trail") << QByteArray("\x80y") << QList<int>{1, 1};
    }

    void codePage()
    {
        QFETCH(QByteArray, text);
        QFETCH(QList<int>, lengths);
        qint64 pos = 0;
        for (int length : lengths) {
            QVERIFY(CodePage::isCharStart(text, pos));
            QCOMPARE(CodePage::charLengthAt(text, pos), length);
            for (int k = 1; k < length; ++k) {
                QVERIFY(!CodePage::isCharStart(text, pos + k));
                QCOMPARE(CodePage::charStartAt(text, pos + k), pos);
            }
            pos += length;
        }
        QCOMPARE(pos, text.size());
        QCOMPARE(CodePage::charLengthAt(text, pos), 0);
    }

    // Layout pieces: words, blank runs, punctuation runs and runs of wide
    // characters, long runs cut at most every kMaxPiece bytes, never inside a
    // character nor before one that may join the character before it.
    void layoutPieces_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("previous"); // style number before the text
        QTest::addColumn<QByteArray>("pieces");
        QTest::newRow("tag with a quoted value")
            << QByteArray("<a href=\"x.htm\">Hi there</a>") << -1
            << QByteArray("|<|a| |href|=|\"|x|.|htm|\"|>|Hi| |there|</|a|>");
        QTest::newRow("blank runs")
            << QByteArray("a  \tb\r\nc") << -1 << QByteArray("|a|  \t|b|\r\n|c");
        QTest::newRow("long word cut")
            << QByteArray(30, 'w') << -1 << "|" + QByteArray(24, 'w') + "|" + QByteArray(6, 'w');
        QTest::newRow("wide characters cut between characters")
            << QByteArray("x日本語日本語日本語") << -1 << QByteArray("|x|日本語日本語日本|語");
        QTest::newRow("other characters join their word")
            << QByteArray("caf\xC3\xA9 \xD0\x9C\xD0\xB8\xD1\x80") << -1
            << QByteArray("|caf\xC3\xA9| |\xD0\x9C\xD0\xB8\xD1\x80");
        QTest::newRow("combining marks stay with their base")
            << QByteArray("e\xCC\x81x \xE3\x81\x8B\xE3\x82\x99") << -1
            << QByteArray("|e\xCC\x81x| |\xE3\x81\x8B\xE3\x82\x99");
        QTest::newRow("a word continued from before")
            << QByteArray("bc d") << 0 << QByteArray("bc| |d");
        QTest::newRow("after a tag's word")
            << QByteArray("bc d") << int(TagScan::Tag) << QByteArray("|bc| |d");
    }
    void layoutPieces()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, previous);
        QFETCH(QByteArray, pieces);
        const QByteArray formats = scanWhole(text);
        QByteArray styles = formats;
        LayoutRuns::mark(text.constData(), styles.data(), styles.size(), previous);
        QCOMPARE(pieceMap(text, styles, previous), pieces);
        for (qint64 i = 0; i < styles.size(); ++i) {
            const int style = static_cast<unsigned char>(styles[i]);
            QVERIFY(style < LayoutRuns::kStyles);
            QCOMPARE(LayoutRuns::formatOf(style), int(formats[i]));
        }
    }

    void upperAscii()
    {
        QCOMPARE(CodePage::toUpperAscii("div align=日本"), QByteArray("DIV ALIGN=日本"));
        QCOMPARE(CodePage::toUpperAscii("\xC3\xA9x"), QByteArray("\xC3\xA9X"));
    }
};

MARQUILL_TEST_MAIN(TestTagRules)
#include "tst_tag_rules.moc"
