#pragma once

#include <QtGlobal>

#include <functional>

class QsciScintillaBase;

// Applies the tag rule (TagScan) to the control's styles directly: the text is
// read in place and the styles are written in pieces with SCI_SETSTYLINGEX,
// never by selecting. Nothing here touches the selection, the undo history or
// the modified flag.
namespace TagColorizer {

// Gives [start, start + length) the formats (0 default, 1 tag, 2 quote) held
// in formats, written as the style numbers of their layout pieces.
void writeFormats(QsciScintillaBase& control, qint64 start, const char* formats, qint64 length);

// Styles [from, to): tags and quoted values found in that text alone, the
// rest default.
void colorRange(QsciScintillaBase& control, qint64 from, qint64 to);

// Styles the whole text. progress(percent) is called whenever the integer
// percentage of the text examined changes (so at most 100 times) and stops
// the run when it returns false; the text not yet examined is then left in
// the default style. Returns whether the run went to the end.
bool colorWhole(QsciScintillaBase& control, const std::function<bool(int percent)>& progress);

// Percentage of the text examined before index i of a text of length n.
inline int percentAt(qint64 i, qint64 n)
{
    return n > 0 ? int(i * 100 / n) : 0;
}

// The first index after i whose percentage differs from i's (n when none).
qint64 nextPercentBoundary(qint64 i, qint64 n);

} // namespace TagColorizer
