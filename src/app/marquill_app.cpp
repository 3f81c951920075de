#include "app/marquill_app.h"

#include "app/about_dialog.h"
#include "app/hand_off_queue.h"
#include "app/recovery_offer.h"
#include "app/saving_leftover_offer.h"
#include "app/single_instance.h"
#include "commands/app_dialog_commands.h"
#include "commands/command_modules.h"
#include "commands/help_menu.h"
#include "core/options.h"
#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "document/in_place_write.h"
#include "document/marquill_doc.h"
#include "document/recovery_folder.h"
#include "document/recovery_keeper.h"
#include "frame/child_frame.h"
#include "frame/document_manager.h"
#include "frame/last_session.h"
#include "frame/main_frame.h"
#include "resources/command_ids.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {
constexpr IntSetting kShowCmd{"Settings", "ShowCmd", 3};
// A running instance answers a second start at once, before it opens the
// file; one that has not answered by then is not going to.
constexpr int kHandOffTimeoutMs = 5000;
} // namespace

CMarquillApp::CMarquillApp() : m_documents(new CDocumentManager(this))
{
    CommandModules::install();
    connect(m_documents, &CDocumentManager::documentCreated, this, [this](CMarquillDoc* doc) {
        if (m_recovery)
            m_recovery->watch(doc);
    });
}

CMarquillApp::~CMarquillApp()
{
    // A normal end: this run's recovery copies go before the documents do.
    m_recoveryOffer.reset();
    m_recovery.reset();
}

// --- Start-up and exit -------------------------------------------------------------

QString CMarquillApp::commandLineFile(const QStringList& arguments)
{
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--"))
            return i + 1 < arguments.size() ? arguments[i + 1] : QString();
        if (!arguments[i].startsWith(QLatin1Char('-')))
            return arguments[i];
    }
    return QString();
}

bool CMarquillApp::initInstance(const QStringList& arguments, bool singleInstance)
{
    const QString file = commandLineFile(arguments);
    if (singleInstance) {
        m_instance = new CSingleInstance(this);
        if (!m_instance->tryBecomePrimary()) {
            // Another instance of this user runs: it gets the file (made
            // absolute here, against this start's folder) and this one ends
            // once it has answered.
            bool accepted = false;
            const QString path = file.isEmpty() ? QString() : QFileInfo(file).absoluteFilePath();
            const bool answered = CSingleInstance::handOff(path, kHandOffTimeoutMs, &accepted);
            m_handOffResult = !answered ? 3 : accepted ? 0 : 2;
            if (!answered)
                reportSilentInstance(path);
            return false;
        }
        connect(m_instance, &CSingleInstance::activateRequested, this,
                &CMarquillApp::activateMainWindow);
        // Handed-over files that cannot be opened are reported together.
        m_handOffs = new CHandOffQueue(
            [this](const QString& path, QString* error) {
                return m_documents->openDocument(path, error) != nullptr;
            },
            [this](const QString& text) {
                UiSeam::messageBox(m_mainFrame, text, QMessageBox::Warning);
            },
            this);
        connect(m_instance, &CSingleInstance::openFileRequested, m_handOffs,
                &CHandOffQueue::enqueue);
        // A file handed over during start-up is what the user asked for:
        // the last session is then not opened as well.
        connect(m_instance, &CSingleInstance::openFileRequested, this,
                [this] { m_fileHandedOver = true; });
    }

    writeProfileValues({Options::kPath.with(programFolder()),
                        Options::kVersion.with(Options::kVersion.defaultValue)});

    m_loadedShowCmd = kShowCmd.read();
    CChildFrame::setShowCmd(m_loadedShowCmd);

    m_documents->recentFileList().readList();
    // Every change is on disk at once: a crash loses none of the list.
    m_documents->recentFileList().setWritesThrough(true);

    m_mainFrame = new CMainFrame(m_documents, this);
    m_documents->setMainFrame(m_mainFrame);
    m_mainFrame->setAttribute(Qt::WA_DeleteOnClose, false);

    m_mainFrame->showWithSavedPlacement(1);

    // A save cut short by the end of an earlier run: the file may be half
    // written, and its old bytes wait in the saving folder.
    SavingLeftoverOffer::run(m_mainFrame, InPlaceWrite::backupFolder());

    // Unsaved work of a run that ended abnormally comes back first, so that
    // a command-line file among it shows the restored text.
    m_recovery = std::make_unique<CRecoveryKeeper>(CRecoveryFolder::defaultPath());
    connect(m_recovery.get(), &CRecoveryKeeper::writeFailed, this,
            [this](CMyRichEditDoc*, const QString& error) { tellRecoveryFailure(error); });
    m_recoveryOffer = std::make_unique<CRecoveryOffer>(
        *m_recovery, m_mainFrame,
        [this](const CFoundJournal& journal, bool partial) {
            return m_documents->restoreJournal(journal, partial);
        },
        [this](const RecoveryCopy::Copy& copy) {
            return m_documents->restoreDocument(copy) != nullptr;
        });
    m_recoveryOffer->run();

    if (!file.isEmpty()) {
        // A file that cannot be opened ends the start, unless restored work
        // is open: ending now would lose it.
        if (!m_documents->openDocumentFile(QFileInfo(file).absoluteFilePath()) &&
            m_documents->documents().isEmpty())
            return false;
    } else if (m_fileHandedOver || LastSession::restore(*m_documents, *m_mainFrame) == 0) {
        if (Options::kFileNew.read() != 0)
            m_documents->fileNew();
    }
    m_documents->recentFileList().setWorkingFolderToLastUsed();
    if (singleInstance)
        showTipAtStartUp(m_mainFrame);
    return true;
}

