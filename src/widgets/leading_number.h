#pragma once

#include <QString>

// The leading decimal number of a text the way the C library's atoi reads it
// (blanks, an optional sign, digits); 0 when the text does not start with a
// number. Values beyond the int range are clamped.
int leadingNumber(const QString& text);
