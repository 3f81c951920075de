#pragma once

#include "editor/search_series.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// Replace all in one pass. Replacing match after match in the control costs
// a few microseconds per match; instead the matches the series would replace
// are found first, in the unchanged text, and the result is put into the
// control as one replacement. The outcome is the same as replacing one by
// one, because each search of the series starts behind the last replacement
// and the text it then looks at is still the original, except that the word
// rule of a whole-word search looks one character beyond the range. Where
// that character would be replaced text, the plan is marked inexact and the
// caller replaces one by one instead.
namespace ReplaceAll {

struct Plan
{
    QList<FindMatch> matches; // in the order the series replaces them
    bool exact = true;
};

// Looks for the text in [from, to) of the unchanged text; see CSearchSeries.
using Finder = CSearchSeries::Finder;

// The matches of the series that begins with first (already found and
// selected) in a text of textLength bytes, given the series' initial
// position after that first search: positive, the series runs to the end and
// then from 0 up to it; otherwise (it has wrapped already) it ends at
// textLength + initial.
// For whole-word searches, occurs(pos) tells whether the find text's bytes
// (by the case rule) begin at pos; it finds the places where replaced text
// would decide the word rule.
Plan plan(const FindMatch& first, qint64 initial, qint64 textLength, const Finder& find,
          bool wholeWord, const std::function<bool(qint64 pos)>& occurs);

// The replaced text of the span from the first to the last match, and the
// caret after the last replacement the series makes.
struct Result
{
    qint64 spanStart = 0;
    qint64 spanEnd = 0;
    QByteArray replaced;
    qint64 caret = 0;
};
Result build(QByteArrayView text, const QList<FindMatch>& matches, QByteArrayView replacement);

} // namespace ReplaceAll
