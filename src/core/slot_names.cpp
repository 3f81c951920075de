#include "core/slot_names.h"

#include "core/settings_store.h"

namespace SlotNames {

QStringList read(const List& list)
{
    QStringList names;
    for (int i = 0; i < kSlotCount; ++i) {
        const QString name = getProfileString(QString::fromLatin1(list.section),
                                              QString::fromLatin1(list.word) + QChar(u'0' + i));
        if (name.isEmpty())
            break;
        names.append(name);
    }
    return names;
}

} // namespace SlotNames
