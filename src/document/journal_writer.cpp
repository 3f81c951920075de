#include "document/journal_writer.h"

#include "document/file_errors.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QThreadPool>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <future>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

// The journal's file as the worker thread keeps it open.
struct CJournalWriter::FileState
{
    QString path;
    int fd = -1;
    qint64 goodSize = 0; // the bytes up to the last whole record
    quint64 generation = 0;
    bool broken = true; // nothing to append to
    std::weak_ptr<Link> link;
    QString copy;        // the compacted copy the journal starts from, if any
    QString pendingCopy; // a copy being written (to its temporary file)
    int copyFd = -1;
    bool copyFailed = false;
    std::atomic<qint64> copyQueued{0}; // bytes of the copy handed over, not yet written
    std::function<bool(QString*)> prepare;
};

// Held by the writer alone: an answer from the worker, run on the writer's
// thread, finds the writer only while it lives.
struct CJournalWriter::Link
{
    CJournalWriter* writer;
    void failed(quint64 generation, const QString& error)
    {
        writer->writeFailed(generation, error);
    }
};

namespace {

using FileState = CJournalWriter::FileState;

constexpr int kDefaultWriteDelayMs = 250;

QString failure(int error)
{
    return QStringLiteral("回復用ファイルを書き込めません。%1").arg(FileErrors::reasonFor(error));
}

bool writeAll(int fd, QByteArrayView bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

void closeFile(FileState& state)
{
    if (state.fd >= 0)
        ::close(state.fd);
    state.fd = -1;
    state.broken = true;
}

// Makes a rename in the folder last through a power cut.
void syncFolder(const QString& file)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(file).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Puts a new journal beginning with `head` in place of the present one,
// which stays as it was when that fails; the new file stays open.
bool createJournal(FileState& state, const QByteArray& head, QString* error)
{
    if (state.prepare && !state.prepare(error))
        return false;
    const QByteArray target = QFile::encodeName(state.path);
    const QByteArray temporary = target + ".tmp";
    const int fd = ::open(temporary.constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        *error = failure(errno);
        return false;
    }
    if (::fchmod(fd, 0600) != 0 || !writeAll(fd, head) || ::fdatasync(fd) != 0 ||
        ::rename(temporary.constData(), target.constData()) != 0) {
        *error = failure(errno);
        ::close(fd);
        ::unlink(temporary.constData());
        return false;
    }
    syncFolder(state.path);
    closeFile(state);
    state.fd = fd;
    state.goodSize = head.size();
    state.broken = false;
    return true;
}

void unlinkFile(const QString& path)
{
    if (!path.isEmpty())
        ::unlink(QFile::encodeName(path).constData());
}

void dropPendingCopy(FileState& state)
{
    if (state.copyFd >= 0)
        ::close(state.copyFd);
    state.copyFd = -1;
    if (!state.pendingCopy.isEmpty())
        unlinkFile(state.pendingCopy + QStringLiteral(".tmp"));
    state.pendingCopy.clear();
}

void beginCopy(FileState& state, const QString& path)
{
    dropPendingCopy(state);
    QString error;
    if (state.prepare && !state.prepare(&error)) {
        state.copyFailed = true;
        return;
    }
    state.pendingCopy = path;
    state.copyFd = ::open(QFile::encodeName(path + QStringLiteral(".tmp")).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    state.copyFailed = state.copyFd < 0 || ::fchmod(state.copyFd, 0600) != 0;
}

// Puts the copy written in place and a journal starting from it, then
// removes the copy the previous journal started from. When any step fails,
// the previous journal and its copy stay, and the journal goes on there.
bool finishCopy(FileState& state, const QByteArray& head, QString* error)
{
    const QString path = state.pendingCopy;
    const QByteArray temporary = QFile::encodeName(path + QStringLiteral(".tmp"));
    bool ok = !state.copyFailed && state.copyFd >= 0 && ::fdatasync(state.copyFd) == 0;
    if (ok) {
        ok = ::close(state.copyFd) == 0 &&
             ::rename(temporary.constData(), QFile::encodeName(path).constData()) == 0;
        state.copyFd = -1;
    }
    if (!ok) {
        *error = failure(errno);
        dropPendingCopy(state);
        return false;
    }
    state.pendingCopy.clear();
    syncFolder(path);
    if (!createJournal(state, head, error)) {
        unlinkFile(path);
        return false;
    }
    unlinkFile(state.copy);
    state.copy = path;
    return true;
}

// Appends records and syncs them; on failure the file is cut back to its
// last whole record and no more is appended.
bool appendRecords(FileState& state, const QByteArray& records, QString* error)
{
    if (state.broken)
        return false;
    if (writeAll(state.fd, records) && ::fdatasync(state.fd) == 0) {
        state.goodSize += records.size();
        return true;
    }
    *error = failure(errno);
    if (::ftruncate(state.fd, state.goodSize) == 0)
        ::fdatasync(state.fd);
    closeFile(state);
    return false;
}

void removeJournal(FileState& state)
{
    closeFile(state);
    dropPendingCopy(state);
    const QByteArray target = QFile::encodeName(state.path);
    ::unlink(target.constData());
    ::unlink((target + ".tmp").constData());
    unlinkFile(state.copy);
    state.copy.clear();
}

// Tells the writer, on its own thread, that a write of `generation` failed.
void reportFailure(const FileState& state, quint64 generation, const QString& error)
{
    std::weak_ptr<CJournalWriter::Link> link = state.link;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [link, generation, error] {
            if (const auto alive = link.lock())
                alive->failed(generation, error);
        },
        Qt::QueuedConnection);
}

} // namespace

CJournalWriter::CJournalWriter(QThreadPool& worker, const QString& file, QObject* parent)
    : QObject(parent), m_worker(worker), m_file(file), m_state(std::make_shared<FileState>()),
      m_link(std::make_shared<Link>(Link{this}))
{
    m_state->path = file;
    m_state->link = m_link;
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDefaultWriteDelayMs);
    connect(&m_timer, &QTimer::timeout, this, &CJournalWriter::submitPending);
}

