#pragma once

#include <QString>

// The choices of the list dialog, as plain values.
struct ListChoices
{
    enum Kind { Unordered = 0, Ordered = 1, Definition = 2 };

    int kind = Unordered;
    int unorderedMarker = 0;  // 0 circle, 1 square, 2 disk
    int orderedNumbering = 0; // 0 "1", 1 "I", 2 "i", 3 "A", 4 "a"
    QString items;            // one item a line
};

// Number of markers and numberings offered, for range checks.
constexpr int kListKinds = 3;
constexpr int kUnorderedMarkers = 3;
constexpr int kOrderedNumberings = 5;

// The whole list: the opening line, one line per non-empty item line (LI, or
// DT and DD alternating for a definition list) and the closing line, every
// line ended by CR LF. Item texts are copied unchanged. Lines are divided at
// CR LF, CR or LF. Choices outside their range count as the first choice.
// The numbering of an ordered list is quoted (TYPE="I"), so that lowering
// the tag's letters on insertion keeps it.
QString buildList(const ListChoices& choices);
