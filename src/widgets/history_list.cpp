#include "widgets/history_list.h"

#include "core/settings_store.h"

namespace HistoryList {

QString valueName(const QString& prefix, unsigned slot)
{
    return prefix + QStringLiteral("%1").arg(slot, 2, 10, QLatin1Char('0'));
}

QStringList compacted(const QStringList& slotValues)
{
    QStringList items;
    for (const QString& value : slotValues) {
        if (!value.isEmpty())
            items.append(value);
    }
    return items;
}

QStringList withNewEntry(const QStringList& items, const QString& text)
{
    if (text.isEmpty())
        return items;
    QStringList result = items;
    const qsizetype n = result.size();
    for (qsizetype k = 1; k <= n; ++k) {
        const qsizetype i = k % n;
        if (result.at(i).compare(text, Qt::CaseInsensitive) == 0) {
            result.removeAt(i);
            break;
        }
    }
    result.prepend(text);
    return result;
}

QStringList slotValues(const QStringList& items, unsigned maximum)
{
    QStringList values;
    values.reserve(maximum);
    for (unsigned i = 0; i < maximum; ++i)
        values.append(i < static_cast<unsigned>(items.size()) ? items.at(i) : QString());
    return values;
}

QStringList read(const QString& section, const QString& prefix, unsigned maximum)
{
    QStringList values;
    for (unsigned i = 0; i < maximum; ++i)
        values.append(getProfileString(section, valueName(prefix, i)));
    return compacted(values);
}

void write(const QString& section, const QString& prefix, unsigned maximum,
           const QStringList& items)
{
    const QStringList stored = slotValues(items, maximum);
    ProfileValues values;
    for (unsigned i = 0; i < maximum; ++i)
        values.append({section, valueName(prefix, i), stored.at(i)});
    writeProfileValues(values);
}

} // namespace HistoryList
