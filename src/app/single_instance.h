#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class QLocalSocket;
class QSocketNotifier;

// One running editor per user. The first instance listens on a local socket
// in the user's runtime folder; a later start hands its file (or only a
// request to come forward) to it and exits.
//
// The request is one frame: a 32-bit big-endian length followed by that many
// bytes, "A" (activate) or "O" and the absolute path of the file. The first
// instance answers with one byte as soon as the request has arrived, before
// it acts on it: '1' when it takes the request, '0' when it refuses it (a
// path that is not absolute). So a later start never waits for a file to be
// opened, nor for a message about it to be answered. Connections from other
// users are refused.
//
// The first instance holds a lock on "<socket>.instance" for as long as it
// runs, so a later start knows it is there even when it cannot answer at
// once. It serves at most kMaxServed connections at a time, drops one that
// has not sent its request within the time limit, and goes on listening when
// the system has no descriptor to spare for a new connection (that
// connection waits and is taken a moment later).
class CSingleInstance : public QObject
{
    Q_OBJECT

public:
    // Uses defaultSocketPath().
    explicit CSingleInstance(QObject* parent = nullptr);
    // Listens at another socket path (tests).
    explicit CSingleInstance(const QString& socketPath, QObject* parent = nullptr);
    ~CSingleInstance() override;

    // "<runtime folder>/MarquillOpenFile"; empty when the user has no
    // private runtime folder (owned by the user, mode 0700).
    static QString defaultSocketPath();
    QString socketPath() const { return m_socketPath; }

    // Becomes the first instance: true when no other instance runs and this
    // one now listens (a socket file left by a crashed instance is replaced).
    // False when another instance is running, whether or not it answers at
    // the moment: hand off to it.
    // Also true, without listening, when there is nowhere safe to listen:
    // the editor then simply runs on its own.
    bool tryBecomePrimary();
    bool isListening() const { return m_listener >= 0; }

    // Connections served at once; later ones wait until one of those ends.
    static constexpr int kMaxServed = 8;
    // How long a connection may take to send its request (milliseconds).
    void setRequestTimeout(int ms) { m_requestTimeoutMs = ms; }
    int servedNow() const { return m_served; }

    // The second instance's side: sends `path` (made absolute against this
    // process's current folder; empty for a mere activation) to the first
    // instance and waits for its answer. Returns false when no instance
    // answered within `timeoutMs` (negative: wait as long as it takes). A
    // first instance too busy to take the connection is tried again until
    // then.
    // `accepted`, when given, receives whether the first instance took the
    // request.
    static bool handOff(const QString& path, int timeoutMs, bool* accepted = nullptr,
                        const QString& socketPath = defaultSocketPath());

Q_SIGNALS:
    // A second instance started: bring the main window forward (restore it
    // when minimised). Emitted for every request, before openFileRequested.
    void activateRequested();
    // A second instance handed over `path` (absolute). Emitted from the event
    // loop after the second instance has had its answer, so receivers may
    // open dialogs.
    void openFileRequested(const QString& path);

private:
    bool lockInstance();
    bool listen();
    void acceptConnections();
    void serve(int fd);
    void readRequest(QLocalSocket* socket);
    void handleRequest(const QByteArray& path);

    QString m_socketPath;
    int m_instanceLock = -1;
    int m_listener = -1;
    QSocketNotifier* m_acceptable = nullptr;
    QTimer m_acceptRetry; // after the system refused a connection for want of resources
    int m_served = 0;
    int m_requestTimeoutMs;
};
