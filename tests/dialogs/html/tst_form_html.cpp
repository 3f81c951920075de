#include "dialogs/html/form_html.h"
#include "editor/rules/lower_tag_case.h"
#include "test_support.h"

Q_DECLARE_METATYPE(WrapTexts)

// The HTML the form dialogs build, as written and as inserted with
// "SmallLetter" on.
class TestFormHtml : public QObject
{
    Q_OBJECT

    static WrapTexts insert(const QString& text) { return {text, QString()}; }
    static QString lowered(const QString& text)
    {
        return QString::fromUtf8(LowerTagCase(text.toUtf8()));
    }

private Q_SLOTS:
    void output_data()
    {
        QTest::addColumn<WrapTexts>("built");
        QTest::addColumn<WrapTexts>("upper");
        QTest::addColumn<WrapTexts>("lower");

        const QString formEnd = QStringLiteral("\r\n\r\n</FORM>\r\n");
        const QString formEndLower = QStringLiteral("\r\n\r\n</form>\r\n");
        QTest::newRow("form, no target")
            << formTexts("POST", "cgi/Post.cgi", "")
            << WrapTexts{"<FORM METHOD=POST ACTION=\"cgi/Post.cgi\">\r\n\r\n", formEnd}
            << WrapTexts{"<form method=post action=\"cgi/Post.cgi\">\r\n\r\n", formEndLower};
        QTest::newRow("form, empty action and a target")
            << formTexts("GET", "", "_self")
            << WrapTexts{"<FORM METHOD=GET ACTION=\"\" TARGET=\"_self\">\r\n\r\n", formEnd}
            << WrapTexts{"<form method=get action=\"\" target=\"_self\">\r\n\r\n", formEndLower};
        QTest::newRow("list box area")
            << selectTexts({"Fruit", true, "5", true})
            << WrapTexts{"<SELECT NAME=\"Fruit\" SIZE=5 MULTIPLE>\r\n", "\r\n</SELECT>"}
            << WrapTexts{"<select name=\"Fruit\" size=5 multiple>\r\n", "\r\n</select>"};
        QTest::newRow("drop-down list: rows left out, multiple kept")
            << selectTexts({"", false, "5", true})
            << WrapTexts{"<SELECT MULTIPLE>\r\n", "\r\n</SELECT>"}
            << WrapTexts{"<select multiple>\r\n", "\r\n</select>"};
        QTest::newRow("list box without rows")
            << selectTexts({"n", true, "", false})
            << WrapTexts{"<SELECT NAME=\"n\">\r\n", "\r\n</SELECT>"}
            << WrapTexts{"<select name=\"n\">\r\n", "\r\n</select>"};
        QTest::newRow("list box item")
            << insert(optionItemText("A1", "Apple")) << insert("<OPTION VALUE=\"A1\">Apple")
            << insert("<option value=\"A1\">Apple");
        QTest::newRow("line input with the defaults")
            << insert(lineInputText({"q", "", "40", "40", false}))
            << insert("<INPUT TYPE=\"TEXT\" NAME=\"q\" SIZE=40 MAXLENGTH=40>")
            << insert("<input type=\"TEXT\" name=\"q\" size=40 maxlength=40>");
        QTest::newRow("password drops the value")
            << insert(lineInputText({"pw", "secret", "8", "", true}))
            << insert("<INPUT TYPE=\"password\" NAME=\"pw\" SIZE=8>")
            << insert("<input type=\"password\" name=\"pw\" size=8>");
        QTest::newRow("line input, value as typed, no length")
            << insert(lineInputText({"", "a \"b\" & c", "", "20", false}))
            << insert("<INPUT TYPE=\"TEXT\" NAME=\"\" MAXLENGTH=20 VALUE=\"a \"b\" & c\">")
            << insert("<input type=\"TEXT\" name=\"\" maxlength=20 value=\"a \"b\" & c\">");
        QTest::newRow("text area") << insert(textAreaText("Msg", "60", "8"))
                                   << insert("<TEXTAREA NAME=\"Msg\" COLS=60 ROWS=8></TEXTAREA>")
                                   << insert("<textarea name=\"Msg\" cols=60 rows=8></textarea>");
        QTest::newRow("text area without sizes")
            << insert(textAreaText("", "", "")) << insert("<TEXTAREA NAME=\"\"></TEXTAREA>")
            << insert("<textarea name=\"\"></textarea>");
        QTest::newRow("check box, checked, label kept")
            << insert(choiceInputText(ChoiceInputKind::CheckBox, {"Color", "Red", true, "Yes"}))
            << insert("<INPUT TYPE=\"CHECKBOX\" NAME=\"Color\" VALUE=\"Red\" CHECKED>Yes")
            << insert("<input type=\"CHECKBOX\" name=\"Color\" value=\"Red\" checked>Yes");
        QTest::newRow("radio button, all empty")
            << insert(choiceInputText(ChoiceInputKind::Radio, {}))
            << insert("<INPUT TYPE=\"RADIO\" NAME=\"\" VALUE=\"\">")
            << insert("<input type=\"RADIO\" name=\"\" value=\"\">");
        QTest::newRow("submit button")
            << insert(buttonInputText(ButtonInputKind::Submit, "送信 OK"))
            << insert("<INPUT TYPE=\"SUBMIT\" VALUE=\"送信 OK\">")
            << insert("<input type=\"SUBMIT\" value=\"送信 OK\">");
        QTest::newRow("reset button, empty label")
            << insert(buttonInputText(ButtonInputKind::Reset, ""))
            << insert("<INPUT TYPE=\"RESET\" VALUE=\"\">")
            << insert("<input type=\"RESET\" value=\"\">");
    }
    void output()
    {
        QFETCH(WrapTexts, built);
        QFETCH(WrapTexts, upper);
        QFETCH(WrapTexts, lower);
        QCOMPARE(built, upper);
        QCOMPARE((WrapTexts{lowered(built.start), lowered(built.end)}), lower);
    }
};

MARQUILL_TEST_MAIN(TestFormHtml)
#include "tst_form_html.moc"
