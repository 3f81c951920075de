#pragma once

#include <QString>

class CSpinEdit;
class QWidget;

// The number boxes of the form dialogs (sizes, row and column counts). A box
// may be left empty, which leaves its attribute out; anything else must be a
// whole number within the box's range. Blanks around the number and
// full-width digits are accepted; the number is then written in plain
// digits.
struct NumberFieldCheck
{
    bool ok = false;
    QString value;   // the number as written into the element, or empty
    QString message; // why the text was refused, for the user
};

// Checks text for the box labelled fieldName holding minimum to maximum.
NumberFieldCheck checkNumberField(const QString& fieldName, const QString& text, int minimum,
                                  int maximum);

// The OK check of one box: on a refusal, tells the user why, puts the focus
// into the box with its text selected and returns false; otherwise stores the
// number (or an empty text) in value and returns true.
bool acceptNumberField(QWidget* dialog, CSpinEdit* box, const QString& fieldName, QString* value);
