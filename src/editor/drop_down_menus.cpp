#include "editor/drop_down_menus.h"

#include "core/slot_names.h"
#include "resources/command_ids.h"

namespace DropDownMenus {
namespace {

QList<Item> slotItems(const SlotNames::List& list, int firstId)
{
    const QStringList names = SlotNames::read(list);
    if (names.isEmpty())
        return {{0, QStringLiteral("(なし)")}};
    QList<Item> items;
    for (int i = 0; i < names.size(); ++i)
        // An ampersand in the user's name is shown, not taken as a mnemonic.
        items.append(
            {firstId + i, QStringLiteral("&") + QString::number(i) + QLatin1Char(' ') +
                              QString(names[i]).replace(QLatin1Char('&'), QStringLiteral("&&"))});
    return items;
}

} // namespace

QList<Item> items(int commandId)
{
    switch (commandId) {
    case Cmd::HeadingMenu:
        return {{Cmd::Heading1, QStringLiteral("見出し 1 (大)")},
                {Cmd::Heading1 + 1, QStringLiteral("見出し 2")},
                {Cmd::Heading1 + 2, QStringLiteral("見出し 3 (中)")},
                {Cmd::Heading1 + 3, QStringLiteral("見出し 4")},
                {Cmd::Heading1 + 4, QStringLiteral("見出し 5")},
                {Cmd::Heading6, QStringLiteral("見出し 6 (小)")}};
    case Cmd::RegisteredTagMenu:
        return slotItems(SlotNames::kRegisteredTags, Cmd::RegisteredTag0);
    case Cmd::ToolMenu:
        return slotItems(SlotNames::kTools, Cmd::Tool0);
    default:
        return {};
    }
}

} // namespace DropDownMenus
