#include "document/recovery_keeper.h"

#include "core/options.h"
#include "document/document_text.h"
#include "document/my_rich_edit_doc.h"
#include "document/recovery_folder.h"
#include "document/recovery_journal.h"

#include <QCoreApplication>

CRecoveryKeeper::CRecoveryKeeper(const QString& folder, QObject* parent)
    : QObject(parent),
      m_folder(std::make_shared<CRecoveryFolder>(folder, CRecoveryFolder::newInstanceId())),
      m_folderPath(folder), m_instance(m_folder->instance()), m_bootId(CRecoveryFolder::bootId())
{
    m_worker.setMaxThreadCount(1);
    // The lock is taken at once, so that no other instance mistakes this one
    // for a finished one; a failure is tried again with the next journal.
    auto folderRef = m_folder;
    m_worker.start([folderRef] {
        QString ignored;
        folderRef->prepare(&ignored);
    });
}

CRecoveryKeeper::~CRecoveryKeeper()
{
    for (CRecoveryJournal* journal : std::as_const(m_journals))
        delete journal;
    m_journals.clear();
    m_worker.waitForDone();
    m_folder->removeAll();
}

bool CRecoveryKeeper::enabled()
{
    return Options::kRecovery.read() != 0;
}

void CRecoveryKeeper::setWriteDelay(int ms)
{
    m_writeDelayMs = ms;
    for (CRecoveryJournal* journal : std::as_const(m_journals))
        journal->setWriteDelay(ms);
}

void CRecoveryKeeper::setCompaction(qint64 fixedBytes, int divisor, qint64 records, int pauseMs)
{
    m_compaction = std::make_unique<Compaction>(Compaction{fixedBytes, divisor, records, pauseMs});
    for (CRecoveryJournal* journal : std::as_const(m_journals))
        journal->setCompaction(fixedBytes, divisor, records, pauseMs);
}

CRecoveryJournal* CRecoveryKeeper::journalOf(const CMyRichEditDoc* doc) const
{
    return m_journals.value(doc);
}

void CRecoveryKeeper::watch(CMyRichEditDoc* doc)
{
    RecoveryJournalPlace place;
    place.worker = &m_worker;
    place.folder = m_folderPath;
    place.name = QStringLiteral("%1-%2").arg(m_instance).arg(m_nextSerial++);
    place.instance = m_instance;
    place.pid = QCoreApplication::applicationPid();
    place.bootId = m_bootId;
    auto folder = m_folder;
    place.prepare = [folder](QString* error) { return folder->prepare(error); };
    auto* journal = new CRecoveryJournal(place, doc);
    if (m_writeDelayMs >= 0)
        journal->setWriteDelay(m_writeDelayMs);
    if (m_compaction)
        journal->setCompaction(m_compaction->fixedBytes, m_compaction->divisor,
                               m_compaction->records, m_compaction->pauseMs);
    m_journals.insert(doc, journal);
    connect(doc, &CMyRichEditDoc::modifiedChanged, journal, &CRecoveryJournal::modifiedChanged);
    connect(doc, &CMyRichEditDoc::encodingChanged, journal, &CRecoveryJournal::fieldsChanged);
    connect(doc, &CMyRichEditDoc::pathChanged, journal, &CRecoveryJournal::fieldsChanged);
    connect(journal, &CRecoveryJournal::writeFailed, this, [this, doc](const QString& error) {
        // Said once on the console; the editing goes on undisturbed.
        qWarning("Marquill: %s", qPrintable(error));
        Q_EMIT writeFailed(doc, error);
    });
    connect(doc, &QObject::destroyed, this, [this, doc, journal] {
        journal->discard();
        m_journals.remove(doc);
        delete journal;
    });
    if (doc->isModified())
        journal->modifiedChanged(true);
}

bool CRecoveryKeeper::flush()
{
    bool allWritten = true;
    for (CRecoveryJournal* journal : std::as_const(m_journals))
        allWritten = journal->flush() && allWritten;
    m_worker.waitForDone();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    return allWritten;
}
