#pragma once

#include <QByteArray>

class QsciScintillaBase;

// The three character formats of the editor (ordinary text, tags, quoted
// values), as stored in the "Font" settings: face name, height in twentieths
// of a point, colour 0x00BBGGRR and effect bits (1 bold, 2 italic).
struct CharFormat
{
    QByteArray face; // UTF-8
    int height = 240;
    int color = 0;
    int effects = 0;
};

namespace EditorFonts {

enum Kind { Default, Tag, Quote };

// Maps the Windows Japanese face names that settings carry to installed CJK
// fonts. Safe to call more than once; the application calls it at start-up.
void registerSubstitutions();

// The stored format of a kind, with the editor's defaults (tags 0xCC0000).
CharFormat readFormat(Kind kind);

// Whether text laid out in a and in b takes the same width (same face and
// size, and bold or italic glyphs as wide as the plain ones, as in most
// monospaced fonts). When it does, restyling never changes line wrapping.
bool sameAdvances(const CharFormat& a, const CharFormat& b);

// Gives a style of the control the format (face as UTF-8 bytes, size,
// colour, bold, italic).
void applyToStyle(QsciScintillaBase& control, int style, const CharFormat& format);

} // namespace EditorFonts
