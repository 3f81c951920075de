#pragma once

#include "widgets/results_list.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QString>

// Finds a plain text or a regular expression in the decoded text of a file
// and lists each match with its line and column, both counted from 1, the
// column in characters (a character outside the BMP counts once), and the
// text of its line. Lines end at LF, CR LF or a lone CR. Matches do not
// overlap; an empty match of a pattern is listed, and the next search moves
// on by one character.
class CTextMatcher
{
public:
    // The longest line text kept for a match, in UTF-16 units; a longer line
    // is cut round the match and the cut ends shown as "…".
    static constexpr qsizetype kMaxLineText = 300;

    // A plain text, compared with letter case (Unicode case folding) or not.
    CTextMatcher(const QString& text, bool matchCase);
    // A compiled regular expression (its own options decide letter case).
    explicit CTextMatcher(const QRegularExpression& expression);

    // Every match in text, at most limit of them. gaveUp, when given, tells
    // whether the engine gave up on a pattern before the end of the text
    // (too much backtracking); the matches before that place are listed.
    QList<ResultEntry> matches(const QString& text, int limit, bool* gaveUp = nullptr) const;

    // False only when the plain text surely does not occur in the file that
    // fileBytes were read from, whichever of the encodings that opening a
    // document recognises it is in; true when the file must be decoded to
    // tell. Spares decoding files that cannot match.
    bool mayOccurIn(QByteArrayView fileBytes) const;

private:
    // Whether a file declaring this encoding holds the text only as one of
    // the forms; remembered per name.
    bool readsAsForms(const QByteArray& declared) const;

    QString m_text;
    bool m_matchCase = false;
    QRegularExpression m_expression;
    bool m_regex = false;
    // The plain text in UTF-8, Shift_JIS and EUC-JP (those it can be written
    // in), ASCII letters in lower case unless case matters; empty when the
    // raw bytes cannot tell (see mayOccurIn).
    QList<QByteArray> m_forms;
    bool m_asciiText = false;
    mutable QHash<QByteArray, bool> m_declared;
};
