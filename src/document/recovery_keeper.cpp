#include "document/recovery_keeper.h"

#include "core/options.h"
#include "document/document_text.h"
#include "document/my_rich_edit_doc.h"
#include "document/recovery_folder.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>

#include <new>
#include <optional>

namespace {

// Writes one copy; never throws, so that it can run on the worker thread.
bool writeCopy(CRecoveryFolder& folder, int serial, const RecoveryCopy::Copy& copy, QString* error)
{
    try {
        return folder.write(serial, RecoveryCopy::encodeParts(copy), error);
    } catch (const std::bad_alloc&) {
        *error = QStringLiteral("回復用ファイルを書くためのメモリが足りません");
        return false;
    }
}

} // namespace

// The copy of one document: when it is due, whether a write is under way,
// and whether a file may be on disk.
class RecoveryDocumentCopy : public QObject
{
public:
    RecoveryDocumentCopy(CRecoveryKeeper* keeper, CMyRichEditDoc* doc, int serial)
        : QObject(keeper), m_keeper(keeper), m_doc(doc), m_serial(serial)
    {
        m_timer.setSingleShot(true);
        connect(&m_timer, &QTimer::timeout, this, &RecoveryDocumentCopy::take);
    }

    CMyRichEditDoc* document() const { return m_doc; }
    int serial() const { return m_serial; }
    quint64 generation() const { return m_generation; }

    // Every edit: one check while a copy is already due.
    void changed()
    {
        if (m_writing)
            m_again = true;
        else if (!m_timer.isActive())
            m_timer.start(m_keeper->copyInterval());
    }

    void modifiedChanged(bool modified)
    {
        if (modified)
            changed();
        else
            discard();
    }

    // The document's changes were saved or given up: its copy goes.
    void discard()
    {
        ++m_generation;
        m_timer.stop();
        m_again = false;
        if (m_onDisk)
            m_keeper->submitRemoval(m_serial);
        m_onDisk = false;
    }

    bool due() const { return m_timer.isActive() || m_again; }

    // Takes the copy now; empty when there is nothing to keep.
    std::optional<RecoveryCopy::Copy> snapshot()
    {
        m_timer.stop();
        m_again = false;
        if (!m_doc || !m_doc->view() || !m_doc->isModified())
            return std::nullopt;
        if (!CRecoveryKeeper::enabled()) {
            discard();
            return std::nullopt;
        }
        RecoveryCopy::Copy copy;
        copy.path = m_doc->pathName();
        copy.title =
            copy.path.isEmpty() ? CMyRichEditDoc::untitledName() : QFileInfo(copy.path).fileName();
        copy.encoding = m_doc->encoding();
        copy.unconverted = m_doc->isUnconverted();
        copy.savedUtf8Characters = m_doc->savedUtf8Characters();
        copy.lineEnd = m_doc->view()->typedLineEnd();
        copy.written = QDateTime::currentDateTimeUtc();
        copy.text = m_doc->view()->textBytes();
        m_keeper->stamp(copy);
        m_onDisk = true;
        return copy;
    }

    void take()
    {
        if (m_writing)
            return;
        std::optional<RecoveryCopy::Copy> copy;
        try {
            copy = snapshot();
        } catch (const std::bad_alloc&) {
            // No room for the copy now: the text stays as it is, and the
            // copy is tried again later.
            m_timer.start(m_keeper->retryInterval());
            return;
        }
        if (copy) {
            m_writing = true;
            m_keeper->submitWrite(m_serial, m_generation, std::move(*copy));
        }
    }

    void finished(quint64 generation, bool ok)
    {
        m_writing = false;
        if (!ok && generation == m_generation)
            m_timer.start(m_keeper->retryInterval());
        else if (m_again)
            m_timer.start(m_keeper->copyInterval());
        m_again = false;
    }

private:
    CRecoveryKeeper* m_keeper;
    QPointer<CMyRichEditDoc> m_doc;
    int m_serial;
    QTimer m_timer;
    quint64 m_generation = 0; // raised whenever the copy is discarded
    bool m_writing = false;
    bool m_again = false;  // changed while a write was under way
    bool m_onDisk = false; // a file may exist
};

