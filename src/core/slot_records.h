#pragma once

#include "core/slot_names.h"

#include <QString>

#include <array>
#include <utility>

// One registered tag (section "Tag"): a start tag, possibly split in two
// halves with a value asked for between them, and an end tag, under the
// display text that names it in the menus.
struct RegisteredTagRecord
{
    QString view;   // TagView: the slot is in use exactly when this is not empty
    QString before; // TagBefore: the start tag, or its first half
    QString middle; // TagMiddle: when not empty, a value is asked for before it
    QString after;  // TagAfter: the end tag

    bool isUsed() const { return !view.isEmpty(); }
    bool operator==(const RegisteredTagRecord&) const = default;
};

// One external tool (section "Tool").
struct ToolRecord
{
    QString view;    // ToolView: the slot is in use exactly when this is not empty
    QString path;    // ToolPath: the program, possibly followed by arguments
    QString folder;  // ToolFolder: working folder; empty: the program's own folder
    int cmdType = 0; // ToolCmdType: 0 no argument, 1 the document's path, 2 the selection
    int cmdShow = 5; // ToolCmdShow: show code of the first window (5 normal, 2 min, 3 max)

    bool isUsed() const { return !view.isEmpty(); }
    bool operator==(const ToolRecord&) const = default;
};

// Reading and writing the ten slots of each list, and the operations that
// keep the used slots packed from slot 0 (the list dialogs' invariant: line
// n of the list is slot n).
namespace SlotRecords {

template <typename Record> using Slots = std::array<Record, SlotNames::kSlotCount>;

RegisteredTagRecord readRegisteredTag(int slot);
Slots<RegisteredTagRecord> readRegisteredTags();
// Writes all ten slots, empty ones as empty strings.
void writeRegisteredTags(const Slots<RegisteredTagRecord>& tags);

ToolRecord readTool(int slot);
Slots<ToolRecord> readTools();
void writeTools(const Slots<ToolRecord>& tools);

// The tool dialogs show the show code as an index into their size list
// (通常のウィンドウ 5, 最小化 2, 最大化 3). A code the program never writes
// shows as the normal window.
int sizeIndexFromShowCode(int code);
int showCodeFromSizeIndex(int index);

// Number of used slots (after pack(), they are slots 0 to count - 1).
template <typename Record> int usedCount(const Slots<Record>& records)
{
    int n = 0;
    for (const Record& r : records)
        n += r.isUsed() ? 1 : 0;
    return n;
}

// Moves the used slots to the front, keeping their order, so that stored
// slots with a gap still list every used slot at its line.
template <typename Record> void pack(Slots<Record>& records)
{
    Slots<Record> packed;
    int at = 0;
    for (const Record& r : records)
        if (r.isUsed())
            packed[at++] = r;
    for (const Record& r : records)
        if (!r.isUsed())
            packed[at++] = r;
    records = packed;
}

// Removes a slot: the records after it move one place up and the last slot
// becomes a fresh, free record.
template <typename Record> void remove(Slots<Record>& records, int slot)
{
    for (int k = slot; k + 1 < SlotNames::kSlotCount; ++k)
        records[k] = records[k + 1];
    records[SlotNames::kSlotCount - 1] = Record();
}

template <typename Record> void swap(Slots<Record>& records, int a, int b)
{
    std::swap(records[a], records[b]);
}

} // namespace SlotRecords
