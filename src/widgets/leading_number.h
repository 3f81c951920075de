#pragma once

#include <QString>

// The leading decimal number of a text the way the C library's atoi reads it
// (blanks, an optional sign, digits); 0 when the text does not start with a
// number. Values beyond the int range are clamped.
int leadingNumber(const QString& text);

// Whether the text starts with a number in that sense (blanks, an optional
// sign, then a digit), so that leadingNumber() read one rather than
// falling back to 0.
bool startsWithNumber(const QString& text);
