#include "document/session_store.h"

#include "core/settings_store.h"

#include <climits>

namespace SessionStore {
namespace {

const QString kSection = QStringLiteral("Session");
const QString kCount = QStringLiteral("Count");
const QString kActive = QStringLiteral("Active");

QString numbered(const char* word, int n)
{
    return QString::fromLatin1(word) + QString::number(n);
}

int storedCount()
{
    return qBound(0, getProfileInt(kSection, kCount, 0), kMaxEntries);
}

// Removal of the values of files from..to (numbered from 1).
void removeEntries(ProfileValues& values, int from, int to)
{
    for (int n = from; n <= to; ++n)
        for (const char* word : {"File", "Caret", "Top"})
            values.append({kSection, numbered(word, n), QVariant()});
}

// Positions are stored as the store's 32-bit integers.
int storedPosition(qint64 pos)
{
    return int(qBound(qint64(0), pos, qint64(INT_MAX)));
}

} // namespace

Session read()
{
    Session session;
    const int count = storedCount();
    const int active = getProfileInt(kSection, kActive, 0);
    for (int n = 1; n <= count; ++n) {
        Entry entry;
        entry.path = getProfileString(kSection, numbered("File", n));
        if (entry.path.isEmpty())
            continue;
        entry.caret = qMax(0, getProfileInt(kSection, numbered("Caret", n), 0));
        entry.topLine = qMax(0, getProfileInt(kSection, numbered("Top", n), 0));
        if (n == active)
            session.active = int(session.entries.size());
        session.entries.append(entry);
    }
    return session;
}

bool write(const Session& session)
{
    const int count = int(qMin<qsizetype>(session.entries.size(), kMaxEntries));
    ProfileValues values;
    values.append({kSection, kCount, count});
    values.append({kSection, kActive,
                   session.active >= 0 && session.active < count ? session.active + 1 : 0});
    for (int i = 0; i < count; ++i) {
        const Entry& e = session.entries[i];
        values.append({kSection, numbered("File", i + 1), e.path});
        values.append({kSection, numbered("Caret", i + 1), storedPosition(e.caret)});
        values.append({kSection, numbered("Top", i + 1), storedPosition(e.topLine)});
    }
    removeEntries(values, count + 1, storedCount());
    return writeProfileValues(values);
}

void clear()
{
    if (getProfileInt(kSection, kCount, -1) < 0)
        return;
    ProfileValues values{{kSection, kCount, QVariant()}, {kSection, kActive, QVariant()}};
    removeEntries(values, 1, storedCount());
    writeProfileValues(values);
}

} // namespace SessionStore
