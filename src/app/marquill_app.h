#pragma once

#include "document/recent_file_list.h"
#include "frame/document_manager.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <memory>

class CMainFrame;
class CMarquillDoc;
class CChildFrame;
class CSingleInstance;
class CHandOffQueue;
class CRecoveryKeeper;
class CRecoveryOffer;
namespace RecoveryCopy {
struct Copy;
}

// The application object: the start-up sequence, the documents (one
// CMarquillDoc per CChildFrame with a CMarquillView), the recent-file list and
// the last-used folder, and the application-level commands (New, Open, About,
// the recent files, exit). Constructing it installs the view commands.
class CMarquillApp : public QObject, public CDocumentManager
{
    Q_OBJECT

public:
    CMarquillApp();
    ~CMarquillApp() override;

    // The application-level commands: New, Open, the recent files, About,
    // help, the tip of the day, the history deletion, exit.
    static CCommandMapOf<CMarquillApp>& commands();
    const CCommandMap& commandMap() const override { return commands(); }

    // Runs the start-up steps; false means the program should exit now
    // (another instance took the file, or the command-line file failed).
    // With singleInstance, a running instance of the same user gets the
    // command-line file instead and this one ends. singleInstance marks the
    // program's own interactive start, which also reads the tip of the day
    // and shows it unless the user switched that off; starts by tests and
    // benchmarks leave the tips alone.
    bool initInstance(const QStringList& arguments, bool singleInstance = false);
    // Exit code of a start that handed its file to the running instance:
    // 0 when the running instance took it (or there was none), 2 when it
    // refused it, 3 when it did not answer; -1 when this start handed
    // nothing over. Whether the file could be opened is told by the running
    // instance, not by this start.
    int handOffResult() const { return m_handOffResult; }
    // Writes what is saved at exit (document window show state, recent files).
    void exitInstance();

    CMainFrame* mainFrame() const { return m_mainFrame; }

    CMarquillDoc* openDocumentFile(const QString& path) override;
    CMarquillDoc* fileNew();
    // Opens unsaved work kept from an earlier run in a new document window.
    CMarquillDoc* restoreDocument(const RecoveryCopy::Copy& copy);
    // The keeper of this run's recovery copies (null before start-up).
    CRecoveryKeeper* recoveryKeeper() const { return m_recovery.get(); }
    QList<CMarquillDoc*> documents() const override;
    CChildFrame* frameOf(CMarquillDoc* doc) const;
    bool saveAllModified() override;
    void closeAllDocumentsWithoutAsking() override;

    void addToRecentFileList(const QString& path);
    QStringList recentFiles() const;
    const CRecentFileList& recentFileList() const override { return m_recent; }

    // The folder that holds the program file.
    static QString programFolder();

    // The file the command line names: the first argument after the program
    // name that is not a switch ("-..."); after "--" every argument is a
    // file, so names starting with "-" can be opened too. Empty when none.
    static QString commandLineFile(const QStringList& arguments);

Q_SIGNALS:
    void documentsChanged();

private:
    void fileOpen();
    void about();
    void openRecentFile(int index);
    CMarquillDoc* createDocument();
    // Opens path, or activates its window when it is open already; on
    // failure returns null with the reason in *error, showing nothing.
    CMarquillDoc* openDocument(const QString& path, QString* error);
    void removeDocument(CMarquillDoc* doc);

    void activateMainWindow();

    CMainFrame* m_mainFrame = nullptr;
    CSingleInstance* m_instance = nullptr;
    CHandOffQueue* m_handOffs = nullptr;
    QList<CMarquillDoc*> m_documents;
    CRecentFileList m_recent;
    int m_handOffResult = -1;
    int m_loadedShowCmd = 3; // the document windows' show state read at start-up
    std::unique_ptr<CRecoveryKeeper> m_recovery;
    std::unique_ptr<CRecoveryOffer> m_recoveryOffer;
};
