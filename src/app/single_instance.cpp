#include "app/single_instance.h"

#include "app/hand_off_message.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A connection that has not sent its request by then is dropped.
constexpr int kRequestTimeoutMs = 10000;
// How long a running instance may take to accept a connection.
constexpr int kProbeTimeoutMs = 2000;
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
    : QObject(parent), m_socketPath(socketPath), m_server(this)
{
    connect(&m_server, &QLocalServer::newConnection, this, &CSingleInstance::acceptConnections);
}

CSingleInstance::~CSingleInstance() = default;

QString CSingleInstance::defaultSocketPath()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty() || !isPrivateFolder(runtime))
        return QString();
    return runtime + QStringLiteral("/MarquillOpenFile");
}

bool CSingleInstance::tryBecomePrimary()
{
    if (m_server.isListening() || m_socketPath.isEmpty())
        return true;

    // Two editors started at the same moment must not both take the place.
    QLockFile lock(m_socketPath + QStringLiteral(".lock"));
    lock.tryLock(kProbeTimeoutMs);

    if (instanceAnswers(m_socketPath))
        return false;
    // Nobody answers: whatever is left at the path belongs to a crashed instance.
    QLocalServer::removeServer(m_socketPath);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server.listen(m_socketPath))
        qWarning("Cannot listen at %s: %s", qPrintable(m_socketPath),
                 qPrintable(m_server.errorString()));
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
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(remaining(deadline)))
        return false;

    // The receiver has another current folder: resolve the path here.
    socket.write(HandOffMessage::encode(
        path.isEmpty() ? QByteArray() : QFile::encodeName(QFileInfo(path).absoluteFilePath())));
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

void CSingleInstance::acceptConnections()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!peerIsCurrentUser(socket->socketDescriptor())) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto* timeout = new QTimer(socket);
        timeout->setSingleShot(true);
        connect(timeout, &QTimer::timeout, socket, &QLocalSocket::abort);
        timeout->start(kRequestTimeoutMs);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
        readRequest(socket);
    }
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
        Q_EMIT openFileRequested(QFile::decodeName(path));
}
