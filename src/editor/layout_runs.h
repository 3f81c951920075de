#pragma once

#include <QtGlobal>

// Style numbers that cut the text into short pieces for laying it out.
//
// The control measures text one run of equal style numbers at a time, with
// Qt's full text layout, and remembers the widths of runs shorter than 30
// bytes only. A run of plain text may be hundreds of bytes long, so nearly
// every run of a large document is measured afresh, at a cost that grows with
// the square of its length. Each of the three formats (default, tag, quote)
// therefore owns several style numbers that look exactly alike, and the text
// is given them piece by piece: a word, a run of blanks, a run of punctuation,
// a run of Japanese characters, each at most kMaxPiece bytes. Such pieces
// recur all over a document, so their widths are mostly found in the
// control's cache. Lines break at blanks only, so the pieces never change
// where a line wraps.
namespace LayoutRuns {

constexpr int kFormats = 3;
// Word, blank, punctuation and wide characters, each in two alternating
// styles for a long run cut into pieces.
constexpr int kVariants = 8;
constexpr int kStyles = kFormats * kVariants;
// The longest piece that is cut off a long run: shorter than the longest run
// whose widths the control keeps.
constexpr int kMaxPiece = 24;

inline int formatOf(int style)
{
    return style % kFormats;
}

// On entry styles[0, n) hold the formats of text[0, n) (0 to 2); on return
// they hold style numbers of those formats, one piece of the text per run of
// equal numbers. previousStyle is the style number of the byte before the
// text (negative: none), so pieces continue across calls. A piece never
// begins inside a character nor before a combining character.
void mark(const char* text, char* styles, qint64 n, int previousStyle);

} // namespace LayoutRuns
