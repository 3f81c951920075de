#pragma once

#include <QRegularExpression>
#include <QString>

// The options of the find, replace and find-in-files dialogs that a pattern
// is compiled with.
struct RegexOptions
{
    bool matchCase = false;
    bool wholeWord = false;
};

// A regular expression as the search dialogs take it: Perl-compatible
// (PCRE2, through QRegularExpression), with Unicode properties (\w and \d
// take in Japanese letters and full-width digits), ^ and $ matching at the
// start and end of every line and . matching anything but a line end. CR LF,
// a lone CR and a lone LF are all line ends, and no match begins or ends
// between the CR and the LF of a pair, so a replacement never splits one
// (\R matches any line end as a whole). Letters match in either case unless
// matchCase. With wholeWord, a match is only taken where it starts and ends
// as a whole word does in the plain search (the edges of words and of runs
// of punctuation), and never empty.
class CRegexPattern
{
public:
    CRegexPattern() = default;
    explicit CRegexPattern(const QString& pattern, RegexOptions options = {});

    bool isValid() const { return m_valid; }
    // What is wrong with the pattern and where, in Japanese; empty when valid.
    const QString& errorMessage() const { return m_error; }

    const QString& pattern() const { return m_pattern; }
    RegexOptions options() const { return m_options; }
    // The compiled expression (valid only when isValid()).
    const QRegularExpression& expression() const { return m_expression; }
    // The number of groups, (...), in the pattern.
    int captureCount() const { return m_captureCount; }

private:
    void compile();

    QString m_pattern;
    RegexOptions m_options;
    QRegularExpression m_expression;
    int m_captureCount = 0;
    bool m_valid = false;
    QString m_error;
};
