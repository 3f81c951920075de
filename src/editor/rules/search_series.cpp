#include "editor/rules/search_series.h"

FindMatch CSearchSeries::search(qint64 selStart, qint64 selEnd, qint64 textLength,
                                const Finder& find, bool fromSelectionStart)
{
    beginAt(selStart);
    const qint64 from = (selStart != selEnd && !fromSelectionStart) ? selStart + 1 : selStart;
    const qint64 to = m_initial >= 0 ? textLength : textLength + m_initial;
    FindMatch match;
    if (from < to)
        match = find(from, to);
    if (!match.found() && m_initial > 0) {
        const qint64 wrapEnd = m_initial;
        m_initial -= textLength;
        match = find(0, wrapEnd);
    }
    return match;
}

void CSearchSeries::beginAt(qint64 pos)
{
    if (m_firstSearch) {
        m_initial = pos;
        m_firstSearch = false;
    }
}
