#include "editor/layout_runs.h"

#include <array>

namespace LayoutRuns {
namespace {

// Kinds of piece. Inherit: a byte that never begins a piece (the inner bytes
// of a character). Joining: the first byte of another character; such a
// character may join the one before it (an accent, a variation selector, a
// letter of a script whose letters are shaped together), so it begins a
// piece (a word) only after a blank or punctuation.
enum Kind : signed char {
    Word = 0,
    Blank = 1,
    Punctuation = 2,
    Wide = 3,
    Inherit = -1,
    Joining = -2
};

constexpr std::array<signed char, 128> asciiKinds()
{
    std::array<signed char, 128> kinds{};
    for (int c = 0; c < 128; ++c) {
        const bool word =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        kinds[c] = word ? Word : (c == ' ' || c == '\t') ? Blank : Punctuation;
    }
    return kinds;
}
constexpr std::array<signed char, 128> kAsciiKinds = asciiKinds();

// Japanese, Chinese and Korean characters that stand alone (no combining
// marks among them): the CJK punctuation, kana (without the two combining
// sound marks), ideographs, Hangul syllables and full-width forms.
bool isSeparateWide(unsigned cp)
{
    return (cp >= 0x3000 && cp <= 0x3098) || (cp >= 0x309B && cp <= 0x30FF) ||
           (cp >= 0x3400 && cp <= 0x4DBF) || (cp >= 0x4E00 && cp <= 0x9FFF) ||
           (cp >= 0xAC00 && cp <= 0xD7A3) || (cp >= 0xFF01 && cp <= 0xFF9D);
}

signed char kindAt(const unsigned char* t, qint64 i, qint64 n)
{
    const unsigned char c = t[i];
    if (c < 0x80)
        return kAsciiKinds[c];
    // Every separate wide character is three bytes long.
    if ((c & 0xF0) == 0xE0 && i + 2 < n && (t[i + 1] & 0xC0) == 0x80 && (t[i + 2] & 0xC0) == 0x80) {
        const unsigned cp = ((c & 0x0Fu) << 12) | ((t[i + 1] & 0x3Fu) << 6) | (t[i + 2] & 0x3Fu);
        if (isSeparateWide(cp))
            return Wide;
    }
    return (c & 0xC0) == 0xC0 ? Joining : Inherit;
}

} // namespace

void mark(const char* text, char* styles, qint64 n, int previousStyle)
{
    const auto* t = reinterpret_cast<const unsigned char*>(text);
    int format = -1;
    int kind = Word;
    int parity = 0;
    int length = 0;
    if (previousStyle >= 0) {
        format = formatOf(previousStyle);
        kind = (previousStyle / kFormats) / 2;
        parity = (previousStyle / kFormats) % 2;
    }
    for (qint64 i = 0; i < n; ++i) {
        const unsigned char c = t[i];
        const int f = static_cast<unsigned char>(styles[i]);
        signed char k;
        if (c < 0x80) {
            k = kAsciiKinds[c];
        } else {
            k = kindAt(t, i, n);
            if (k == Joining)
                k = (kind == Blank || kind == Punctuation) ? Word : Inherit;
        }
        const int pieceKind = k == Inherit ? kind : k;
        if (f != format || pieceKind != kind) {
            format = formatOf(f);
            kind = pieceKind;
            parity = 0;
            length = 0;
        } else if (length >= kMaxPiece && k != Inherit) {
            parity ^= 1;
            length = 0;
        }
        ++length;
        styles[i] = static_cast<char>(format + kFormats * (kind * 2 + parity));
    }
}

} // namespace LayoutRuns
