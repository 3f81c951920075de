#include "document/utf16_text.h"
#include "editor/rules/regex_pattern.h"
#include "editor/rules/regex_replacement.h"
#include "editor/rules/regex_search.h"
#include "test_support.h"

namespace {

RegexOptions optionsOf(const QString& flags)
{
    return {flags.contains(u'c'), flags.contains(u'w')};
}

} // namespace

class TestRegexRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void replaceAll_data();
    void replaceAll();
    void findNext_data();
    void findNext();
};

// Replace all over the editor's bytes: the text after it, or the message
// that refuses the pattern or the replacement.
void TestRegexRules::replaceAll_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("flags"); // c: match case, w: whole word
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QByteArray>("expected");

    // Groups taken in the wrong order or shifted by one.
    QTest::newRow("groups") << QByteArray("a=1, b=2") << R"((\w)=(\d))"
                            << ""
                            << R"(\2=\1)" << QByteArray("1=a, 2=b");
    // Escapes of the replacement read as text, or an unknown one dropped.
    QTest::newRow("escapes") << QByteArray("x") << "x"
                             << ""
                             << R"([\0]\t\\\n\q)" << QByteArray("[x]\t\\\n\\q");
    // A line start missed after a lone CR, or found between CR and LF.
    QTest::newRow("line starts") << QByteArray("a\r\nb\rc\nd") << "^"
                                 << ""
                                 << ">" << QByteArray(">a\r\n>b\r>c\n>d");
    // $ reached by eating the CR of a CR LF, which leaves a lone LF behind.
    QTest::newRow("line ends") << QByteArray("a  \r\nb \r\nc") << R"(\s+$)"
                               << ""
                               << "" << QByteArray("a\r\nb\r\nc");
    // . running over a line end.
    QTest::newRow("dot") << QByteArray("ab\r\ncd\re") << ".+"
                         << ""
                         << "X" << QByteArray("X\r\nX\rX");
    // \n alone splitting a CR LF; \R taking it whole.
    QTest::newRow("LF of CR LF") << QByteArray("a\r\nb\nc") << R"(\n)"
                                 << ""
                                 << "|" << QByteArray("a\r\nb|c");
    QTest::newRow("any line end") << QByteArray("a\r\nb\nc") << R"(\R)"
                                  << ""
                                  << "|" << QByteArray("a|b|c");
    // An empty match found again and again, or not between characters.
    QTest::newRow("empty matches") << QByteArray("baab") << "a*"
                                   << ""
                                   << "-" << QByteArray("-b--b-");
    // Letter case ignored though asked for, or not ignored by default.
    QTest::newRow("any case") << QByteArray("Href HREF href") << "href"
                              << ""
                              << "x" << QByteArray("x x x");
    QTest::newRow("match case") << QByteArray("Href HREF href") << "href"
                                << "c"
                                << "x" << QByteArray("Href HREF x");
    // Byte offsets of multi-byte characters and groups that took no part.
    QTest::newRow("Japanese") << QByteArray("日本語のテキスト、日本") << "日本(語)?"
                              << ""
                              << R"([\1])" << QByteArray("[語]のテキスト、[]");
    // A character outside the BMP counted as one UTF-16 unit.
    QTest::newRow("4-byte characters") << QByteArray("😀a😀a") << "a"
                                       << ""
                                       << "b" << QByteArray("😀b😀b");
    // Bytes that are no UTF-8 lost or turned into U+FFFD by a replacement.
    QTest::newRow("stray bytes") << QByteArray("\xff"
                                               "a\x82\xa0"
                                               "a")
                                 << "a"
                                 << ""
                                 << "b"
                                 << QByteArray("\xff"
                                               "b\x82\xa0"
                                               "b");
    // \w without Unicode properties misses Japanese and half-width katakana.
    QTest::newRow("Unicode words") << QByteArray("ｶﾀｶﾅ 漢字 abc") << R"(\w+)"
                                   << ""
                                   << "W" << QByteArray("W W W");
    // Whole words: the editor's word edges, Japanese letters being word
    // characters; inside a longer word or before an underscore is no edge.
    QTest::newRow("whole word") << QByteArray("cat concat cat_ cat. 日本 日本語") << "cat|日本"
                                << "w"
                                << "X" << QByteArray("X concat cat_ X. X 日本語");
    // An alternative that would end inside a word must give way to one that
    // ends at its edge.
    QTest::newRow("whole word alternative") << QByteArray("abc") << "ab|abc"
                                            << "w"
                                            << "X" << QByteArray("X");
    // The group around the pattern closed inside an open \Q quote or a
    // comment of extended syntax.
    QTest::newRow("open quote") << QByteArray("a.b a-b") << R"(\Qa.)"
                                << ""
                                << "X" << QByteArray("Xb a-b");
    QTest::newRow("comment at the end") << QByteArray("ab") << "(?x) a # the a"
                                        << ""
                                        << "X" << QByteArray("Xb");
    // Errors: what is wrong, and where, counted in characters.
    QTest::newRow("missing parenthesis")
        << QByteArray("x") << "(ab"
        << ""
        << ""
        << QStringLiteral("正規表現の終わりに誤りがあります。\n閉じかっこ ) が足りません。")
               .toUtf8();
    QTest::newRow("error after a 4-byte character")
        << QByteArray("x") << "😀(?z)"
        << ""
        << ""
        << QStringLiteral(
               "正規表現の 4 文字目に誤りがあります。\n(? の後の文字が正しくありません。")
               .toUtf8();
    QTest::newRow("missing group")
        << QByteArray("a") << "(a)"
        << ""
        << R"(\2)"
        << QStringLiteral("置換後の文字列の \\2 に当たるグループ ( ) が正規表現にありません。")
               .toUtf8();
}

