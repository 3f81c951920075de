#pragma once

#include <QPixmap>

// The sample pictures of the image, list and table dialogs' previews, drawn
// by the program: grey lines stand for surrounding text, black lines for the
// text that flows beside the element. Every picture of one family has the
// same size.
namespace SamplePictures {

// Alignment 0-5 of the image dialog: the image alone between two grey lines,
// with one black line beside it at its top, middle or bottom, or with black
// lines flowing on its right (4) or on its left (5).
QPixmap imageAlignment(int alignment);

// The list dialog's sample of four lines: kind 0 unordered with marker 0-2
// (circle, square, disk), kind 1 ordered with numbering 0-4 (1, I, i, A, a),
// kind 2 a definition list.
QPixmap list(int kind, int marker, int numbering);

// Placement 0-2 of the table dialog: the table alone between grey lines, on
// the left with text flowing on its right, on the right with text on its left.
QPixmap tablePlacement(int placement);

} // namespace SamplePictures
