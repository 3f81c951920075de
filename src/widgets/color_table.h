#pragma once

#include <QColor>
#include <QString>

// The fixed table of HTML colours offered by the colour picker: entry 0 is
// "not selected" (value -1), entries 1 to 138 are the named colours in the
// order the picker shows them. Values are colour references 0x00BBGGRR.
struct ColorEntry
{
    int value;
    const char* name;
};

constexpr int kColorTableSize = 139;
constexpr int kNoColor = -1;

// Entry i of the table, 0 <= i < kColorTableSize.
const ColorEntry& colorEntry(int index);

// The value of the first entry named exactly name (case-sensitive), or -1.
int ColorFromName(const QString& name);

// The name of the first entry whose value is value: "not selected" for -1,
// "undefined" when no entry has it.
QString colorNameFromValue(int value);

// Six lower-case hexadecimal digits, red then green then blue, without "#".
QString colorHexFromValue(int value);

// The attribute value for a colour name as HTML wants it: empty for an empty
// name (the attribute is then left out), the bare name, or with hex set a
// double-quoted "#" and six hexadecimal digits.
QString colorAttributeValue(const QString& name, bool hex);

// The same, reading the "HexColor" option at the moment of the call.
QString colorAttributeValue(const QString& name);

// The "HexColor" option, read now: colours are written in hexadecimal form.
bool hexColorOption();

// A colour reference as a QColor (value -1 gives an invalid colour).
QColor colorFromValue(int value);
