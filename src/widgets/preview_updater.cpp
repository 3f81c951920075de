#include "widgets/preview_updater.h"

CPreviewUpdater::CPreviewUpdater(Source source, QObject* parent, int quietMs)
    : QObject(parent), m_source(std::move(source))
{
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(quietMs);
    connect(&m_quiet, &QTimer::timeout, this, &CPreviewUpdater::draw);
}

void CPreviewUpdater::setShown(bool shown)
{
    if (shown == m_shown)
        return;
    m_shown = shown;
    if (!shown)
        m_quiet.stop();
    else if (m_stale)
        draw();
}

void CPreviewUpdater::setActiveDocument(QObject* document)
{
    if (document == m_active && !m_stale)
        return;
    if (m_active)
        disconnect(m_active, &QObject::destroyed, this, nullptr);
    m_active = document;
    if (document) {
        // A document closed while active leaves the pane with nothing to show.
        connect(document, &QObject::destroyed, this, [this] {
            m_active = nullptr;
            redrawNow();
        });
    }
    m_stale = true;
    m_quiet.stop();
    if (m_shown)
        draw();
}

void CPreviewUpdater::documentChanged(QObject* document)
{
    if (document != m_active || !document)
        return;
    m_stale = true;
    if (m_shown)
        m_quiet.start(); // restarts: the page is drawn once the typing pauses
}

void CPreviewUpdater::redrawNow()
{
    m_stale = true;
    m_quiet.stop();
    if (m_shown)
        draw();
}

void CPreviewUpdater::draw()
{
    m_stale = false;
    if (!m_active) {
        Q_EMIT drawNoDocument();
        return;
    }
    const Page page = m_source(m_active);
    Q_EMIT drawPage(page.html, page.url);
}
