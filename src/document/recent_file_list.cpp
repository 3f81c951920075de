#include "document/recent_file_list.h"

#include "core/file_names.h"
#include "core/options.h"
#include "core/settings_store.h"

#include <QDir>

namespace {

QString section()
{
    return QStringLiteral("Recent File List");
}

QString entryName(int number)
{
    return QStringLiteral("File%1").arg(number);
}

// The folder part of a path: everything before the last "/", or "/" itself
// for a file in the root folder.
QString folderOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QString();
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

} // namespace

void CRecentFileList::add(const QString& path)
{
    if (path.isEmpty())
        return;
    const QStringList before = m_entries;
    m_entries.removeAll(path);
    m_entries.prepend(path);
    while (m_entries.size() > kMaxEntries)
        m_entries.removeLast();
    changedFrom(before);
}

void CRecentFileList::remove(int index)
{
    if (index < 0 || index >= m_entries.size())
        return;
    const QStringList before = m_entries;
    m_entries.removeAt(index);
    changedFrom(before);
}

void CRecentFileList::clear()
{
    setEntries(QStringList());
}

void CRecentFileList::setEntries(const QStringList& mostRecentFirst)
{
    const QStringList before = m_entries;
    m_entries.clear();
    for (const QString& path : mostRecentFirst) {
        if (!path.isEmpty() && !m_entries.contains(path) && m_entries.size() < kMaxEntries)
            m_entries.append(path);
    }
    changedFrom(before);
}

void CRecentFileList::changedFrom(const QStringList& before) const
{
    if (m_writesThrough && m_entries != before)
        writeList();
}

void CRecentFileList::readList()
{
    m_entries.clear();
    for (int number = 1; number <= kMaxEntries; ++number) {
        const QString path = getProfileString(section(), entryName(number));
        if (!path.isEmpty() && !m_entries.contains(path))
            m_entries.append(path);
    }
}

void CRecentFileList::writeList() const
{
    ProfileValues values;
    for (int number = 1; number <= kMaxEntries; ++number)
        values.append(
            {section(), entryName(number),
             number <= m_entries.size() ? QVariant(m_entries.at(number - 1)) : QVariant()});
    writeProfileValues(values);
}

QString CRecentFileList::displayName(int index, const QString& currentFolder) const
{
    if (index < 0 || index >= m_entries.size())
        return QString();
    const QString& path = m_entries.at(index);
    if (!currentFolder.isEmpty() && folderOf(path) == QDir::cleanPath(currentFolder))
        return FileNames::displayFileName(path);
    return FileNames::display(path);
}

QString CRecentFileList::menuCaption(int index, const QString& currentFolder) const
{
    QString name = displayName(index, currentFolder);
    if (name.isEmpty())
        return QString();
    name.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(name);
}

QString CRecentFileList::folderOfMostRecentFile() const
{
    return m_entries.isEmpty() ? QString() : folderOf(m_entries.first());
}

bool CRecentFileList::setWorkingFolderToLastUsed() const
{
    const QString folder = folderOfMostRecentFile();
    if (Options::kDefaultFolder.read() == 0 || folder.isEmpty())
        return false;
    return QDir::setCurrent(folder);
}
