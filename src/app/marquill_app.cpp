#include "app/marquill_app.h"

#include "app/about_dialog.h"
#include "app/hand_off_queue.h"
#include "app/recovery_offer.h"
#include "app/single_instance.h"
#include "commands/app_dialog_commands.h"
#include "commands/command_modules.h"
#include "commands/help_menu.h"
#include "core/options.h"
#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "document/marquill_doc.h"
#include "document/recovery_folder.h"
#include "document/recovery_keeper.h"
#include "editor/marquill_view.h"
#include "frame/child_frame.h"
#include "frame/main_frame.h"
#include "resources/command_ids.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>

namespace {
constexpr IntSetting kShowCmd{"Settings", "ShowCmd", 3};
} // namespace

CMarquillApp::CMarquillApp()
{
    CommandModules::install();
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
            const bool answered = CSingleInstance::handOff(
                file.isEmpty() ? QString() : QFileInfo(file).absoluteFilePath(), 60000, &accepted);
            m_handOffResult = !answered ? 3 : accepted ? 0 : 2;
            return false;
        }
        connect(m_instance, &CSingleInstance::activateRequested, this,
                &CMarquillApp::activateMainWindow);
        // Handed-over files that cannot be opened are reported together.
        m_handOffs = new CHandOffQueue(
            [this](const QString& path, QString* error) {
                return openDocument(path, error) != nullptr;
            },
            [this](const QString& text) {
                UiSeam::messageBox(m_mainFrame, text, QMessageBox::Warning);
            },
            this);
        connect(m_instance, &CSingleInstance::openFileRequested, m_handOffs,
                &CHandOffQueue::enqueue);
    }

    writeProfileValues({Options::kPath.with(programFolder()),
                        Options::kVersion.with(Options::kVersion.defaultValue)});

    m_loadedShowCmd = kShowCmd.read();
    CChildFrame::setShowCmd(m_loadedShowCmd);

    m_recent.readList();

    m_mainFrame = new CMainFrame(this);
    m_mainFrame->setAttribute(Qt::WA_DeleteOnClose, false);

    m_mainFrame->showWithSavedPlacement(1);

    // Unsaved work of a run that ended abnormally comes back first, so that
    // a command-line file among it shows the restored text.
    m_recovery = std::make_unique<CRecoveryKeeper>(CRecoveryFolder::defaultPath());
    m_recoveryOffer = std::make_unique<CRecoveryOffer>(
        *m_recovery, m_mainFrame,
        [this](const RecoveryCopy::Copy& copy) { return restoreDocument(copy) != nullptr; });
    m_recoveryOffer->run();

    if (!file.isEmpty()) {
        // A file that cannot be opened ends the start, unless restored work
        // is open: ending now would lose it.
        if (!openDocumentFile(QFileInfo(file).absoluteFilePath()) && m_documents.isEmpty())
            return false;
    } else if (Options::kFileNew.read() != 0) {
        fileNew();
    }
    m_recent.setWorkingFolderToLastUsed();
    if (singleInstance)
        showTipAtStartUp(m_mainFrame);
    return true;
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
    m_recent.writeList();
}

// --- Commands ------------------------------------------------------------------------

CCommandMapOf<CMarquillApp>& CMarquillApp::commands()
{
    static CCommandMapOf<CMarquillApp> map = [] {
        CCommandMapOf<CMarquillApp> m;
        m.on(Cmd::FileNew, [](CMarquillApp& app) { app.fileNew(); });
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
        m.on(Cmd::DeleteHistory,
             [](CMarquillApp& app) { runHistoryDeletion(app.m_mainFrame, app.m_recent); });
        m.on(Cmd::RecentFile1, Cmd::RecentFile9,
             [](CMarquillApp& app, int id) { app.openRecentFile(id - Cmd::RecentFile1); });
        m.onUpdate(Cmd::RecentFile1, Cmd::RecentFile9, [](CMarquillApp& app, CCmdUI& ui) {
            ui.enable(ui.id() - Cmd::RecentFile1 < app.m_recent.count());
        });
        return m;
    }();
    return map;
}

void CMarquillApp::fileOpen()
{
    m_recent.setWorkingFolderToLastUsed();
    UiSeam::FileDialogRequest request;
    request.title = QStringLiteral("開く");
    request.filter = QStringLiteral("HTML ファイル (*.htm *.html *.stm *.shtml);;"
                                    "テキストファイル (*.txt);;すべてのファイル (*)");
    request.directory = QDir::currentPath();
    const QString path = UiSeam::fileDialog(m_mainFrame, request);
    if (!path.isEmpty())
        openDocumentFile(path);
}

void CMarquillApp::about()
{
    CAboutDialog dialog(m_mainFrame);
    UiSeam::execDialog(dialog);
}

