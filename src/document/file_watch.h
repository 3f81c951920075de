#pragma once

#include <QFileSystemWatcher>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>

class CMyRichEditDoc;

// Watches the files of the open documents, one watcher for all of them. When
// the system says a file changed, the documents of that file are reported
// once the changes have paused for a moment (another program writes in
// several steps). A file replaced by a new one (as saving replaces it) is
// watched again under its name.
class CFileWatch : public QObject
{
    Q_OBJECT

public:
    explicit CFileWatch(QObject* parent = nullptr);

    // Watches the document's file for as long as the document lives,
    // following it when it is saved under another name.
    void watch(CMyRichEditDoc* doc);

    // How long changes must pause before they are reported (milliseconds).
    static constexpr int kQuietMs = 300;

Q_SIGNALS:
    // The file of `doc` changed on disk, or may have.
    void fileChanged(CMyRichEditDoc* doc);

private:
    void update();
    void changed(const QString& path);
    void report();

    QFileSystemWatcher m_watcher;
    QList<QPointer<CMyRichEditDoc>> m_documents;
    QSet<QString> m_changed;
    QTimer m_quiet;
};
