#pragma once

#include "document/recent_file_list.h"
#include "core/command_target.h"

#include <QList>
#include <QObject>
#include <QStringList>

class CMainFrame;
class CMarquillDoc;
class CChildFrame;
class CSingleInstance;

// The application object: the start-up sequence, the documents (one
// CMarquillDoc per CChildFrame with a CMarquillView), the recent-file list and
// the last-used folder, and the application-level commands (New, Open, About,
// the recent files, exit).
class CMarquillApp : public QObject, public CCommandTarget
{
    Q_OBJECT

public:
    CMarquillApp();
    ~CMarquillApp() override;

    static CMarquillApp* instance();

    // Runs the start-up steps; false means the program should exit now
    // (another instance took the file, or the command-line file failed).
    // With singleInstance, a running instance of the same user gets the
    // command-line file instead and this one ends.
    bool InitInstance(const QStringList& arguments, bool singleInstance = false);
    // Exit code of a start that handed its file to the running instance:
    // 0 when the file was opened there (or there was none), 2 when the
    // running instance could not open it, 3 when it did not answer; -1
    // when this start handed nothing over.
    int handOffResult() const { return m_handOffResult; }
    // Writes what is saved at exit (document window show state, recent files).
    void ExitInstance();

    CMainFrame* mainFrame() const { return m_mainFrame; }

    // Opens path, or activates its window when it is open already. Shows
    // the error and returns nullptr when the file cannot be read.
    CMarquillDoc* OpenDocumentFile(const QString& path);
    CMarquillDoc* FileNew();
    QList<CMarquillDoc*> documents() const;
    CChildFrame* frameOf(CMarquillDoc* doc) const;
    // Asks each modified document whether to save; false when cancelled.
    bool SaveAllModified();
    void closeAllDocumentsWithoutAsking();

    // Recent-file list (9 entries, most recent first).
    void addToRecentFileList(const QString& path);
    QStringList recentFiles() const;
    CRecentFileList& recentFileList() { return m_recent; }
    // Menu caption of entry i ("&1 name"), relative to the program folder.
    QString recentFileCaption(int index) const;

    // The folder of the most recent file (empty without one).
    static QString folderOfMostRecentFile();
    // With "DefaultFolder" set, makes the most recent file's folder current.
    static void setWorkingFolderToLastUsed();
    // The folder that holds the program file.
    static QString programFolder();

    // Document-window show state: 3 maximised, 1 normal.
    static int childShowCmd();
    static void setChildShowCmd(int showCmd);

Q_SIGNALS:
    void documentsChanged();

private:
    void registerCommands();
    void fileOpen();
    void about();
    void openRecentFile(int index);
    CMarquillDoc* createDocument();
    static QString commandLineFile(const QStringList& arguments);
    void removeDocument(CMarquillDoc* doc);

    void activateMainWindow();

    CMainFrame* m_mainFrame = nullptr;
    CSingleInstance* m_instance = nullptr;
    QList<CMarquillDoc*> m_documents;
    CRecentFileList m_recent;
    int m_handOffResult = -1;
};
