#pragma once

#include <QUrl>
#include <QWebEnginePage>
#include <functional>

// The page of the preview: it shows only the document's page. A link the user
// follows goes to the link handler (the web browser) instead, a jump within
// the page excepted; forms, redirections and new windows go nowhere.
class CPreviewPage : public QWebEnginePage
{
    Q_OBJECT

public:
    CPreviewPage(QWebEngineProfile* profile, QObject* parent);

    // The address the page may show (any fragment of it).
    void setPageUrl(const QUrl& url) { m_pageUrl = url; }
    void setLinkHandler(std::function<void(const QUrl&)> handler);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    bool isOwnPage(const QUrl& url) const;
    void followLink(const QUrl& url);

    QUrl m_pageUrl;
    std::function<void(const QUrl&)> m_linkHandler;
};
