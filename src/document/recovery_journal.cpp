#include "document/recovery_journal.h"

#include "core/options.h"
#include "document/document_text.h"
#include "document/my_rich_edit_doc.h"

#include <QFileInfo>
#include <QThreadPool>

namespace {

constexpr int kPauseMs = 1000;
constexpr int kRetryMs = 5000;
constexpr int kOptionReadMs = 1000;

} // namespace

CRecoveryJournal::CRecoveryJournal(const RecoveryJournalPlace& place, CMyRichEditDoc* doc,
                                   QObject* parent)
    : QObject(parent), m_place(place), m_doc(doc), m_view(doc->view()),
      m_viewWidget(m_view->textWidget()),
      m_writer(*place.worker,
               place.folder + QLatin1Char('/') + place.name + QStringLiteral(".journal"))
{
    if (place.prepare)
        m_writer.setPrepare(place.prepare);
    m_view->setEditObserver(this);
    m_digestTimer.setSingleShot(true);
    m_copyTimer.setSingleShot(true);
    m_pause.setSingleShot(true);
    m_pause.setInterval(kPauseMs);
    connect(&m_digestTimer, &QTimer::timeout, this, &CRecoveryJournal::digestStep);
    connect(&m_copyTimer, &QTimer::timeout, this, &CRecoveryJournal::copyStep);
    connect(&m_pause, &QTimer::timeout, this, &CRecoveryJournal::startCopy);
    // An insertion the view holds back goes with the records written now.
    connect(&m_writer, &CJournalWriter::aboutToWrite, this, [this] {
        if (m_viewWidget)
            m_view->reportEdits();
    });
    connect(&m_writer, &CJournalWriter::failed, this, [this](const QString& error) {
        // The edits from now on are in no journal until a copy holds them.
        m_lost = true;
        m_pause.start(kRetryMs);
        if (!m_warned)
            Q_EMIT writeFailed(error);
        m_warned = true;
    });
    restartDigest();
}

CRecoveryJournal::~CRecoveryJournal()
{
    if (m_viewWidget)
        m_view->setEditObserver(nullptr);
}

void CRecoveryJournal::setCompaction(qint64 fixedBytes, int divisor, qint64 records, int pauseMs)
{
    m_fixedBytes = fixedBytes;
    m_divisor = std::max(1, divisor);
    m_maxRecords = records;
    m_pause.setInterval(pauseMs);
}

EditJournal::Fields CRecoveryJournal::fields() const
{
    EditJournal::Fields f;
    f.path = m_doc->pathName();
    f.title = f.path.isEmpty() ? CMyRichEditDoc::untitledName() : QFileInfo(f.path).fileName();
    f.encoding = m_doc->encoding();
    f.unconverted = m_doc->isUnconverted();
    f.savedUtf8Characters = m_doc->savedUtf8Characters();
    f.lineEnd = m_doc->view()->typedLineEnd();
    return f;
}

EditJournal::Header CRecoveryJournal::header() const
{
    EditJournal::Header h;
    h.fields = fields();
    h.instance = m_place.instance;
    h.pid = m_place.pid;
    h.bootId = m_place.bootId;
    h.started = QDateTime::currentDateTimeUtc();
    h.baseLength = m_baseLength;
    h.baseDigest = m_baseDigest;
    return h;
}

bool CRecoveryJournal::enabled()
{
    if (!m_enabledRead.isValid() || m_enabledRead.elapsed() >= kOptionReadMs) {
        m_enabled = Options::kRecovery.read() != 0;
        m_enabledRead.start();
    }
    return m_enabled;
}

bool CRecoveryJournal::recordEdit()
{
    // A copy being read would miss this edit.
    if (m_copy)
        dropCopy();
    if (!m_doc || !m_doc->view())
        return false;
    if (!enabled()) {
        if (m_writer.isRecording())
            discard();
        m_lost = true;
        return false;
    }
    if (m_writer.isRecording())
        return true;
    if (m_lost) {
        m_pause.start();
        return false;
    }
    // The first edit since the text was loaded or saved: the journal starts
    // from that text, which this edit has not changed yet.
    finishDigest();
    m_writer.start(header());
    return true;
}

void CRecoveryJournal::textChanging()
{
    recordEdit();
}

void CRecoveryJournal::textInserted(qint64 position, QByteArrayView bytes)
{
    if (m_writer.isRecording()) {
        m_writer.insert(position, bytes);
        recorded();
    }
}

void CRecoveryJournal::textDeleting(qint64 position, qint64 length)
{
    if (m_writer.isRecording()) {
        m_writer.remove(position, length);
        recorded();
    }
}

