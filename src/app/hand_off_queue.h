#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QTimer;

// The files later starts hand over, opened one after the other from the
// event loop. Those that cannot be opened are reported together in one
// message, once the requests have paused for a moment (a burst of starts
// makes one message); failures that come in while the message is up wait
// for it to be closed and then share the next one, so there is never more
// than one such message at a time, however many requests arrive.
class CHandOffQueue : public QObject
{
    Q_OBJECT

public:
    // Opens a file; false with the reason in *error when it cannot.
    using Opener = std::function<bool(const QString& path, QString* error)>;
    // Shows one message text (modal; it may run the event loop).
    using Reporter = std::function<void(const QString& text)>;

    CHandOffQueue(Opener open, Reporter report, QObject* parent = nullptr);

    void enqueue(const QString& path);
    qsizetype pending() const { return m_paths.size(); }
    // Nothing waits to be opened or reported, and no message is up.
    bool isIdle() const;

    // The message for a set of failures: each reason in turn, up to
    // kListedFailures of them, then how many more there were.
    static QString failureText(const QStringList& errors);
    static constexpr int kListedFailures = 5;
    // How long the requests must pause before the failures are reported.
    static constexpr int kQuietMs = 300;

private:
    void openPending();
    void reportFailures();

    Opener m_open;
    Reporter m_report;
    QStringList m_paths;
    QStringList m_errors;
    QTimer* m_quiet = nullptr;
    bool m_scheduled = false;
    bool m_opening = false;
    bool m_reporting = false;
};
