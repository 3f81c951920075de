#include "frame/document_manager.h"

#include "core/ui_seam.h"
#include "document/marquill_doc.h"
#include "document/recovery_copy.h"
#include "editor/marquill_view.h"
#include "frame/child_frame.h"
#include "frame/main_frame.h"

#include <QFileInfo>
#include <QMdiArea>

CDocumentManager::CDocumentManager(QObject* parent) : QObject(parent) {}

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

CMarquillDoc* CDocumentManager::openDocument(const QString& path, QString* error)
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
