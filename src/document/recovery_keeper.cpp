#include "document/recovery_keeper.h"

#include "core/options.h"
#include "document/document_text.h"
#include "document/my_rich_edit_doc.h"
#include "document/recovery_folder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
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

struct CRecoveryKeeper::StreamedWrite
{
    StreamedWrite(const RecoveryCopy::Copy& fields, qint64 length) : encoder(fields, length) {}
    RecoveryCopy::Encoder encoder;
    std::unique_ptr<CRecoveryFolder::Writer> file;
};

namespace {

// Runs one step of a copy written in pieces; never throws. The temporary
// file goes as soon as a step fails, and after the last step.
bool runStreamStep(CRecoveryFolder& folder, int serial, CRecoveryKeeper::StreamedWrite& write,
                   CRecoveryKeeper::StreamStep step, const QByteArray& piece, QString* error)
{
    using Step = CRecoveryKeeper::StreamStep;
    bool ok = false;
    try {
        if (step == Step::Begin) {
            write.file = folder.beginWrite(serial, error);
            ok = write.file && write.file->append(write.encoder.head(), error);
        } else if (step == Step::Piece) {
            ok = write.file && write.file->append(piece, error);
            write.encoder.addText(piece);
        } else if (step == Step::Commit) {
            ok = write.file && write.file->append(write.encoder.checksum(), error) &&
                 write.file->commit(error);
        }
    } catch (const std::bad_alloc&) {
        *error = QStringLiteral("回復用ファイルを書くためのメモリが足りません");
        ok = false;
    }
    if (!ok || step == Step::Commit)
        write.file.reset();
    return ok;
}

} // namespace

// The copy of one document: when it is due, whether a write is under way,
// and whether a file may be on disk.
class CRecoveryDocumentCopy : public QObject
{
public:
    CRecoveryDocumentCopy(CRecoveryKeeper* keeper, CMyRichEditDoc* doc, int serial)
        : QObject(keeper), m_keeper(keeper), m_doc(doc), m_serial(serial)
    {
        m_timer.setSingleShot(true);
        connect(&m_timer, &QTimer::timeout, this, &CRecoveryDocumentCopy::take);
    }
    ~CRecoveryDocumentCopy() override { dropStream(); }

    CMyRichEditDoc* document() const { return m_doc; }
    int serial() const { return m_serial; }
    quint64 generation() const { return m_generation; }

    // Every edit: one check while a copy is already due.
    void changed()
    {
        if (!m_waiting.isValid())
            m_waiting.start();
        if (m_stream && !m_stream->committing)
            abandonStream();
        else if (m_writing)
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
        dropStream();
        m_timer.stop();
        m_again = false;
        m_waiting.invalidate();
        if (m_onDisk)
            m_keeper->submitRemoval(m_serial);
        m_onDisk = false;
    }

    bool due() const { return m_timer.isActive() || m_again; }

    // Stops a copy being read in pieces, so that it is taken whole instead.
    void interruptStream()
    {
        if (!m_stream)
            return;
        dropStream();
        m_again = true;
    }

    // Takes the copy now; empty when there is nothing to keep.
    std::optional<RecoveryCopy::Copy> snapshot()
    {
        std::optional<RecoveryCopy::Copy> copy = fields();
        if (copy) {
            copy->text = m_doc->view()->textBytes();
            m_waiting.invalidate();
        }
        return copy;
    }

