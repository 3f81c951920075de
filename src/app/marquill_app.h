#pragma once

#include "core/command_target.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QStringList>

#include <memory>

class CDocumentManager;
class CMainFrame;
class CSingleInstance;
class CHandOffQueue;
class CRecoveryKeeper;
class CRecoveryOffer;
// The application object: the start-up sequence, the single-instance
// hand-off, the recovery of unsaved work, and the application-level commands
// (New, Open, About, the recent files, exit). Its document manager holds the
// documents and the recent-file list. Constructing it installs the view
// commands.
class CMarquillApp : public QObject, public CCommandTarget
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
    // The open documents and the recent-file list.
    CDocumentManager* documentManager() const { return m_documents; }
    // The keeper of this run's recovery copies (null before start-up).
    CRecoveryKeeper* recoveryKeeper() const { return m_recovery.get(); }

    // The folder that holds the program file.
    static QString programFolder();

    // The file the command line names: the first argument after the program
    // name that is not a switch ("-..."); after "--" every argument is a
    // file, so names starting with "-" can be opened too. Empty when none.
    static QString commandLineFile(const QStringList& arguments);

private:
    void fileOpen();
    void about();
    void activateMainWindow();
    // Tells the user (and the terminal) that the running instance did not
    // answer a second start, which handed it path (empty: none).
    static void reportSilentInstance(const QString& path);
    void tellRecoveryFailure(const QString& error);

    CDocumentManager* m_documents;
    CMainFrame* m_mainFrame = nullptr;
    CSingleInstance* m_instance = nullptr;
    CHandOffQueue* m_handOffs = nullptr;
    int m_handOffResult = -1;
    bool m_fileHandedOver = false;
    int m_loadedShowCmd = 3; // the document windows' show state read at start-up
    std::unique_ptr<CRecoveryKeeper> m_recovery;
    std::unique_ptr<CRecoveryOffer> m_recoveryOffer;
    QSet<QString> m_recoveryFailuresTold;
};
