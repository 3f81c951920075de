#pragma once

#include <QtGlobal>

// How wide the line-number margin is: room for the number of the last line
// (at least kMinDigits digits, so that a short document's margin does not
// widen at its tenth line) and half a digit on either side. The width only
// changes when the number of digits does, so the view sets it again only
// then: a new width makes the control wrap every line again.
namespace LineNumberWidth {

constexpr int kMinDigits = 2;

// Digits of the largest line number of a text with lineCount lines.
int digits(qint64 lineCount);

// The margin's width in pixels for that many digits, given a digit's width.
int pixels(int digits, int digitWidth);

} // namespace LineNumberWidth
