#pragma once

#include <QStringList>

// The registered tags and the tools are ten slots each, stored under value
// names formed by a field word and the slot digit ("TagView0" to
// "TagView9"). A slot is in use when its display text is not empty; used
// slots stay packed from slot 0.
namespace SlotNames {

constexpr int kSlotCount = 10;

// A slot list: its settings section and the field word of its display texts.
struct List
{
    const char* section;
    const char* word;
};
inline constexpr List kRegisteredTags{"Tag", "TagView"};
inline constexpr List kTools{"Tool", "ToolView"};

// The display texts of the used slots, from slot 0 up to the first empty one.
QStringList read(const List& list);

} // namespace SlotNames