void CRecoveryJournal::textLoaded()
{
    discard();
    m_lost = false;
    restartDigest();
}

void CRecoveryJournal::modifiedChanged(bool modified)
{
    if (!modified) {
        // Saved, or given up: the text as it stands is the next base.
        textLoaded();
    } else if (!m_writer.isRecording()) {
        // Changed without an edit this journal saw (restored work, a program
        // change): only a copy holds it.
        m_lost = true;
        m_pause.start();
    }
}

void CRecoveryJournal::fieldsChanged()
{
    if (m_writer.isRecording() && m_doc && m_doc->view())
        m_writer.changeFields(fields());
}

void CRecoveryJournal::discard()
{
    if (m_copy)
        dropCopy();
    m_pause.stop();
    m_copyDue = false;
    m_writer.discard();
    m_lost = m_doc && m_doc->isModified();
}

void CRecoveryJournal::restartDigest()
{
    m_digest.reset();
    m_digested = 0;
    m_baseLength = -1;
    m_baseDigest.clear();
    m_digestTimer.start(0);
}

void CRecoveryJournal::digestStep()
{
    const CDocumentText* view = m_doc ? m_doc->view() : nullptr;
    if (!view || m_baseLength >= 0)
        return;
    const qint64 length = view->textLength();
    const qint64 end = std::min(length, m_digested + m_pieceBytes);
    m_digest.add(view->textRange(m_digested, end));
    m_digested = end;
    if (end < length) {
        m_digestTimer.start(0);
        return;
    }
    m_baseLength = length;
    m_baseDigest = m_digest.result();
}

bool CRecoveryJournal::finishDigest()
{
    m_digestTimer.stop();
    while (m_baseLength < 0 && m_doc && m_doc->view())
        digestStep();
    m_digestTimer.stop();
    return m_baseLength >= 0;
}

void CRecoveryJournal::recorded()
{
    if (!m_copyDue) {
        const qint64 limit = m_fixedBytes + m_doc->view()->textLength() / m_divisor;
        m_copyDue = m_writer.size() > limit || m_writer.recordCount() > m_maxRecords;
    }
    if (m_copyDue)
        m_pause.start();
}

void CRecoveryJournal::startCopy()
{
    if (m_copy || !m_doc || !m_doc->view() || !m_doc->isModified() || !(m_copyDue || m_lost))
        return;
    // The insertion held back belongs to the journal the copy replaces.
    m_view->reportEdits();
    if (!enabled()) {
        discard();
        return;
    }
    Copy& copy = m_copy.emplace();
    copy.file = QStringLiteral("%1/%2-%3.base").arg(m_place.folder, m_place.name).arg(++m_copies);
    copy.length = m_doc->view()->textLength();
    m_writer.beginCopy(copy.file);
    m_copyTimer.start(0);
}

void CRecoveryJournal::copyStep()
{
    if (!m_copy || !m_doc || !m_doc->view())
        return;
    // One piece on its way at a time, so that the text is never held twice.
    if (m_writer.copyBytesQueued() > 0) {
        m_copyTimer.start(1);
        return;
    }
    Copy& copy = *m_copy;
    const QByteArray piece =
        m_doc->view()->textRange(copy.done, std::min(copy.length, copy.done + m_pieceBytes));
    if (piece.isEmpty() && copy.done < copy.length) {
        dropCopy();
        return;
    }
    copy.digest.add(piece);
    copy.done += piece.size();
    m_writer.addToCopy(piece);
    if (copy.done < copy.length) {
        m_copyTimer.start(0);
        return;
    }
    EditJournal::Header h = header();
    h.baseCopy = QFileInfo(copy.file).fileName();
    h.baseLength = copy.done;
    h.baseDigest = copy.digest.result();
    m_writer.finishCopy(h);
    m_copy.reset();
    m_lost = false;
    m_copyDue = false;
}

void CRecoveryJournal::dropCopy()
{
    m_copyTimer.stop();
    m_copy.reset();
    m_writer.dropCopy();
    if (m_copyDue || m_lost)
        m_pause.start();
}

bool CRecoveryJournal::copyAll()
{
    if (m_copy)
        dropCopy();
    m_pause.stop();
    startCopy();
    while (m_copy) {
        m_place.worker->waitForDone();
        copyStep();
    }
    return !m_lost;
}

bool CRecoveryJournal::flush()
{
    if (!m_doc || !m_doc->view())
        return true;
    m_view->reportEdits();
    if (!m_doc->isModified() && !m_writer.isRecording())
        return true;
    if (!enabled())
        return true;
    if ((m_copy || m_copyDue || m_lost) && !copyAll())
        return false;
    return m_writer.flush();
}