void CMarquillApp::reportSilentInstance(const QString& path)
{
    QString text = QStringLiteral("すでに起動している Marquill が %1 秒たっても応答しません。")
                       .arg(kHandOffTimeoutMs / 1000);
    if (!path.isEmpty())
        text += QStringLiteral("\n%1 は開いていません。").arg(path);
    text += QStringLiteral("\n起動している Marquill を確かめてから、もう一度開いてください。");
    fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    fflush(stderr);
    UiSeam::messageBox(nullptr, text, QMessageBox::Warning);
}

void CMarquillApp::activateMainWindow()
{
    if (!m_mainFrame)
        return;
    // A minimised window is restored; otherwise it is brought forward.
    if (m_mainFrame->isMinimized())
        m_mainFrame->showNormal();
    else {
        m_mainFrame->raise();
        m_mainFrame->activateWindow();
    }
}

void CMarquillApp::exitInstance()
{
    if (CChildFrame::showCmd() != m_loadedShowCmd)
        kShowCmd.write(CChildFrame::showCmd());
}

// Editing goes on when unsaved work cannot be kept for recovery, but the user
// learns of it, once for each cause: another document failing for the same
// reason says nothing new.
void CMarquillApp::tellRecoveryFailure(const QString& error)
{
    if (m_recoveryFailuresTold.contains(error))
        return;
    m_recoveryFailuresTold.insert(error);
    UiSeam::messageBox(m_mainFrame,
                       QStringLiteral("保存していない変更を回復用に記録できません。\n%1\n\n"
                                      "回復用フォルダ: %2\n\n編集は続けられますが、Marquill が"
                                      "異常終了したときには、保存していない変更を復元できません。")
                           .arg(error, m_recovery->folder()),
                       QMessageBox::Warning);
}

// --- Commands ------------------------------------------------------------------------

CCommandMapOf<CMarquillApp>& CMarquillApp::commands()
{
    static CCommandMapOf<CMarquillApp> map = [] {
        CCommandMapOf<CMarquillApp> m;
        m.on(Cmd::FileNew, [](CMarquillApp& app) { app.m_documents->fileNew(); });
        m.on(Cmd::FileOpen, &CMarquillApp::fileOpen);
        m.on(Cmd::AppAbout, &CMarquillApp::about);
        for (int id :
             {int(Cmd::HelpFinder), int(Cmd::DefaultHelp), int(Cmd::Help), int(Cmd::ContextHelp)})
            m.on(id, [](CMarquillApp& app) { HelpMenu::openGuide(app.m_mainFrame); });
        m.on(Cmd::AppExit, [](CMarquillApp& app) {
            if (app.m_mainFrame)
                app.m_mainFrame->close();
        });
        m.on(Cmd::TipOfTheDay, [](CMarquillApp& app) { showTipOfTheDay(app.m_mainFrame); });
        // The File menu lists the remaining files the next time it opens.
        m.on(Cmd::DeleteHistory, [](CMarquillApp& app) {
            runHistoryDeletion(app.m_mainFrame, app.m_documents->recentFileList());
        });
        m.on(Cmd::RecentFile1, Cmd::RecentFile9, [](CMarquillApp& app, int id) {
            app.m_documents->openRecentFile(id - Cmd::RecentFile1);
        });
        m.onUpdate(Cmd::RecentFile1, Cmd::RecentFile9, [](CMarquillApp& app, CCmdUI& ui) {
            ui.enable(ui.id() - Cmd::RecentFile1 < app.m_documents->recentFileList().count());
        });
        return m;
    }();
    return map;
}

void CMarquillApp::fileOpen()
{
    m_documents->recentFileList().setWorkingFolderToLastUsed();
    UiSeam::FileDialogRequest request;
    request.title = QStringLiteral("開く");
    request.filter = QStringLiteral("HTML ファイル (*.htm *.html *.stm *.shtml);;"
                                    "テキストファイル (*.txt);;すべてのファイル (*)");
    request.directory = QDir::currentPath();
    const QString path = UiSeam::fileDialog(m_mainFrame, request);
    if (!path.isEmpty())
        m_documents->openDocumentFile(path);
}

void CMarquillApp::about()
{
    CAboutDialog dialog(m_mainFrame);
    UiSeam::execDialog(dialog);
}

QString CMarquillApp::programFolder()
{
    return QCoreApplication::applicationDirPath();
}
