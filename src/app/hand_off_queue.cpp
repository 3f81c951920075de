#include "app/hand_off_queue.h"

#include <QTimer>

CHandOffQueue::CHandOffQueue(Opener open, Reporter report, QObject* parent)
    : QObject(parent), m_open(std::move(open)), m_report(std::move(report)),
      m_quiet(new QTimer(this))
{
    m_quiet->setSingleShot(true);
    m_quiet->setInterval(kQuietMs);
    connect(m_quiet, &QTimer::timeout, this, [this] {
        // While a file is being opened its run reports when it is done.
        if (!m_opening)
            reportFailures();
    });
}

void CHandOffQueue::enqueue(const QString& path)
{
    m_paths.append(path);
    if (m_quiet->isActive())
        m_quiet->start();
    if (m_scheduled)
        return;
    m_scheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_scheduled = false;
        openPending();
    });
}

bool CHandOffQueue::isIdle() const
{
    return m_paths.isEmpty() && m_errors.isEmpty() && !m_scheduled && !m_opening && !m_reporting;
}

// Opening a document may run the event loop (its colouring shows progress),
// where more requests arrive: the outer run takes them on.
void CHandOffQueue::openPending()
{
    if (m_opening)
        return;
    m_opening = true;
    while (!m_paths.isEmpty()) {
        const QString path = m_paths.takeFirst();
        QString error;
        if (!m_open(path, &error))
            m_errors.append(error);
    }
    m_opening = false;
    if (!m_errors.isEmpty())
        m_quiet->start();
}

void CHandOffQueue::reportFailures()
{
    if (m_reporting)
        return;
    m_reporting = true;
    while (!m_errors.isEmpty())
        m_report(failureText(std::exchange(m_errors, {})));
    m_reporting = false;
}

QString CHandOffQueue::failureText(const QStringList& errors)
{
    QStringList shown = errors.mid(0, kListedFailures);
    if (errors.size() > kListedFailures)
        shown << QStringLiteral("ほかに %1 個のファイルを開けませんでした。")
                     .arg(errors.size() - kListedFailures);
    return shown.join(QStringLiteral("\n\n"));
}
