#include "test_support.h"

#include "dialogs/html/element_html.h"
#include "dialogs/html/form_html.h"
#include "dialogs/html/image_tag.h"
#include "dialogs/html/list_text.h"
#include "dialogs/html/table_text.h"
#include "document/document_check.h"

#include <algorithm>

using DocumentCheck::Finding;
using DocumentCheck::Kind;

Q_DECLARE_METATYPE(Kind)

namespace {

const QByteArray kHead = "<!DOCTYPE html>\n<html><head><title>t</title></head><body>\n";
const QByteArray kTail = "\n</body></html>\n";

QByteArray page(const QByteArray& body)
{
    return kHead + body + kTail;
}

const Finding* findCode(const QList<Finding>& findings, const QString& code)
{
    auto it = std::find_if(findings.begin(), findings.end(),
                           [&](const Finding& f) { return f.code == code; });
    return it == findings.end() ? nullptr : &*it;
}

} // namespace

// The check of a document: libtidy's findings placed where the editor shows
// them, of the right kind, in Japanese.
class TestDocumentCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Line 0 in a row: the code must not be found.
    void findings_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("accessibility");
        QTest::addColumn<bool>("warnings");
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("message");

        // Arguments swap places in the Japanese text.
        QTest::newRow("end tag missing, arguments reordered")
            << QByteArray("<p><b>x</p>") << 0 << true << "MISSING_ENDTAG_BEFORE" << 1 << 4
            << Kind::Warning << "</p> の前に </b> がありません";
        // libtidy counts a tab as up to 8 columns unless told otherwise.
        QTest::newRow("tab is one column")
            << page("\t<img src=\"a.png\">") << 0 << true << "MISSING_ATTRIBUTE" << 3 << 2
            << Kind::Warning << "<img> に alt 属性がありません";
        // Columns count characters, not bytes.
        QTest::newRow("japanese before the place")
            << page("日本語<i>y</b>") << 0 << true << "NON_MATCHING_ENDTAG" << 3 << 4
            << Kind::Warning << "ここにあってはならない終了タグ </b> があります";
        // libtidy never starts a new column count after a lone CR.
        QTest::newRow("lone CR line ends")
            << QByteArray("<!DOCTYPE html>\r<html><head><title>t</title></head><body>\r<p>a<b>x</p>"
                          "\r</body></html>")
            << 0 << true << "MISSING_ENDTAG_BEFORE" << 3 << 5 << Kind::Warning
            << "</p> の前に </b> がありません";
        QTest::newRow("CR LF line ends")
            << QByteArray("<!DOCTYPE html>\r\n<html><head><title>t</title></head><body>\r\n\r\n<p>"
                          "<b>x</p>\r\n</body></html>")
            << 0 << true << "MISSING_ENDTAG_BEFORE" << 4 << 4 << Kind::Warning
            << "</p> の前に </b> がありません";
        // Bytes that are not UTF-8: libtidy takes E0 81 82 as one character,
        // the editor shows three.
        QTest::newRow("bytes that are not UTF-8")
            << page("<p>\x82\xE0\x81\x82<b>x</p>") << 0 << true << "MISSING_ENDTAG_BEFORE" << 3 << 8
            << Kind::Warning << "</p> の前に </b> がありません";
        QTest::newRow("invalid byte reported with its code")
            << page("<p>\x82</p>") << 0 << true << "INVALID_UTF8" << 3 << 4 << Kind::Warning
            << "UTF-8 として不正なバイトがあります（文字コード U+0082）";
        // libtidy skips the byte-order mark, the editor shows it.
        QTest::newRow("byte-order mark on line 1")
            << QByteArray("\xEF\xBB\xBF<p><b>x</p>") << 0 << true << "MISSING_ENDTAG_BEFORE" << 1
            << 5 << Kind::Warning << "</p> の前に </b> がありません";
        // Control characters take no column in libtidy's count.
        QTest::newRow("control characters")
            << page("<p>\x01\x1f<b>x</p>") << 0 << true << "MISSING_ENDTAG_BEFORE" << 3 << 6
            << Kind::Warning << "</p> の前に </b> がありません";
        // The place past the end of the last line stays on it.
        QTest::newRow("document ends inside a tag")
            << (kHead + "<p>abc <a href=\"x") << 0 << true << "UNEXPECTED_END_OF_FILE_ATTR" << 3
            << 18 << Kind::Warning << "<a> の属性の途中で文書が終わっています";
        QTest::newRow("comment never closed is an error")
            << page("<!-- x") << 0 << true << "MALFORMED_COMMENT_EOS" << 3 << 1 << Kind::Error
            << "コメントが閉じられないまま文書が終わっています";
        QTest::newRow("unquoted value is information")
            << page("<p id=a>x</p>") << 0 << true << "MISSING_QUOTEMARK_OPEN" << 3 << 1
            << Kind::Info << "id 属性の値が引用符で囲まれていません";
        // libtidy's English word arguments are translated too.
        QTest::newRow("text inside a table")
            << page("<table><tr><td>a</td></tr>x</table>") << 0 << true << "TAG_NOT_ALLOWED_IN" << 3
            << 27 << Kind::Warning << "文字列 は <table> 要素の中に書けません";
        // A number argument written as hexadecimal digits.
        QTest::newRow("surrogate reference")
            << page("<p>&#xD800;</p>") << 0 << true << "BAD_SURROGATE_TAIL" << 3 << 4
            << Kind::Warning << "下位サロゲートのない上位サロゲート U+D800 があります";
        // The doctype decides: HTML 4.01 Strict has no CENTER, Transitional has.
        QTest::newRow("strict doctype refuses center")
            << QByteArray("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" "
                          "\"http://www.w3.org/TR/html4/strict.dtd\">\n<html><head><title>t"
                          "</title></head><body><center>x</center></body></html>")
            << 0 << true << "ELEMENT_VERS_MISMATCH_ERROR" << 2 << 42 << Kind::Error
            << "<center> 要素は HTML 4.01 Strict では使えません";
        QTest::newRow("transitional doctype allows center")
            << QByteArray("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
                          "\"http://www.w3.org/TR/html4/loose.dtd\">\n<html><head><title>t"
                          "</title></head><body><center>x</center></body></html>")
            << 0 << true << "ELEMENT_VERS_MISMATCH_ERROR" << 0 << 0 << Kind::Error << "";
        QTest::newRow("doctype given, about the whole document")
            << QByteArray("\n\n<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">\n<title>t"
                          "</title><p>x")
            << 0 << true << "STRING_DOCTYPE_GIVEN" << 1 << 1 << Kind::Info
            << "文書型宣言は \"-//W3C//DTD HTML 3.2//EN\" です";
        // A page saved in Shift_JIS declares it; the check must not call that wrong.
        QTest::newRow("declared encoding other than UTF-8")
            << QByteArray("<!DOCTYPE html>\n<html><head><meta charset=\"Shift_JIS\"><title>t"
                          "</title></head><body><p>日本語</p></body></html>")
            << 0 << true << "ATTRIBUTE_VALUE_REPLACED" << 0 << 0 << Kind::Info << "";
        QTest::newRow("accessibility level 1")
            << page("<img src=\"a.png\">") << 1 << true << "IMG_MISSING_ALT" << 3 << 18
            << Kind::Warning << "[1.1.1.1]: <img> に代替テキスト (alt) がありません";
        QTest::newRow("no accessibility checks by default")
            << page("<img src=\"a.png\">") << 0 << true << "IMG_MISSING_ALT" << 0 << 0
            << Kind::Warning << "";
        QTest::newRow("warnings off") << QByteArray("<p><b>x</p>") << 0 << false
                                      << "MISSING_ENDTAG_BEFORE" << 0 << 0 << Kind::Warning << "";
        QTest::newRow("warnings off keeps errors")
            << page("<p>x</p><!-- y") << 0 << false << "MALFORMED_COMMENT_EOS" << 3 << 9
            << Kind::Error << "コメントが閉じられないまま文書が終わっています";
        QTest::newRow("NUL bytes")
            << page(QByteArray("<p>a\0b<b>x</p>", 14)) << 0 << true << "MISSING_ENDTAG_BEFORE" << 3
            << 7 << Kind::Warning << "</p> の前に </b> がありません";
    }

    void findings()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, accessibility);
        QFETCH(bool, warnings);
        QFETCH(QString, code);
        QFETCH(int, line);
        QFETCH(int, column);
        QFETCH(Kind, kind);
        QFETCH(QString, message);

        const QList<Finding> findings =
            DocumentCheck::check(text, {accessibility, warnings}).findings;
        QVERIFY(std::is_sorted(findings.begin(), findings.end(), [](auto& a, auto& b) {
            return a.line != b.line ? a.line < b.line : a.column < b.column;
        }));
        const Finding* f = findCode(findings, code);
        if (line == 0) {
            QVERIFY2(!f, qPrintable(f ? f->english : QString()));
            return;
        }
        QVERIFY2(f, qPrintable(code));
        QCOMPARE(f->line, line);
        QCOMPARE(f->column, column);
        QCOMPARE(f->kind, kind);
        QCOMPARE(f->message, message);
    }

    // A badly broken page must not fill the memory with findings, but the
    // count must say how many there were.
    void limitCountsWhatItLeavesOut()
    {
        const QByteArray text = page("</a></b></i></u></s>");
        const qsizetype all = DocumentCheck::check(text, {}).findings.size();
        DocumentCheck::Options options;
        options.limit = 2;
        const DocumentCheck::Report report = DocumentCheck::check(text, options);
        QCOMPARE(report.findings.size(), 2);
        QCOMPARE(report.total, all);
        QVERIFY(all > 2);
    }

    // Every code the check meets on the help guide and on what the dialogs
    // insert has its Japanese text (an untranslated one shows libtidy's English).
    void realPagesAreTranslated()
    {
        QFile help(QStringLiteral(MARQUILL_SOURCE_DIR "/packaging/help/index.html"));
        QVERIFY(help.open(QIODevice::ReadOnly));
        QStringList untranslated;
        for (const QByteArray& text : {help.readAll(), dialogOutputs()}) {
            for (int level = 0; level <= 3; ++level) {
                for (const Finding& f : DocumentCheck::check(text, {level, true}).findings) {
                    if (f.message == f.english && !untranslated.contains(f.code))
                        untranslated.append(f.code);
                }
            }
        }
        QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(QLatin1Char(' '))));
    }