    void take()
    {
        if (m_writing)
            return;
        std::optional<RecoveryCopy::Copy> copy;
        try {
            if (streams()) {
                startStream();
                return;
            }
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

    // The worker has done a step of the copy read in pieces: the next one.
    void streamStepDone(quint64 stream, bool ok, const QString& error)
    {
        if (!m_stream || m_stream->id != stream)
            return; // dropped meanwhile
        if (!ok || m_stream->committing) {
            const quint64 generation = m_stream->generation;
            if (ok)
                streamWritten();
            // The worker has already closed the file.
            endStream();
            m_keeper->writeFinished(m_serial, generation, ok, error);
            return;
        }
        try {
            sendNextPiece();
        } catch (const std::bad_alloc&) {
            dropStream();
            m_writing = false;
            m_timer.start(m_keeper->retryInterval());
        }
    }

private:
    // A copy being read in pieces.
    struct Stream
    {
        quint64 id;
        quint64 generation;
        quint64 changeCount; // the view's count when the copy began
        qint64 length;
        qint64 done = 0;
        bool committing = false;
        std::shared_ptr<CRecoveryKeeper::StreamedWrite> write;
    };

    // The copy's fields but its text; empty when there is nothing to keep.
    std::optional<RecoveryCopy::Copy> fields()
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
        m_keeper->stamp(copy);
        m_onDisk = true;
        return copy;
    }

    // Whether the copy due now is to be read in pieces: a large text, unless
    // the copy is late, its first change waiting for twice the interval
    // (steady typing drops every copy read in pieces).
    bool streams() const
    {
        if (!m_doc || !m_doc->view() || m_doc->view()->textLength() <= m_keeper->m_streamThreshold)
            return false;
        return !m_waiting.isValid() || m_waiting.elapsed() < 2 * qint64(m_keeper->copyInterval());
    }

    void startStream()
    {
        std::optional<RecoveryCopy::Copy> copy = fields();
        if (!copy)
            return;
        const CDocumentText* view = m_doc->view();
        const qint64 length = view->textLength();
        m_stream = Stream{++m_streamIds,
                          m_generation,
                          view->changeCount(),
                          length,
                          0,
                          false,
                          std::make_shared<CRecoveryKeeper::StreamedWrite>(*copy, length)};
        m_writing = true;
        m_keeper->submitStreamStep(m_serial, m_stream->id, m_stream->write,
                                   CRecoveryKeeper::StreamStep::Begin);
    }

    void sendNextPiece()
    {
        Stream& s = *m_stream;
        const CDocumentText* view = m_doc ? m_doc->view() : nullptr;
        if (!view || view->changeCount() != s.changeCount) {
            // Changed without an edit of the document (composition text).
            abandonStream();
            return;
        }
        if (s.done == s.length) {
            s.committing = true;
            m_keeper->submitStreamStep(m_serial, s.id, s.write,
                                       CRecoveryKeeper::StreamStep::Commit);
            return;
        }
        QByteArray piece =
            view->textRange(s.done, std::min(s.length, s.done + m_keeper->m_pieceBytes));
        if (piece.isEmpty()) {
            abandonStream();
            return;
        }
        s.done += piece.size();
        m_keeper->submitStreamStep(m_serial, s.id, s.write, CRecoveryKeeper::StreamStep::Piece,
                                   std::move(piece));
        // Last: whoever is told may change the text, which drops the stream.
        Q_EMIT m_keeper->copyProgress(m_doc, s.done, s.length);
    }

    // The copy read in pieces is on disk.
    void streamWritten()
    {
        // Changes while the file was being finished wait for the next copy.
        if (m_again)
            m_waiting.start();
        else
            m_waiting.invalidate();
    }

    // A change came while the copy was read: it is taken again later.
    void abandonStream()
    {
        dropStream();
        m_writing = false;
        if (!m_timer.isActive())
            m_timer.start(m_keeper->copyInterval());
    }

    // Forgets the copy being read; the worker removes its temporary file.
    void dropStream()
    {
        if (!m_stream)
            return;
        m_keeper->submitStreamStep(m_serial, m_stream->id, std::move(m_stream->write),
                                   CRecoveryKeeper::StreamStep::Drop);
        endStream();
    }

    void endStream()
    {
        m_stream.reset();
        m_writing = false;
    }

    CRecoveryKeeper* m_keeper;
    QPointer<CMyRichEditDoc> m_doc;
    int m_serial;
    QTimer m_timer;
    quint64 m_generation = 0; // raised whenever the copy is discarded
    bool m_writing = false;
    bool m_again = false;  // changed while a write was under way
    bool m_onDisk = false; // a file may exist
    std::optional<Stream> m_stream;
    quint64 m_streamIds = 0;
    QElapsedTimer m_waiting; // since the first change no copy holds
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
    for (CRecoveryDocumentCopy* copy : std::as_const(m_copies))
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

void CRecoveryKeeper::setStreaming(qint64 threshold, qint64 pieceBytes)
{
    m_streamThreshold = threshold;
    m_pieceBytes = std::max<qint64>(1, pieceBytes);
}

void CRecoveryKeeper::watch(CMyRichEditDoc* doc)
{
    const int serial = m_nextSerial++;
    auto* copy = new CRecoveryDocumentCopy(this, doc, serial);
    m_copies.insert(serial, copy);
    connect(doc, &CMyRichEditDoc::edited, copy, &CRecoveryDocumentCopy::changed);
    connect(doc, &CMyRichEditDoc::modifiedChanged, copy, &CRecoveryDocumentCopy::modifiedChanged);
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
    for (CRecoveryDocumentCopy* copy : std::as_const(m_copies))
        copy->interruptStream();
    m_worker.waitForDone();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    // The worker is idle and only this thread gives it work: the folder can
    // be written from here.
    bool allWritten = true;
    for (CRecoveryDocumentCopy* copy : std::as_const(m_copies)) {
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

void CRecoveryKeeper::submitStreamStep(int serial, quint64 stream,
                                       std::shared_ptr<StreamedWrite> write, StreamStep step,
                                       QByteArray piece)
{
    auto folder = m_folder;
    m_worker.start([this, folder, serial, stream, write = std::move(write), step,
                    piece = std::move(piece)] {
        QString error;
        const bool ok = runStreamStep(*folder, serial, *write, step, piece, &error);
        if (step == StreamStep::Drop)
            return;
        QMetaObject::invokeMethod(
            this, [this, serial, stream, ok, error] { streamStepDone(serial, stream, ok, error); },
            Qt::QueuedConnection);
    });
}

void CRecoveryKeeper::streamStepDone(int serial, quint64 stream, bool ok, const QString& error)
{
    if (CRecoveryDocumentCopy* copy = m_copies.value(serial))
        copy->streamStepDone(stream, ok, error);
}

void CRecoveryKeeper::writeFinished(int serial, quint64 generation, bool ok, const QString& error)
{
    CRecoveryDocumentCopy* copy = m_copies.value(serial);
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
