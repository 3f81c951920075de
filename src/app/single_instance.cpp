#include "app/single_instance.h"

#include "app/hand_off_message.h"
#include "core/file_names.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A connection that has not sent its request by then is dropped.
constexpr int kRequestTimeoutMs = 10000;
// How long a running instance may take to accept a connection.
constexpr int kProbeTimeoutMs = 2000;
// The pause before accepting again after the system had no resources to.
constexpr int kAcceptRetryMs = 200;
const char* const kAnswered = "marquillAnswered";

// The runtime folder must be the user's own and closed to everybody else,
// or another user could put a socket of their own in our place.
bool isPrivateFolder(const QString& folder)
{
    struct stat st;
    if (::stat(QFile::encodeName(folder).constData(), &st) != 0)
        return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

bool peerIsCurrentUser(qintptr descriptor)
{
    struct ucred credentials
    {
    };
    socklen_t length = sizeof credentials;
    if (::getsockopt(int(descriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0)
        return false;
    return credentials.uid == ::geteuid();
}

bool instanceAnswers(const QString& socketPath)
{
    QLocalSocket probe;
    probe.connectToServer(socketPath);
    const bool connected = probe.waitForConnected(kProbeTimeoutMs);
    probe.abort();
    return connected;
}

int remaining(const QDeadlineTimer& deadline)
{
    if (deadline.isForever())
        return -1;
    return int(qMax<qint64>(0, deadline.remainingTime()));
}

} // namespace

CSingleInstance::CSingleInstance(QObject* parent) : CSingleInstance(defaultSocketPath(), parent) {}

CSingleInstance::CSingleInstance(const QString& socketPath, QObject* parent)
    : QObject(parent), m_socketPath(socketPath), m_requestTimeoutMs(kRequestTimeoutMs)
{
    m_acceptRetry.setSingleShot(true);
    m_acceptRetry.setInterval(kAcceptRetryMs);
    connect(&m_acceptRetry, &QTimer::timeout, this, &CSingleInstance::acceptConnections);
}

CSingleInstance::~CSingleInstance()
{
    const auto sockets = findChildren<QLocalSocket*>();
    for (QLocalSocket* socket : sockets) {
        socket->disconnect(this);
        delete socket;
    }
    if (m_listener >= 0) {
        delete m_acceptable;
        ::close(m_listener);
        ::unlink(QFile::encodeName(m_socketPath).constData());
    }
    if (m_instanceLock >= 0)
        ::close(m_instanceLock);
}

QString CSingleInstance::defaultSocketPath()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty() || !isPrivateFolder(runtime))
        return QString();
    return runtime + QStringLiteral("/MarquillOpenFile");
}

bool CSingleInstance::tryBecomePrimary()
{
    if (isListening() || m_socketPath.isEmpty())
        return true;

    // Two editors started at the same moment must not both take the place.
    QLockFile lock(m_socketPath + QStringLiteral(".lock"));
    lock.tryLock(kProbeTimeoutMs);

    if (!lockInstance() || instanceAnswers(m_socketPath)) {
        if (m_instanceLock >= 0)
            ::close(m_instanceLock);
        m_instanceLock = -1;
        return false;
    }
    // Nobody holds the place: whatever is left at the path belongs to a
    // crashed instance.
    if (!listen())
        qWarning("Cannot listen at %s: %s", qPrintable(m_socketPath), strerror(errno));
    return true;
}

// Takes the lock a running first instance holds. False only when another
// process holds it; a lock file that cannot be made leaves the decision to
// whether an instance answers.
bool CSingleInstance::lockInstance()
{
    const QByteArray name = QFile::encodeName(m_socketPath + QStringLiteral(".instance"));
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return !held;
    }
    m_instanceLock = fd;
    return true;
}

bool CSingleInstance::listen()
{
    const QByteArray name = QFile::encodeName(m_socketPath);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (name.size() >= qsizetype(sizeof address.sun_path)) {
        errno = ENAMETOOLONG;
        return false;
    }
    memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    ::unlink(name.constData());
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(name.constData(), 0600) != 0 || ::listen(fd, 64) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return false;
    }
    m_listener = fd;
    m_acceptable = new QSocketNotifier(qintptr(fd), QSocketNotifier::Read, this);
    connect(m_acceptable, &QSocketNotifier::activated, this, &CSingleInstance::acceptConnections);
    return true;
}

