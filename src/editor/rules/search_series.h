#pragma once

#include <QtGlobal>

#include <functional>

// A match of a search: the byte range [start, end), or none (start -1).
struct FindMatch
{
    qint64 start = -1;
    qint64 end = -1;
    bool found() const { return start >= 0; }
};

// The series of searches of one view. A series begins when a find dialog is
// opened and after every failed search; its first search remembers where the
// selection started (the initial search position). Searches run forward to
// the end of the text, then wrap round once to the beginning and stop at the
// initial position; the position turns negative (minus the text length at
// the wrap) to mark that the wrap has happened, so that the end of the
// searched range keeps following the initial point while replacements before
// it change the text's length.
class CSearchSeries
{
public:
    // Looks for the text in [from, to) and returns the first match that lies
    // wholly inside the range and begins on a character boundary.
    using Finder = std::function<FindMatch(qint64 from, qint64 to)>;

    // One search from the selection [selStart, selEnd): from one position
    // after the selection's start when it is not empty (so a found match is
    // passed over), else from the caret. fromSelectionStart searches from the
    // selection's start in any case.
    FindMatch search(qint64 selStart, qint64 selEnd, qint64 textLength, const Finder& find,
                     bool fromSelectionStart = false);

    // The next search starts a new series.
    void restart() { m_firstSearch = true; }
    // Starts the series at pos unless one is running (used before the
    // selection is replaced, so the series' end lies before the new text).
    void beginAt(qint64 pos);

    bool isFirstSearch() const { return m_firstSearch; }
    qint64 initialPosition() const { return m_initial; }

private:
    qint64 m_initial = 0;
    bool m_firstSearch = true;
};
