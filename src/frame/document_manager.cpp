#include "frame/document_manager.h"

#include "core/file_names.h"
#include "core/ui_seam.h"
#include "document/file_watch.h"
#include "document/marquill_doc.h"
#include "document/recovery_copy.h"
#include "editor/marquill_view.h"
#include "frame/child_frame.h"
#include "frame/main_frame.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QPointer>
#include <QScopedValueRollback>

CDocumentManager::CDocumentManager(QObject* parent)
    : QObject(parent), m_fileWatch(new CFileWatch(this))
{
    connect(m_fileWatch, &CFileWatch::fileChanged, this, [this](CMyRichEditDoc* doc) {
        // In the background the question waits until the program is active.
        auto* marquillDoc = qobject_cast<CMarquillDoc*>(doc);
        if (marquillDoc && !m_checkingFiles &&
            QGuiApplication::applicationState() == Qt::ApplicationActive) {
            const QScopedValueRollback checking(m_checkingFiles, true);
            marquillDoc->checkFileOnDisk();
        }
    });
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive)
                    checkFilesOnDisk();
            });
}

void CDocumentManager::checkFilesOnDisk()
{
    if (m_checkingFiles)
        return;
    const QScopedValueRollback checking(m_checkingFiles, true);
    for (const QPointer<CMarquillDoc>& doc :
         QList<QPointer<CMarquillDoc>>(m_documents.begin(), m_documents.end())) {
        if (doc)
            doc->checkFileOnDisk();
    }
}

CDocumentManager::~CDocumentManager() = default;

void CDocumentManager::openRecentFile(int index)
{
    if (index < 0 || index >= m_recent.count())
        return;
    if (!openDocumentFile(m_recent.entries().at(index))) {
        // A file that can no longer be opened leaves the list, as in the
        // framework's recent-file menu.
        m_recent.remove(index);
    }
}

CMarquillDoc* CDocumentManager::createDocument()
{
    auto* doc = new CMarquillDoc(this);
    auto* view = new CMarquillView;
    doc->setView(view);
    doc->setRecentFileList(&m_recent);
    connect(doc, &CMarquillDoc::saved, this, &CDocumentManager::addToRecentFileList);
    m_fileWatch->watch(doc);
    Q_EMIT documentCreated(doc);
    auto* frame = new CChildFrame(doc, view);
    connect(frame, &CChildFrame::closed, this, [this, doc] { removeDocument(doc); });
    return doc;
}

void CDocumentManager::removeDocument(CMarquillDoc* doc)
{
    m_documents.removeAll(doc);
    doc->deleteLater();
    if (m_mainFrame)
        m_mainFrame->updateMenuBar();
    Q_EMIT documentsChanged();
}

CChildFrame* CDocumentManager::frameOf(CMarquillDoc* doc) const
{
    return doc && doc->viewWidget() ? qobject_cast<CChildFrame*>(doc->viewWidget()->parentWidget())
                                    : nullptr;
}

void CDocumentManager::keep(CMarquillDoc* doc)
{
    m_documents.append(doc);
    if (m_mainFrame)
        m_mainFrame->addChild(frameOf(doc));
}

void CDocumentManager::discard(CMarquillDoc* doc)
{
    CChildFrame* frame = frameOf(doc);
    frame->closeWithoutAsking();
    delete frame;
    doc->deleteLater();
}

CMarquillDoc* CDocumentManager::fileNew()
{
    CMarquillDoc* doc = createDocument();
    // Shown first: the new-document step opens its dialog over it.
    keep(doc);
    if (!doc->onNewDocument()) {
        frameOf(doc)->closeWithoutAsking();
        return nullptr;
    }
    Q_EMIT documentsChanged();
    return doc;
}

CMarquillDoc* CDocumentManager::restoreDocument(const RecoveryCopy::Copy& copy)
{
    CMarquillDoc* doc = createDocument();
    const DocumentFile::Text text{copy.text, copy.encoding, copy.unconverted};
    if (!doc->onRecoverDocument(text, copy.path, copy.lineEnd, copy.savedUtf8Characters)) {
        discard(doc);
        return nullptr;
    }
    keep(doc);
    Q_EMIT documentsChanged();
    return doc;
}

JournalReplay::Outcome CDocumentManager::restoreJournal(const CFoundJournal& journal, bool partial)
{
    CMarquillDoc* doc = createDocument();
    const JournalReplay::Outcome outcome = doc->onRecoverJournal(journal, partial);
    if (outcome != JournalReplay::Outcome::Restored) {
        discard(doc);
        return outcome;
    }
    keep(doc);
    Q_EMIT documentsChanged();
    return outcome;
}

CMarquillDoc* CDocumentManager::openDocumentFile(const QString& path)
{
    QString error;
    CMarquillDoc* doc = openDocument(path, &error);
    if (!doc)
        UiSeam::messageBox(m_mainFrame, error, QMessageBox::Warning);
    return doc;
}

CMarquillDoc* CDocumentManager::documentOf(const QString& path) const
{
    for (CMarquillDoc* doc : m_documents)
        if (!doc->pathName().isEmpty() && FileNames::sameFile(doc->pathName(), path))
            return doc;
    return nullptr;
}

CMarquillDoc* CDocumentManager::openDocument(const QString& path, QString* error)
{
    // A name Qt read with U+FFFD in place of bytes that are not UTF-8 (the
    // file dialog, a dropped file) is looked up among the real names.
    const QString absolute = FileNames::findLossyName(QFileInfo(path).absoluteFilePath());
    if (CMarquillDoc* doc = documentOf(absolute)) {
        if (CChildFrame* frame = frameOf(doc)) {
            if (frame->isMinimized())
                frame->showNormal();
            m_mainFrame->mdiArea()->setActiveSubWindow(frame);
        }
        return doc;
    }
    CMarquillDoc* doc = createDocument();
    if (!doc->onOpenDocument(absolute, error)) {
        discard(doc);
        return nullptr;
    }
    keep(doc);
    addToRecentFileList(doc->pathName());
    Q_EMIT documentsChanged();
    return doc;
}

bool CDocumentManager::saveAllModified()
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

void CDocumentManager::closeAllDocumentsWithoutAsking()
{
    const QList<CMarquillDoc*> docs = m_documents;
    for (CMarquillDoc* doc : docs)
        if (CChildFrame* frame = frameOf(doc))
            frame->closeWithoutAsking();
}

void CDocumentManager::addToRecentFileList(const QString& path)
{
    m_recent.add(path);
}

QStringList CDocumentManager::recentFiles() const
{
    return m_recent.entries();
}