void CMarquillApp::openRecentFile(int index)
{
    if (index < 0 || index >= m_recent.count())
        return;
    if (!openDocumentFile(m_recent.entries().at(index))) {
        // A file that can no longer be opened leaves the list, as in the
        // framework's recent-file menu.
        m_recent.remove(index);
    }
}

// --- Documents -----------------------------------------------------------------------

CMarquillDoc* CMarquillApp::createDocument()
{
    auto* doc = new CMarquillDoc(this);
    auto* view = new CMarquillView;
    doc->setView(view);
    doc->setRecentFileList(&m_recent);
    connect(doc, &CMarquillDoc::saved, this, &CMarquillApp::addToRecentFileList);
    if (m_recovery)
        m_recovery->watch(doc);
    auto* frame = new CChildFrame(doc, view);
    connect(frame, &CChildFrame::closed, this, [this, doc] { removeDocument(doc); });
    return doc;
}

void CMarquillApp::removeDocument(CMarquillDoc* doc)
{
    m_documents.removeAll(doc);
    doc->deleteLater();
    if (m_mainFrame)
        m_mainFrame->updateMenuBar();
    Q_EMIT documentsChanged();
}

CChildFrame* CMarquillApp::frameOf(CMarquillDoc* doc) const
{
    return doc && doc->viewWidget() ? qobject_cast<CChildFrame*>(doc->viewWidget()->parentWidget())
                                    : nullptr;
}

CMarquillDoc* CMarquillApp::fileNew()
{
    CMarquillDoc* doc = createDocument();
    CChildFrame* frame = frameOf(doc);
    m_documents.append(doc);
    if (m_mainFrame)
        m_mainFrame->addChild(frame);
    if (!doc->onNewDocument()) {
        frame->closeWithoutAsking();
        return nullptr;
    }
    Q_EMIT documentsChanged();
    return doc;
}

CMarquillDoc* CMarquillApp::restoreDocument(const RecoveryCopy::Copy& copy)
{
    CMarquillDoc* doc = createDocument();
    CChildFrame* frame = frameOf(doc);
    const DocumentFile::Text text{copy.text, copy.encoding, copy.unconverted};
    if (!doc->onRecoverDocument(text, copy.path, copy.lineEnd, copy.savedUtf8Characters)) {
        frame->closeWithoutAsking();
        delete frame;
        doc->deleteLater();
        return nullptr;
    }
    m_documents.append(doc);
    if (m_mainFrame)
        m_mainFrame->addChild(frame);
    Q_EMIT documentsChanged();
    return doc;
}

CMarquillDoc* CMarquillApp::openDocumentFile(const QString& path)
{
    QString error;
    CMarquillDoc* doc = openDocument(path, &error);
    if (!doc)
        UiSeam::messageBox(m_mainFrame, error, QMessageBox::Warning);
    return doc;
}

CMarquillDoc* CMarquillApp::openDocument(const QString& path, QString* error)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (CMarquillDoc* doc : std::as_const(m_documents)) {
        if (!doc->pathName().isEmpty() && QFileInfo(doc->pathName()) == QFileInfo(absolute)) {
            if (CChildFrame* frame = frameOf(doc)) {
                if (frame->isMinimized())
                    frame->showNormal();
                m_mainFrame->mdiArea()->setActiveSubWindow(frame);
            }
            return doc;
        }
    }
    CMarquillDoc* doc = createDocument();
    CChildFrame* frame = frameOf(doc);
    if (!doc->onOpenDocument(absolute, error)) {
        frame->closeWithoutAsking();
        delete frame;
        doc->deleteLater();
        return nullptr;
    }
    m_documents.append(doc);
    if (m_mainFrame)
        m_mainFrame->addChild(frame);
    addToRecentFileList(doc->pathName());
    Q_EMIT documentsChanged();
    return doc;
}

QList<CMarquillDoc*> CMarquillApp::documents() const
{
    return m_documents;
}

bool CMarquillApp::saveAllModified()
{
    for (CMarquillDoc* doc : std::as_const(m_documents)) {
        if (!doc->isModified())
            continue;
        if (CChildFrame* frame = frameOf(doc))
            m_mainFrame->mdiArea()->setActiveSubWindow(frame);
        if (!doc->saveModified())
            return false;
    }
    return true;
}

void CMarquillApp::closeAllDocumentsWithoutAsking()
{
    const QList<CMarquillDoc*> docs = m_documents;
    for (CMarquillDoc* doc : docs)
        if (CChildFrame* frame = frameOf(doc))
            frame->closeWithoutAsking();
}

// --- Recent files and folders --------------------------------------------------------

void CMarquillApp::addToRecentFileList(const QString& path)
{
    m_recent.add(path);
}

QStringList CMarquillApp::recentFiles() const
{
    return m_recent.entries();
}

QString CMarquillApp::programFolder()
{
    return QCoreApplication::applicationDirPath();
}