CRecoveryKeeper::CRecoveryKeeper(const QString& folder, QObject* parent)
    : QObject(parent),
      m_folder(std::make_shared<CRecoveryFolder>(folder, CRecoveryFolder::newInstanceId())),
      m_folderPath(folder), m_instance(m_folder->instance()), m_bootId(CRecoveryFolder::bootId())
{
    m_worker.setMaxThreadCount(1);
    // The lock is taken at once, so that no other instance mistakes this one
    // for a finished one; a failure is tried again with the first write.
    auto folderRef = m_folder;
    m_worker.start([folderRef] {
        QString ignored;
        folderRef->prepare(&ignored);
    });
}

CRecoveryKeeper::~CRecoveryKeeper()
{
    for (RecoveryDocumentCopy* copy : std::as_const(m_copies))
        delete copy;
    m_copies.clear();
    m_worker.waitForDone();
    m_folder->removeAll();
}

QString CRecoveryKeeper::folder() const
{
    return m_folderPath;
}

QString CRecoveryKeeper::instance() const
{
    return m_instance;
}

bool CRecoveryKeeper::enabled()
{
    return Options::kRecovery.read() != 0;
}

void CRecoveryKeeper::setIntervals(int copyMs, int retryMs)
{
    m_copyMs = copyMs;
    m_retryMs = retryMs;
}

void CRecoveryKeeper::watch(CMyRichEditDoc* doc)
{
    const int serial = m_nextSerial++;
    auto* copy = new RecoveryDocumentCopy(this, doc, serial);
    m_copies.insert(serial, copy);
    connect(doc, &CMyRichEditDoc::edited, copy, &RecoveryDocumentCopy::changed);
    connect(doc, &CMyRichEditDoc::modifiedChanged, copy, &RecoveryDocumentCopy::modifiedChanged);
    connect(doc, &QObject::destroyed, copy, [this, copy, serial] {
        copy->discard();
        m_copies.remove(serial);
        copy->deleteLater();
    });
    if (doc->isModified())
        copy->changed();
}

bool CRecoveryKeeper::flush()
{
    m_worker.waitForDone();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    // The worker is idle and only this thread gives it work: the folder can
    // be written from here.
    bool allWritten = true;
    for (RecoveryDocumentCopy* copy : std::as_const(m_copies)) {
        if (!copy->due())
            continue;
        std::optional<RecoveryCopy::Copy> taken;
        try {
            taken = copy->snapshot();
        } catch (const std::bad_alloc&) {
            copy->finished(copy->generation(), false);
            allWritten = false;
            continue;
        }
        if (taken) {
            QString error;
            const bool ok = writeCopy(*m_folder, copy->serial(), *taken, &error);
            copy->finished(copy->generation(), ok);
            allWritten = allWritten && ok;
        }
    }
    return allWritten;
}

void CRecoveryKeeper::stamp(RecoveryCopy::Copy& copy) const
{
    copy.instance = m_instance;
    copy.pid = QCoreApplication::applicationPid();
    copy.bootId = m_bootId;
}

void CRecoveryKeeper::submitWrite(int serial, quint64 generation, RecoveryCopy::Copy copy)
{
    auto folder = m_folder;
    m_worker.start([this, folder, serial, generation, copy = std::move(copy)] {
        QString error;
        const bool ok = writeCopy(*folder, serial, copy, &error);
        QMetaObject::invokeMethod(
            this,
            [this, serial, generation, ok, error] { writeFinished(serial, generation, ok, error); },
            Qt::QueuedConnection);
    });
}

void CRecoveryKeeper::submitRemoval(int serial)
{
    auto folder = m_folder;
    m_worker.start([folder, serial] { folder->remove(serial); });
}

void CRecoveryKeeper::writeFinished(int serial, quint64 generation, bool ok, const QString& error)
{
    RecoveryDocumentCopy* copy = m_copies.value(serial);
    if (!copy)
        return;
    if (!ok && !m_warned) {
        // Said once on the console; the editing goes on undisturbed.
        qWarning("Marquill: %s", qPrintable(error));
        m_warned = true;
    }
    if (ok)
        m_warned = false;
    copy->finished(generation, ok);
    Q_EMIT copyWritten(copy->document(), ok);
}