bool CSingleInstance::handOff(const QString& path, int timeoutMs, bool* accepted,
                              const QString& socketPath)
{
    if (socketPath.isEmpty())
        return false;
    const QDeadlineTimer deadline(timeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever)
                                                : QDeadlineTimer(timeoutMs));
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(socketPath);
        if (socket.waitForConnected(remaining(deadline)))
            break;
        // A first instance whose queue of connections is full is busy, not
        // gone: it is tried again while there is time.
        if (socket.error() != QLocalSocket::SocketTimeoutError || deadline.hasExpired())
            return false;
        socket.abort();
        QThread::msleep(quint32(
            qMin(kAcceptRetryMs, deadline.isForever() ? kAcceptRetryMs : remaining(deadline))));
    }

    // The receiver has another current folder: resolve the path here.
    socket.write(HandOffMessage::encode(
        path.isEmpty() ? QByteArray() : FileNames::encode(QFileInfo(path).absoluteFilePath())));
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(remaining(deadline)))
            return false;
    }
    while (socket.bytesAvailable() < 1) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(remaining(deadline)))
            return false;
    }
    char answer = 0;
    socket.getChar(&answer);
    if (accepted)
        *accepted = answer == '1';
    return true;
}

// Takes the waiting connections, as many as may be served at once. When the
// system has no descriptor or memory to spare, the connection stays queued
// and is taken a moment later: the listener itself is never given up.
void CSingleInstance::acceptConnections()
{
    if (m_listener < 0)
        return;
    while (m_served < kMaxServed) {
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd >= 0) {
            serve(fd);
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            m_acceptable->setEnabled(false);
            m_acceptRetry.start();
            return;
        }
        break;
    }
    m_acceptable->setEnabled(m_served < kMaxServed);
}

void CSingleInstance::serve(int fd)
{
    if (!peerIsCurrentUser(fd)) {
        ::close(fd);
        return;
    }
    auto* socket = new QLocalSocket(this);
    if (!socket->setSocketDescriptor(fd)) {
        ::close(fd);
        delete socket;
        return;
    }
    ++m_served;
    connect(socket, &QObject::destroyed, this, [this] {
        --m_served;
        if (!m_acceptRetry.isActive())
            acceptConnections();
    });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    auto* timeout = new QTimer(socket);
    timeout->setSingleShot(true);
    connect(timeout, &QTimer::timeout, socket, [socket] {
        socket->abort();
        socket->deleteLater();
    });
    timeout->start(m_requestTimeoutMs);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
    readRequest(socket);
}

// Waits until the whole frame has arrived, however it is split, answers at
// once and leaves the request to the event loop.
void CSingleInstance::readRequest(QLocalSocket* socket)
{
    if (socket->property(kAnswered).toBool())
        return;
    HandOffMessage::Request request;
    const QByteArray arrived =
        socket->peek(std::min<qint64>(socket->bytesAvailable(), 4 + HandOffMessage::kMaxPayload));
    const HandOffMessage::Parse parsed = HandOffMessage::parse(arrived, request);
    if (parsed == HandOffMessage::Parse::NeedMore)
        return;
    if (parsed == HandOffMessage::Parse::Invalid) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    socket->skip(request.frameSize);
    socket->setProperty(kAnswered, true);
    socket->write(request.accepted ? "1" : "0");
    socket->flush();
    socket->disconnectFromServer();
    if (!request.accepted)
        return;
    // Carried out from the event loop rather than inside the socket's own
    // signal: the receivers may open dialogs.
    QMetaObject::invokeMethod(
        this, [this, path = request.path] { handleRequest(path); }, Qt::QueuedConnection);
}

// `path`: the file to open, empty for a mere activation.
void CSingleInstance::handleRequest(const QByteArray& path)
{
    Q_EMIT activateRequested();
    if (!path.isEmpty())
        Q_EMIT openFileRequested(FileNames::decode(path));
}
