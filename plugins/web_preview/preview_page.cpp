#include "preview_page.h"

#include "page_scheme.h"

#include <QTimer>

namespace {

// Stands in for a new window (a link with a target, window.open): hands its
// first address on and goes away.
class LinkCatcher : public QWebEnginePage
{
public:
    LinkCatcher(QWebEngineProfile* profile, QObject* parent,
                std::function<void(const QUrl&)> follow)
        : QWebEnginePage(profile, parent), m_follow(std::move(follow))
    {
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override
    {
        if (m_follow && !url.isEmpty())
            m_follow(url);
        m_follow = nullptr;
        deleteLater();
        return false;
    }

private:
    std::function<void(const QUrl&)> m_follow;
};

} // namespace

CPreviewPage::CPreviewPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent)
{
}

void CPreviewPage::setLinkHandler(std::function<void(const QUrl&)> handler)
{
    m_linkHandler = std::move(handler);
}

bool CPreviewPage::isOwnPage(const QUrl& url) const
{
    return url.adjusted(QUrl::RemoveFragment) == m_pageUrl.adjusted(QUrl::RemoveFragment);
}

void CPreviewPage::followLink(const QUrl& url)
{
    if (m_linkHandler)
        m_linkHandler(PageScheme::fileUrl(url));
}

bool CPreviewPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    if (!isMainFrame)
        return true; // a frame inside the page loads its own content
    if (type == NavigationTypeLinkClicked) {
        if (isOwnPage(url) && url.hasFragment())
            return true; // a jump within the page
        followLink(url);
        return false;
    }
    // Loading the page itself (the preview's own request, a reload); never
    // a form's answer, a redirection or an address a script sets.
    return isOwnPage(url) && type != NavigationTypeFormSubmitted;
}

QWebEnginePage* CPreviewPage::createWindow(WebWindowType)
{
    return new LinkCatcher(profile(), this, [this](const QUrl& url) { followLink(url); });
}
