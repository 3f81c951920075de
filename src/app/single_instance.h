#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

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

    // Becomes the first instance: true when no other instance answers and
    // this one now listens (a socket file left by a crashed instance is
    // replaced). False when another instance is running: hand off to it.
    // Also true, without listening, when there is nowhere safe to listen:
    // the editor then simply runs on its own.
    bool tryBecomePrimary();
    bool isListening() const { return m_server.isListening(); }

    // The second instance's side: sends `path` (made absolute against this
    // process's current folder; empty for a mere activation) to the first
    // instance and waits for its answer. Returns false when no instance
    // answered within `timeoutMs` (negative: wait as long as it takes).
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
    void acceptConnections();
    void readRequest(class QLocalSocket* socket);
    void handleRequest(const QByteArray& payload);

    QString m_socketPath;
    QLocalServer m_server;
};
