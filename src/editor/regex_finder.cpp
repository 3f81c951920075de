#include "editor/regex_finder.h"

#include "document/utf16_text.h"
#include "editor/control_text.h"
#include "editor/my_rich_edit_view.h"
#include "editor/rules/regex_replacement.h"
#include "editor/rules/search_series.h"

CRegexFinder::CRegexFinder(CMyRichEditView* view) : m_view(view) {}

const CRegexPattern& CRegexFinder::pattern(const QString& text, RegexOptions options)
{
    if (m_pattern.pattern() != text || m_pattern.options().matchCase != options.matchCase ||
        m_pattern.options().wholeWord != options.wholeWord || text.isEmpty())
        m_pattern = CRegexPattern(text, options);
    return m_pattern;
}

bool CRegexFinder::search(const CRegexPattern& pattern, CSearchSeries& series)
{
    qint64 start, end;
    m_view->getSel(start, end);
    const QByteArrayView bytes = ControlText::whole(*m_view);
    const CUtf16Text text(bytes);
    const qint64 emptyAt = start == end ? m_emptyMatchAt : -1;
    // A new series still begins at the selection's start; the search itself
    // starts after the selection.
    series.beginAt(start);
    m_gaveUp = false;
    const FindMatch found =
        series.search(end, end, m_view->textLength(), [&](qint64 from, qint64 to) {
            // Once the engine gave up, a match found by wrapping around
            // would skip the text it could not search.
            if (m_gaveUp)
                return FindMatch{};
            const RegexMatch match =
                RegexSearch::findNext(text, pattern, from, to, from == emptyAt);
            m_gaveUp = m_gaveUp || match.failed;
            return match.found() ? FindMatch{match.start, match.end} : FindMatch{};
        });
    // Not found: the selection stays where it was, and so does an empty
    // match there, which the next series passes over like the plain search
    // passes over its selected match.
    if (!found.found())
        return false;
    m_emptyMatchAt = found.start == found.end ? found.start : -1;
    m_view->setSel(found.start, found.end);
    m_view->revealCaret();
    return true;
}

bool CRegexFinder::replaceSelection(const CRegexPattern& pattern,
                                    const CRegexReplacement& replacement, CSearchSeries& series)
{
    qint64 start, end;
    m_view->getSel(start, end);
    const QByteArrayView bytes = ControlText::whole(*m_view);
    const RegexMatch match = RegexSearch::matchAt(CUtf16Text(bytes), pattern, start, end);
    if (!match.found())
        return false;
    const QByteArray text = RegexSearch::expand(bytes, match, replacement);
    // A series that begins here ends before the new text, which is
    // therefore never searched again.
    series.beginAt(start);
    m_view->replaceSel(text, false);
    // After an empty match the next search moves on, even when it starts
    // after the new text.
    m_emptyMatchAt = match.start == match.end ? start + text.size() : -1;
    return true;
}

RegexSearch::Edits CRegexFinder::replacements(const CRegexPattern& pattern,
                                              const CRegexReplacement& replacement) const
{
    const QByteArrayView bytes = ControlText::whole(*m_view);
    return RegexSearch::replaceAll(bytes, CUtf16Text(bytes), pattern, replacement);
}
