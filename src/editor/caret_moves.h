#pragma once

#include <QtGlobal>

#include <optional>

class CMyRichEditView;

// The caret keys of the control (arrows, Home, End, Page Up/Down, Ctrl+Home,
// Ctrl+End, word moves and word deletion), done the way the control does
// them but without its first step: before it moves the caret to a line that
// still waits to be wrapped, the control wraps every waiting line, which on
// a large document freezes the window for seconds. Done here, only the lines
// shown around the caret are laid out. The view uses these while lines wait
// at or above the line the caret goes to.
namespace CaretMoves {

// Where a command takes the caret. A vertical move keeps the x it started
// from across the next vertical moves.
struct Move
{
    qint64 caret = 0;
    qint64 anchor = 0;
    bool erase = false;    // delete [min, max) of anchor and caret instead: the
                           // selection follows a deletion backwards, and is
                           // left empty at the anchor after one forwards
    bool vertical = false; // keeps x
    int x = 0;
};

// The x a series of vertical moves keeps: valid while the caret stays where
// the last one left it.
struct KeptX
{
    qint64 caret = -1;
    int x = 0;
};

// The move a command makes, or none when the command is not a caret key.
// A page move scrolls the view first (the page it lands on must be laid out
// to find the caret's place in it).
std::optional<Move> plan(CMyRichEditView& view, int command, const KeptX& kept);

// The furthest document line a command can take the caret to, or none
// when the command is not a caret key; changes nothing.
std::optional<qint64> reach(CMyRichEditView& view, int command);

// Carries a move out: selects (or deletes) and shows the caret.
void apply(CMyRichEditView& view, const Move& move);

// Scrolls the caret into view and lays out the lines then shown; repeated
// while laying them out pushes the caret out of view again.
void reveal(CMyRichEditView& view);

// The start of the word before pos (direction < 0) or of the word after
// it, as the control's word moves find them: blanks are skipped, then a run
// of characters of one class (word, punctuation, line ends).
qint64 nextWordStart(CMyRichEditView& view, qint64 pos, int direction);

} // namespace CaretMoves
