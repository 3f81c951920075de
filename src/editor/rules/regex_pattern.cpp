#include "editor/rules/regex_pattern.h"

#include <QHash>

namespace {

// Matches no position between a CR and the LF after it.
constexpr char16_t kNotInsideCrLf[] = uR"((?!(?<=\r)\n))";

// The editor's word rule: letters, marks, digits and the underscore are word
// characters, punctuation and symbols (DEL among them) another class, and a
// whole word starts and ends where the class changes; the text's own start
// and end always count.
constexpr char16_t kWordStart[] =
    uR"((?:\A|(?=[\p{L}\p{M}\p{N}_])(?<![\p{L}\p{M}\p{N}_])|(?=[\p{P}\p{S}\x7f])(?<![\p{P}\p{S}\x7f])))";
constexpr char16_t kWordEnd[] =
    uR"((?:\z|(?<=[\p{L}\p{M}\p{N}_])(?![\p{L}\p{M}\p{N}_])|(?<=[\p{P}\p{S}\x7f])(?![\p{P}\p{S}\x7f])))";

// What PCRE2's messages say, in Japanese. A message not listed is shown as
// PCRE2 gives it.
QString describe(const QString& message)
{
    static const QHash<QString, QString> kMessages = [] {
        const char* const pairs[][2] = {
            {"missing closing parenthesis", "閉じかっこ ) が足りません。"},
            {"unmatched closing parenthesis",
             "対応する開きかっこ ( のない閉じかっこ ) があります。"},
            {"missing terminating ] for character class",
             "文字クラス [ ] を閉じる ] がありません。"},
            {"quantifier does not follow a repeatable item",
             "繰り返し (*、+、?、{ }) の前に繰り返せるものがありません。"},
            {"\\ at end of pattern", "最後の \\ の後に文字がありません。"},
            {"\\c at end of pattern", "\\c の後に文字がありません。"},
            {"range out of order in character class", "文字クラスの範囲の始めと終わりが逆です。"},
            {"invalid range in character class", "文字クラスの範囲の指定が正しくありません。"},
            {"numbers out of order in {} quantifier", "{ } の中の二つの数の大小が逆です。"},
            {"number too big in {} quantifier", "{ } の中の数が大きすぎます。"},
            {"reference to non-existent subpattern", "ないグループを参照しています。"},
            {"lookbehind assertion is not fixed length",
             "後読み (?<= や (?<! の中は長さが決まっていなければなりません。"},
            {"unrecognized character after (? or (?-", "(? の後の文字が正しくありません。"},
            {"unknown property after \\P or \\p",
             "\\p や \\P の後のプロパティ名が正しくありません。"},
            {"missing ) after (?# comment", "コメント (?# を閉じる ) がありません。"},
            {"(*VERB) not recognized or malformed", "(*...) の指定が正しくありません。"},
            {"two named subpatterns have the same name (PCRE2_DUPNAMES not set)",
             "同じ名前のグループが二つあります。"},
            {"subpattern name must start with a non-digit",
             "グループの名前を数字で始めることはできません。"},
            {"subpattern name expected", "グループの名前がありません。"},
            {"character code point value in \\x{} or \\o{} is too large",
             "\\x{ } や \\o{ } の文字コードが大きすぎます。"},
            {"digits missing in \\x{} or \\o{} or \\N{U+}",
             "\\x{ }、\\o{ }、\\N{U+ } の中に数字がありません。"},
            {"PCRE2 does not support \\F, \\L, \\l, \\N{name}, \\U, or \\u",
             "\\F、\\L、\\l、\\N{名前}、\\U、\\u は使えません。"},
        };
        QHash<QString, QString> table;
        for (const auto& pair : pairs)
            table.insert(QString::fromUtf8(pair[0]), QString::fromUtf8(pair[1]));
        return table;
    }();
    return kMessages.value(message, message);
}

// "The pattern is wrong at the Nth character" (characters, not UTF-16
// units, counted from 1), or at its end, with what is wrong.
QString errorAt(const QString& pattern, qsizetype offset, const QString& message)
{
    const QString what = describe(message);
    if (offset < 0 || offset >= pattern.size())
        return QStringLiteral("正規表現の終わりに誤りがあります。\n%1").arg(what);
    const QStringView before = QStringView(pattern).left(offset);
    const qsizetype character = before.toUcs4().size() + 1;
    return QStringLiteral("正規表現の %1 文字目に誤りがあります。\n%2")
        .arg(QString::number(character), what);
}

} // namespace

CRegexPattern::CRegexPattern(const QString& pattern, RegexOptions options)
    : m_pattern(pattern), m_options(options)
{
    compile();
}

// The pattern is checked alone first, so that an error names a place in
// what the user typed. Then it is put inside a group between the guards
// against splitting CR LF and, for whole words, the word edges. The verbs
// that must open a pattern, such as (*UCP), stay in front. \E ends a \Q
// quote left open at the end; when the pattern ends inside a # comment of
// extended syntax, a line feed ends the comment too (it is only tried when
// the group could not be closed otherwise, so it never becomes a character
// to match).
void CRegexPattern::compile()
{
    QRegularExpression::PatternOptions flags =
        QRegularExpression::MultilineOption | QRegularExpression::UseUnicodePropertiesOption;
    if (!m_options.matchCase)
        flags |= QRegularExpression::CaseInsensitiveOption;
    const QRegularExpression alone(m_pattern, flags);
    if (!alone.isValid()) {
        m_error = errorAt(m_pattern, alone.patternErrorOffset(), alone.errorString());
        return;
    }
    m_captureCount = alone.captureCount();

    static const QRegularExpression kLeadingVerbs(
        QStringLiteral(R"(^(?:\(\*[A-Z_]+(?:=\d+)?\))*)"));
    const qsizetype verbs = kLeadingVerbs.match(m_pattern).capturedLength(0);
    QString head = QStringLiteral("(*ANYCRLF)");
    if (m_options.wholeWord)
        head += QStringLiteral("(*NOTEMPTY)");
    head += QStringView(m_pattern).left(verbs);
    head += QStringView(kNotInsideCrLf);
    if (m_options.wholeWord)
        head += QStringView(kWordStart);
    head += QStringLiteral("(?:");
    head += QStringView(m_pattern).mid(verbs);
    QString tail = QStringLiteral(")");
    if (m_options.wholeWord)
        tail += QStringView(kWordEnd);
    tail += QStringView(kNotInsideCrLf);
    for (const QString& close : {QStringLiteral("\\E"), QStringLiteral("\\E\n")}) {
        QRegularExpression wrapped(head + close + tail, flags);
        if (wrapped.isValid() && wrapped.captureCount() == m_captureCount) {
            m_expression = wrapped;
            m_valid = true;
            return;
        }
    }
    m_error = QStringLiteral("正規表現が長すぎるか複雑すぎるため、使えません。");
}
