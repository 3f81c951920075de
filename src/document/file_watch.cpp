#include "document/file_watch.h"

#include "document/my_rich_edit_doc.h"

CFileWatch::CFileWatch(QObject* parent) : QObject(parent)
{
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(kQuietMs);
    connect(&m_quiet, &QTimer::timeout, this, &CFileWatch::report);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &CFileWatch::changed);
}

void CFileWatch::watch(CMyRichEditDoc* doc)
{
    m_documents.append(doc);
    connect(doc, &CMyRichEditDoc::pathChanged, this, &CFileWatch::update);
    connect(doc, &CMyRichEditDoc::diskStateRecorded, this, &CFileWatch::update);
    connect(doc, &QObject::destroyed, this, &CFileWatch::update, Qt::QueuedConnection);
    update();
}

// Watches exactly the files of the living documents that exist now.
void CFileWatch::update()
{
    m_documents.removeAll(nullptr);
    QSet<QString> wanted;
    for (const auto& doc : std::as_const(m_documents)) {
        if (!doc->pathName().isEmpty())
            wanted.insert(doc->pathName());
    }
    const QStringList watched = m_watcher.files();
    for (const QString& path : watched) {
        if (!wanted.contains(path))
            m_watcher.removePath(path);
    }
    // A file replaced by a new one has left the watch: adding it again
    // watches the new file.
    for (const QString& path : std::as_const(wanted)) {
        if (!watched.contains(path))
            m_watcher.addPath(path);
    }
}

void CFileWatch::changed(const QString& path)
{
    m_changed.insert(path);
    m_quiet.start();
}

void CFileWatch::report()
{
    const QSet<QString> changed = std::exchange(m_changed, {});
    update();
    for (const auto& doc : QList<QPointer<CMyRichEditDoc>>(m_documents)) {
        if (doc && changed.contains(doc->pathName()))
            Q_EMIT fileChanged(doc);
    }
}
