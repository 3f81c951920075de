#pragma once

#include "editor/rules/regex_pattern.h"
#include "editor/rules/regex_search.h"

class CMyRichEditView;
class CRegexReplacement;
class CSearchSeries;

// Regular-expression search and replace on the text of one view, for its
// find and replace (which shows the messages and reactions). Each search
// reads the whole text once; a series of searches runs as the plain
// search's does, except that it goes on after the selected match rather
// than one position into it, and that an empty match found at the caret is
// passed over by the next search, so that repeated searches move on.
class CRegexFinder
{
public:
    explicit CRegexFinder(CMyRichEditView* view);

    // The pattern for text and options, compiled again only when they
    // changed since the last call.
    const CRegexPattern& pattern(const QString& text, RegexOptions options);

    // One search of the series; selects the match. The pattern must be valid.
    bool search(const CRegexPattern& pattern, CSearchSeries& series);
    // Whether the last search found nothing because the engine gave up.
    bool gaveUp() const { return m_gaveUp; }

    // Replaces the selection with its expansion when the selection is a
    // match; returns whether it did.
    bool replaceSelection(const CRegexPattern& pattern, const CRegexReplacement& replacement,
                          CSearchSeries& series);

    // The replacements of every match in the whole text, in one pass.
    RegexSearch::Edits replacements(const CRegexPattern& pattern,
                                    const CRegexReplacement& replacement) const;

private:
    CMyRichEditView* m_view;
    CRegexPattern m_pattern;
    qint64 m_emptyMatchAt = -1; // the caret after an empty match was found there
    bool m_gaveUp = false;
};