private:
    // A page made of what each element and form dialog inserts.
    static QByteArray dialogOutputs()
    {
        DocInfoChoice info{QStringLiteral("題名"),  QStringLiteral("back.gif"),
                           QStringLiteral("white"), QStringLiteral("black"),
                           QStringLiteral("blue"),  QStringLiteral("purple"),
                           QStringLiteral("red")};
        const WrapTexts frame = docInfoTexts(info, false);
        QString body;
        const auto wrap = [&](const WrapTexts& w, const QString& text) {
            body += w.start + text + w.end + QStringLiteral("\r\n");
        };
        wrap(linkTexts(QStringLiteral("a.html"), QStringLiteral("_blank")),
             QStringLiteral("リンク"));
        wrap(sameDocLinkTexts(QStringLiteral("mark")), QStringLiteral("しおりへ"));
        wrap(bookmarkTexts(QStringLiteral("mark")), QStringLiteral("しおり"));
        wrap(mailLinkTexts(QStringLiteral("a@example.com")), QStringLiteral("メール"));
        wrap(fontTexts(2, QStringLiteral("red"), true), QStringLiteral("文字"));
        wrap(headingTexts(2, 2), QStringLiteral("見出し"));
        body += ruleText(RuleChoice{QStringLiteral("3"), QStringLiteral("50")});
        ImageTagChoices image;
        image.source = QStringLiteral("a.gif");
        image.width = QStringLiteral("10");
        image.alignment = ImageTagChoices::FlowLeft;
        image.horizontalSpace = QStringLiteral("4");
        body += buildImageTag(image);
        body += buildList(ListChoices{ListChoices::Ordered, 0, 1, QStringLiteral("一\r\n二")});
        body += buildList(ListChoices{ListChoices::Definition, 0, 0, QStringLiteral("語\r\n意味")});
        TableChoices table;
        table.caption = QStringLiteral("表");
        table.border = QStringLiteral("1");
        table.headerRow = true;
        table.placement = TableChoices::FlowRight;
        body += buildTable(table);
        QString form =
            selectTexts(SelectChoice{QStringLiteral("s"), true, QStringLiteral("3"), true}).start +
            optionItemText(QStringLiteral("1"), QStringLiteral("一")) +
            selectTexts(SelectChoice{}).end;
        form += lineInputText(LineInputChoice{QStringLiteral("n"), QStringLiteral("v"),
                                              QStringLiteral("20"), QStringLiteral("40"), false});
        form += textAreaText(QStringLiteral("t"), QStringLiteral("40"), QStringLiteral("5"));
        form += choiceInputText(
            ChoiceInputKind::CheckBox,
            ChoiceInput{QStringLiteral("c"), QStringLiteral("1"), true, QStringLiteral("選ぶ")});
        form += choiceInputText(
            ChoiceInputKind::Radio,
            ChoiceInput{QStringLiteral("r"), QStringLiteral("1"), false, QStringLiteral("一つ")});
        form += buttonInputText(ButtonInputKind::Submit, QStringLiteral("送信"));
        form += buttonInputText(ButtonInputKind::Reset, QStringLiteral("取消"));
        wrap(formTexts(QStringLiteral("POST"), QStringLiteral("cgi.pl"), QString()), form);
        return (frame.start + body + frame.end).toUtf8();
    }
};

MARQUILL_TEST_MAIN(TestDocumentCheck)
#include "tst_document_check.moc"
