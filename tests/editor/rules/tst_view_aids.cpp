#include "editor/rules/line_number_width.h"
#include "editor/rules/matching_tag.h"
#include "test_support.h"

// The rules behind the view's aids: the partner of the tag at the caret and
// the digits the line-number margin makes room for.
class TestViewAids : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each document marks the caret with '|' and the expected partner's name
    // with '[' and ']' (none: no partner); '~' stands for `filler` bytes of
    // plain text, to put the partner just inside or just beyond the reach.
    void matchingTag_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<qint64>("filler");
        const qint64 reach = MatchingTag::kReach;
        auto row = [](const char* name, const char* document, qint64 filler = 0) {
            QTest::newRow(name) << QByteArray(document) << filler;
        };
        // Nesting: a level of the same name in between is skipped over.
        row("start finds the outer end", "<d|iv><div></div></[div]>");
        row("end finds the outer start", "<[div]><div></div></di|v>");
        // Where the caret counts as in the name.
        row("caret right after <", "<|p>x</[p]>");
        row("caret at the name's end", "<p|>x</[p]>");
        row("caret right after </", "<[p]>x</|p>");
        row("caret before the <", "|<p>x</p>");
        row("caret between < and /", "<p>x<|/p>");
        row("caret in an attribute", "<p cl|ass=\"a\">x</p>");
        row("names ignore ASCII case", "<D|IV>x</[div]>");
        row("name cut at a line end", "<[p]\nclass=\"a\">x</p|>");
        // Nothing to pair with.
        row("unclosed start", "<d|iv><p>x</p>");
        row("end without start", "x</d|iv>");
        row("self-closing", "<b|r/><br></br>");
        row("a later < takes the tag over", "<d|iv <a>x</div>");
        // Comments take no part.
        row("commented end skipped", "<d|iv><!-- </div> --></[div]>");
        row("commented start skipped", "<[div]><!-- <div> --></d|iv>");
        row("caret in a commented tag", "<!-- <d|iv></div> -->");
        row("comment left open", "<d|iv><!-- </div>");
        // Quotes do not hide `>` or `/`, as in the colouring.
        row("slash inside quotes", "<[p] title=\"1/2\">x</p|>");
        row("> inside quotes ends the tag", "<a| title=\"x>y\">t</[a]>");
        // Japanese text and names.
        row("Japanese around the tags", "<[p]>日本語の<b>太字</b>です</p|>");
        row("Japanese names compare as bytes", "<見|出し>本文</[見出し]>");
        row("a similar Japanese name is another", "<見|出し>本文</見出>");
        // The reach, from the caret to the far end of the partner.
        row("end just within reach", "<d|iv>~</[div]>", reach - 9);
        row("end just beyond reach", "<d|iv>~</div>", reach - 8);
        row("start just within reach", "<[div]>~</d|iv>", reach - 8);
        row("start just beyond reach", "<div>~</d|iv>", reach - 7);
    }

    void matchingTag()
    {
        QFETCH(QByteArray, document);
        QFETCH(qint64, filler);
        QByteArray text;
        qint64 caret = -1;
        MatchingTag::Range expected;
        for (const char c : document) {
            if (c == '|')
                caret = text.size();
            else if (c == '[')
                expected.start = text.size();
            else if (c == ']')
                expected.end = text.size();
            else if (c == '~')
                text += QByteArray(filler, 'x');
            else
                text += c;
        }
        const MatchingTag::Match match = MatchingTag::find(text, caret);
        QCOMPARE(match.found, expected.start >= 0);
        QCOMPARE(match.partner.start, expected.start);
        QCOMPARE(match.partner.end, expected.end);
    }

    void lineNumberDigits_data()
    {
        QTest::addColumn<qint64>("lines");
        QTest::addColumn<int>("digits");
        QTest::newRow("one line") << qint64(1) << 2;
        QTest::newRow("99 lines") << qint64(99) << 2;
        QTest::newRow("100 lines") << qint64(100) << 3;
        QTest::newRow("1,000 lines") << qint64(1000) << 4;
        QTest::newRow("largest line count") << qint64(2147483647) << 10;
    }

    void lineNumberDigits()
    {
        QFETCH(qint64, lines);
        QFETCH(int, digits);
        QCOMPARE(LineNumberWidth::digits(lines), digits);
    }
};

MARQUILL_TEST_MAIN(TestViewAids)
#include "tst_view_aids.moc"
