#include "web_engine_preview.h"

#include "page_scheme.h"
#include "preview_page.h"

#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

namespace {

const QString kScrollScript = QStringLiteral("marquill-scroll");

QString scrollSource(const QPointF& to)
{
    return QStringLiteral("window.scrollTo(%1, %2);").arg(to.x()).arg(to.y());
}

} // namespace

CWebEnginePreview::CWebEnginePreview(QWidget* parent) : QWebEngineView(parent)
{
    m_profile = new QWebEngineProfile(this); // no name: kept in memory only
    m_profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    m_profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    m_scheme = new CPageSchemeHandler(this);
    m_profile->installUrlSchemeHandler(PageScheme::kName, m_scheme);
    m_filter = new CRemoteFilter(this);
    m_profile->setUrlRequestInterceptor(m_filter);
    // Downloads that are not accepted are cancelled: nothing is written.

    m_page = new CPreviewPage(m_profile, this);
    QWebEngineSettings* settings = m_page->settings();
    settings->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    applyTrust();
    setPage(m_page);

    connect(m_page, &QWebEnginePage::scrollPositionChanged, this, [this](const QPointF& at) {
        // A page being loaded starts at the top; that is not where it was left.
        if (!m_loading)
            m_scrolledTo.insert(m_shown, at);
    });
    connect(m_page, &QWebEnginePage::loadFinished, this, [this](bool) {
        m_loading = false;
        restoreScroll();
        if (m_failure)
            m_failure(QString());
    });
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this, &CWebEnginePreview::reportEnd);
}

CWebEnginePreview::~CWebEnginePreview()
{
    // A page must go before its profile.
    setPage(nullptr);
    delete m_page;
}

void CWebEnginePreview::showPage(const QByteArray& html, const QUrl& pageUrl)
{
    const QUrl url = PageScheme::pageUrl(pageUrl);
    m_shown = url;
    m_loading = true;
    m_scheme->setPage(html, url);
    m_page->setPageUrl(url);
    applyTrust();
    // The place the page was left at, set again as soon as its content is
    // there and once more when it is complete.
    QWebEngineScriptCollection& scripts = m_page->scripts();
    for (const QWebEngineScript& old : scripts.find(kScrollScript))
        scripts.remove(old);
    const QPointF at = m_scrolledTo.value(url);
    if (!at.isNull()) {
        QWebEngineScript script;
        script.setName(kScrollScript);
        script.setSourceCode(scrollSource(at));
        script.setInjectionPoint(QWebEngineScript::DocumentReady);
        script.setWorldId(QWebEngineScript::ApplicationWorld);
        scripts.insert(script);
    }
    m_page->load(url);
}

void CWebEnginePreview::restoreScroll()
{
    const QPointF at = m_scrolledTo.value(m_shown);
    if (!at.isNull())
        m_page->runJavaScript(scrollSource(at), QWebEngineScript::ApplicationWorld);
}

void CWebEnginePreview::setTrusted(bool trusted)
{
    m_trusted = trusted;
}

void CWebEnginePreview::applyTrust()
{
    m_filter->setTrusted(m_trusted);
    QWebEngineSettings* settings = m_page->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, m_trusted);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, m_trusted);
    settings->setAttribute(QWebEngineSettings::AutoLoadImages, true);
}

void CWebEnginePreview::setLinkHandler(std::function<void(const QUrl&)> handler)
{
    m_page->setLinkHandler(std::move(handler));
}

void CWebEnginePreview::setFailureHandler(std::function<void(const QString&)> handler)
{
    m_failure = std::move(handler);
}

void CWebEnginePreview::reportEnd(QWebEnginePage::RenderProcessTerminationStatus status,
                                  int exitCode)
{
    if (!m_failure || status == QWebEnginePage::NormalTerminationStatus)
        return;
    const QString why = status == QWebEnginePage::KilledTerminationStatus
                            ? QStringLiteral("強制終了されました")
                            : QStringLiteral("異常終了しました（終了コード %1）").arg(exitCode);
    m_failure(QStringLiteral("プレビューを描くプロセスが%1。").arg(why));
}