CJournalWriter::~CJournalWriter()
{
    m_link.reset();
    auto state = m_state;
    m_worker.start([state] { closeFile(*state); });
}

void CJournalWriter::setPrepare(std::function<bool(QString*)> prepare)
{
    auto state = m_state;
    m_worker.start([state, prepare = std::move(prepare)] { state->prepare = prepare; });
}

void CJournalWriter::start(const EditJournal::Header& header)
{
    m_timer.stop();
    m_pending.clear();
    const quint64 generation = ++m_generation;
    QByteArray head = EditJournal::encodeHeader(header);
    m_size = head.size();
    m_records = 0;
    m_recording = true;
    auto state = m_state;
    m_worker.start([state, generation, head = std::move(head)] {
        QString error;
        state->generation = generation;
        if (createJournal(*state, head, &error)) {
            // The journal starts from the document's own base now.
            unlinkFile(state->copy);
            state->copy.clear();
        } else {
            // The previous journal belongs to another base: it must go.
            removeJournal(*state);
            reportFailure(*state, generation, error);
        }
    });
}

void CJournalWriter::beginCopy(const QString& file)
{
    auto state = m_state;
    m_worker.start([state, file] { ::beginCopy(*state, file); });
}

void CJournalWriter::addToCopy(const QByteArray& piece)
{
    auto state = m_state;
    state->copyQueued += piece.size();
    m_worker.start([state, piece] {
        if (!state->copyFailed && state->copyFd >= 0 && !writeAll(state->copyFd, piece))
            state->copyFailed = true;
        state->copyQueued -= piece.size();
    });
}

qint64 CJournalWriter::copyBytesQueued() const
{
    return m_state->copyQueued.load();
}

void CJournalWriter::dropCopy()
{
    auto state = m_state;
    m_worker.start([state] { dropPendingCopy(*state); });
}

void CJournalWriter::finishCopy(const EditJournal::Header& header)
{
    // What was recorded so far belongs to the present journal.
    submitPending();
    const quint64 generation = ++m_generation;
    QByteArray head = EditJournal::encodeHeader(header);
    m_size = head.size();
    m_records = 0;
    m_recording = true;
    auto state = m_state;
    m_worker.start([state, generation, head = std::move(head)] {
        QString error;
        // Whatever happens, later records go on where the journal is.
        state->generation = generation;
        if (!::finishCopy(*state, head, &error))
            reportFailure(*state, generation, error);
    });
}

void CJournalWriter::insert(qint64 position, QByteArrayView bytes)
{
    if (!m_recording || bytes.isEmpty())
        return;
    const qsizetype before = m_pending.size();
    EditJournal::appendInsert(m_pending, position, bytes);
    recorded(before);
}

void CJournalWriter::remove(qint64 position, qint64 length)
{
    if (!m_recording || length <= 0)
        return;
    const qsizetype before = m_pending.size();
    EditJournal::appendDelete(m_pending, position, length);
    recorded(before);
}

void CJournalWriter::changeFields(const EditJournal::Fields& fields)
{
    if (!m_recording)
        return;
    const qsizetype before = m_pending.size();
    EditJournal::appendFields(m_pending, fields);
    recorded(before);
}

void CJournalWriter::recorded(qsizetype before)
{
    m_size += m_pending.size() - before;
    ++m_records;
    if (!m_timer.isActive())
        m_timer.start();
}

void CJournalWriter::submitPending()
{
    m_timer.stop();
    Q_EMIT aboutToWrite();
    if (m_pending.isEmpty())
        return;
    auto state = m_state;
    m_worker.start([state, generation = m_generation, records = std::exchange(m_pending, {})] {
        QString error;
        if (state->generation == generation && !appendRecords(*state, records, &error))
            reportFailure(*state, generation, error);
    });
}

void CJournalWriter::discard()
{
    m_timer.stop();
    m_pending.clear();
    ++m_generation;
    m_recording = false;
    m_size = 0;
    m_records = 0;
    auto state = m_state;
    m_worker.start([state] {
        ++state->generation;
        removeJournal(*state);
    });
}

bool CJournalWriter::flush()
{
    if (!m_recording)
        return false;
    submitPending();
    auto state = m_state;
    auto done = std::make_shared<std::promise<bool>>();
    std::future<bool> written = done->get_future();
    m_worker.start([state, done] { done->set_value(!state->broken); });
    const bool ok = written.get();
    // Let a failure reported meanwhile reach this object.
    QCoreApplication::sendPostedEvents(QCoreApplication::instance(), QEvent::MetaCall);
    return ok && m_recording;
}

void CJournalWriter::writeFailed(quint64 generation, const QString& error)
{
    if (generation != m_generation)
        return;
    m_recording = false;
    m_pending.clear();
    m_timer.stop();
    Q_EMIT failed(error);
}
