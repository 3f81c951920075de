#pragma once

#include <QString>
#include <QStringList>

// The input history lists of the dialogs, as plain rules over string lists.
// A list is stored in one settings section as the values <prefix>00,
// <prefix>01, ... (two decimal digits), slot 00 holding the most recent
// entry and an empty string marking an unused slot.
namespace HistoryList {

// The largest maximum a list may have (two digits name every slot).
constexpr unsigned kMaxSlots = 99;

// The value name of a slot: prefix followed by the slot as two digits
// ("History" and 3 give "History03").
QString valueName(const QString& prefix, unsigned slot);

// The entries of stored slot values: the non-empty ones in slot order, so a
// list with gaps loads compacted.
QStringList compacted(const QStringList& slotValues);

// The list after the text of a combo box's edit part has been saved into it:
// an empty text changes nothing; otherwise one entry equal to the text when
// letter case is ignored is removed (looked for from the second entry on,
// wrapping round to the first) and the text becomes the first entry, spelt
// as typed.
QStringList withNewEntry(const QStringList& items, const QString& text);

// The values to write into slots 0 .. maximum-1: entry i, or an empty
// string when the list is shorter. Entries past the maximum fall off.
QStringList slotValues(const QStringList& items, unsigned maximum);

// Reads the entries of a section (compacted, at most maximum of them).
QStringList read(const QString& section, const QString& prefix, unsigned maximum);
// Writes every slot 0 .. maximum-1 of a section from the entries.
void write(const QString& section, const QString& prefix, unsigned maximum,
           const QStringList& items);

} // namespace HistoryList
