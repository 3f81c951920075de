#pragma once

#include "document/found_journal.h"
#include "document/recent_file_list.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class CChildFrame;
class CFileWatch;
class CMainFrame;
class CMarquillDoc;
namespace RecoveryCopy {
struct Copy;
}

// The open documents and the recent-file list. Each document is a
// CMarquillDoc shown by one CMarquillView in a CChildFrame of the main frame;
// the manager makes, opens, restores and closes them, and adds every file
// opened or saved to the recent-file list. The application owns it; the main
// frame asks it to save before closing, opens the files dropped on the window
// and shows its recent files.
class CDocumentManager : public QObject
{
    Q_OBJECT

public:
    explicit CDocumentManager(QObject* parent = nullptr);
    ~CDocumentManager() override;

    // The main window the document windows are put in; its messages' parent.
    void setMainFrame(CMainFrame* frame) { m_mainFrame = frame; }

    QList<CMarquillDoc*> documents() const { return m_documents; }
    CChildFrame* frameOf(CMarquillDoc* doc) const;
    // The open document of the file at path (by the file itself, not the
    // spelling of its path); null when none is open.
    CMarquillDoc* documentOf(const QString& path) const;

    // A new document in a new window, filled by the new-document step;
    // null when the document could not be made.
    CMarquillDoc* fileNew();
    // Opens path, or activates its window when it is open already. Shows
    // the error and returns null when the file cannot be read.
    CMarquillDoc* openDocumentFile(const QString& path);
    // The same, showing nothing: on failure returns null with the reason in
    // *error.
    CMarquillDoc* openDocument(const QString& path, QString* error);
    // Opens unsaved work kept from an earlier run in a new document window.
    CMarquillDoc* restoreDocument(const RecoveryCopy::Copy& copy);
    // Opens a document from a journal an earlier run left (partial: only its
    // trusted edits, untitled).
    JournalReplay::Outcome restoreJournal(const CFoundJournal& journal, bool partial);
    // Asks each modified document whether to save; false when cancelled.
    bool saveAllModified();
    void closeAllDocumentsWithoutAsking();

    // The recent-file list (9 entries, most recent first).
    CRecentFileList& recentFileList() { return m_recent; }
    const CRecentFileList& recentFileList() const { return m_recent; }
    void addToRecentFileList(const QString& path);
    QStringList recentFiles() const;
    // Opens entry index of the list; a file that can no longer be opened
    // leaves the list, as in the framework's recent-file menu.
    void openRecentFile(int index);

    // Asks each document about changes other programs made to its file
    // (CMarquillDoc::checkFileOnDisk). Runs whenever the program becomes
    // active, and for a document whose file the watch reports while it is.
    void checkFilesOnDisk();

Q_SIGNALS:
    void documentsChanged();
    // A document has been made, before any text is put into it.
    void documentCreated(CMarquillDoc* doc);

private:
    CMarquillDoc* createDocument();
    // Takes a made document into the list and shows its window.
    void keep(CMarquillDoc* doc);
    // Lets go of a made document that could not be filled, unshown.
    void discard(CMarquillDoc* doc);
    void removeDocument(CMarquillDoc* doc);

    CMainFrame* m_mainFrame = nullptr;
    QList<CMarquillDoc*> m_documents;
    CRecentFileList m_recent;
    CFileWatch* m_fileWatch = nullptr;
    bool m_checkingFiles = false;
};
