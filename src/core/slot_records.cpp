#include "core/slot_records.h"

#include "core/settings_store.h"

namespace SlotRecords {
namespace {

const QString kTagSection = QStringLiteral("Tag");
const QString kToolSection = QStringLiteral("Tool");

// The value name of a field in a slot: the field word and the slot digit.
QString entry(const char* word, int slot)
{
    return QLatin1String(word) + QChar(u'0' + slot);
}

QString tagField(const char* word, int slot)
{
    return getProfileString(kTagSection, entry(word, slot));
}

} // namespace

RegisteredTagRecord readRegisteredTag(int slot)
{
    return {tagField("TagView", slot), tagField("TagBefore", slot), tagField("TagMiddle", slot),
            tagField("TagAfter", slot)};
}

Slots<RegisteredTagRecord> readRegisteredTags()
{
    Slots<RegisteredTagRecord> tags;
    for (int i = 0; i < SlotNames::kSlotCount; ++i)
        tags[i] = readRegisteredTag(i);
    return tags;
}

void writeRegisteredTags(const Slots<RegisteredTagRecord>& tags)
{
    ProfileValues values;
    for (int i = 0; i < SlotNames::kSlotCount; ++i) {
        values.append({kTagSection, entry("TagView", i), tags[i].view});
        values.append({kTagSection, entry("TagBefore", i), tags[i].before});
        values.append({kTagSection, entry("TagMiddle", i), tags[i].middle});
        values.append({kTagSection, entry("TagAfter", i), tags[i].after});
    }
    writeProfileValues(values);
}

ToolRecord readTool(int slot)
{
    ToolRecord tool;
    tool.view = getProfileString(kToolSection, entry("ToolView", slot));
    tool.path = getProfileString(kToolSection, entry("ToolPath", slot));
    tool.folder = getProfileString(kToolSection, entry("ToolFolder", slot));
    tool.cmdType = getProfileInt(kToolSection, entry("ToolCmdType", slot), 0);
    tool.cmdShow = getProfileInt(kToolSection, entry("ToolCmdShow", slot), 5);
    return tool;
}

Slots<ToolRecord> readTools()
{
    Slots<ToolRecord> tools;
    for (int i = 0; i < SlotNames::kSlotCount; ++i)
        tools[i] = readTool(i);
    return tools;
}

void writeTools(const Slots<ToolRecord>& tools)
{
    ProfileValues values;
    for (int i = 0; i < SlotNames::kSlotCount; ++i) {
        const ToolRecord& tool = tools[i];
        values.append({kToolSection, entry("ToolView", i), tool.view});
        values.append({kToolSection, entry("ToolPath", i), tool.path});
        values.append({kToolSection, entry("ToolFolder", i), tool.folder});
        values.append({kToolSection, entry("ToolCmdType", i), tool.cmdType});
        values.append({kToolSection, entry("ToolCmdShow", i), tool.cmdShow});
    }
    writeProfileValues(values);
}

int sizeIndexFromShowCode(int code)
{
    switch (code) {
    case 2:
        return 1;
    case 3:
        return 2;
    default:
        return 0;
    }
}

int showCodeFromSizeIndex(int index)
{
    switch (index) {
    case 1:
        return 2;
    case 2:
        return 3;
    default:
        return 5;
    }
}

} // namespace SlotRecords
