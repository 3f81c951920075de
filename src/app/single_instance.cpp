#include "app/single_instance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>
#include <QtEndian>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr quint32 kMaxPayload = 64 * 1024;
// A connection that has not sent its request by then is dropped.
constexpr int kRequestTimeoutMs = 10000;
// How long a running instance may take to accept a connection.
constexpr int kProbeTimeoutMs = 2000;
constexpr char kActivate = 'A';
constexpr char kOpen = 'O';
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
    const QByteArray payload = path.isEmpty()
                                   ? QByteArray(1, kActivate)
                                   : kOpen + QFile::encodeName(QFileInfo(path).absoluteFilePath());
    QByteArray frame(4, '\0');
    qToBigEndian<quint32>(quint32(payload.size()), frame.data());
    socket.write(frame + payload);
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
    if (socket->property(kAnswered).toBool() || socket->bytesAvailable() < 4)
        return;
    char head[4];
    socket->peek(head, 4);
    const quint32 length = qFromBigEndian<quint32>(head);
    if (length == 0 || length > kMaxPayload) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    if (socket->bytesAvailable() < 4 + qint64(length))
        return;
    socket->skip(4);
    const QByteArray payload = socket->read(length);
    const bool activate = payload == QByteArray(1, kActivate);
    const bool open = payload.startsWith(kOpen) && payload.size() > 1;
    if (!activate && !open) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    const bool accepted = activate || QDir::isAbsolutePath(QFile::decodeName(payload.mid(1)));
    socket->setProperty(kAnswered, true);
    socket->write(accepted ? "1" : "0");
    socket->flush();
    socket->disconnectFromServer();
    if (!accepted)
        return;
    // Carried out from the event loop rather than inside the socket's own
    // signal: the receivers may open dialogs.
    QMetaObject::invokeMethod(
        this, [this, payload] { handleRequest(payload); }, Qt::QueuedConnection);
}

void CSingleInstance::handleRequest(const QByteArray& payload)
{
    Q_EMIT activateRequested();
    if (payload.startsWith(kOpen))
        Q_EMIT openFileRequested(QFile::decodeName(payload.mid(1)));
}