void TestRegexRules::replaceAll()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, pattern);
    QFETCH(QString, flags);
    QFETCH(QString, replacement);
    QFETCH(QByteArray, expected);

    const CRegexPattern compiled(pattern, optionsOf(flags));
    const CRegexReplacement parsed(replacement);
    QByteArray result;
    if (!compiled.isValid())
        result = compiled.errorMessage().toUtf8();
    else if (!parsed.check(compiled.captureCount()).isEmpty())
        result = parsed.check(compiled.captureCount()).toUtf8();
    else
        result = RegexSearch::applied(
            text, RegexSearch::replaceAll(text, CUtf16Text(text), compiled, parsed));
    QCOMPARE(result, expected);
}

// Where a find next lands: [start, end) in bytes, or start -1.
void TestRegexRules::findNext_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<qint64>("from");
    QTest::addColumn<qint64>("to");
    QTest::addColumn<bool>("skipEmpty");
    QTest::addColumn<qint64>("start");
    QTest::addColumn<qint64>("end");

    // A match before from found again.
    QTest::newRow("after from") << QByteArray("ab ab") << "ab" << 1LL << 5LL << false << 3LL << 5LL;
    // A start inside a multi-byte character.
    QTest::newRow("inside a character")
        << QByteArray("日本本") << "本" << 1LL << 9LL << false << 3LL << 6LL;
    // A match running past to taken (the wrapped search's end).
    QTest::newRow("past to") << QByteArray("ab ab") << "ab" << 1LL << 4LL << false << -1LL << -1LL;
    // The same empty match found forever.
    QTest::newRow("empty moves on")
        << QByteArray("a\nb") << "^" << 0LL << 3LL << true << 2LL << 2LL;
    // The empty match at the very end of the text never found.
    QTest::newRow("empty at the end")
        << QByteArray("ab") << "$" << 1LL << 2LL << false << 2LL << 2LL;
    // The text before from not seen by a lookbehind.
    QTest::newRow("lookbehind") << QByteArray("xab") << "(?<=x)a" << 1LL << 3LL << false << 1LL
                                << 2LL;
}

void TestRegexRules::findNext()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, pattern);
    QFETCH(qint64, from);
    QFETCH(qint64, to);
    QFETCH(bool, skipEmpty);
    QFETCH(qint64, start);
    QFETCH(qint64, end);

    const RegexMatch match =
        RegexSearch::findNext(CUtf16Text(text), CRegexPattern(pattern), from, to, skipEmpty);
    QCOMPARE(match.start, start);
    QCOMPARE(match.end, end);
}

MARQUILL_TEST_MAIN(TestRegexRules)
#include "tst_regex_rules.moc"
