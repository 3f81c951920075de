#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

class CRegexPattern;
class CRegexReplacement;
class CUtf16Text;

// A match of a regular expression in the editor's text: byte positions,
// and the byte range of each group (start -1 for a group that took no part).
struct RegexMatch
{
    qint64 start = -1;
    qint64 end = -1;
    QList<qint64> groups; // group 0 (the match), 1, 2, ...: start and end in pairs
    // The engine gave up (the pattern backtracks too much on this text)
    // before it found a match or reached the end of the range.
    bool failed = false;
    bool found() const { return start >= 0; }
};

// Regular-expression search and replace over the editor's text, given as its
// bytes and their CUtf16Text (built from the same bytes). Positions are byte
// offsets into the bytes. The whole text is always what is searched, so
// lookbehinds, ^ and \b see the text before a start position.
namespace RegexSearch {

// The first match that begins at or after from and ends at or before to
// (an empty match at to only when to is the end of the text). A from inside
// a character starts at the next character. With skipEmptyAtFrom, an empty
// match at from is passed over (the search before found it there), so that
// repeated searches move on.
RegexMatch findNext(const CUtf16Text& text, const CRegexPattern& pattern, qint64 from, qint64 to,
                    bool skipEmptyAtFrom = false);

// The match that begins at start and ends exactly at end, or none: whether
// a selection is a match.
RegexMatch matchAt(const CUtf16Text& text, const CRegexPattern& pattern, qint64 start, qint64 end);

// The replacement of one match (its groups as findNext gives them).
QByteArray expand(QByteArrayView bytes, const RegexMatch& match,
                  const CRegexReplacement& replacement);

// Every match of the text, from its start, each replaced by its expansion:
// the ranges replaced, in order and apart, and their new texts one after
// the other in replacements.
struct Edit
{
    qint64 start;
    qint64 end;
    qsizetype replacementStart;
    qsizetype replacementLength;
};
struct Edits
{
    QList<Edit> edits;
    QByteArray replacements;
    bool failed = false; // the engine gave up before the end of the text
};
// One pass over the text. The replacement must have passed check().
Edits replaceAll(QByteArrayView bytes, const CUtf16Text& text, const CRegexPattern& pattern,
                 const CRegexReplacement& replacement);

// The text with the edits made.
QByteArray applied(QByteArrayView bytes, const Edits& edits);

} // namespace RegexSearch
