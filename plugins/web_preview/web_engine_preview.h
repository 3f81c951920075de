#pragma once

#include "widgets/web_preview.h"

#include <QHash>
#include <QPointF>
#include <QWebEngineView>

class CPageSchemeHandler;
class CPreviewPage;
class CRemoteFilter;
class QWebEngineProfile;

// The preview drawn by Qt WebEngine, in a profile of its own that keeps
// nothing on disk: no cache, no cookies, no downloads.
class CWebEnginePreview : public QWebEngineView, public CWebPreview
{
    Q_OBJECT

public:
    explicit CWebEnginePreview(QWidget* parent);
    ~CWebEnginePreview() override;

    QWidget* widget() override { return this; }
    void showPage(const QByteArray& html, const QUrl& pageUrl) override;
    void setTrusted(bool trusted) override;
    void setLinkHandler(std::function<void(const QUrl&)> handler) override;
    void setFailureHandler(std::function<void(const QString&)> handler) override;

private:
    void applyTrust();
    void restoreScroll();
    void reportEnd(QWebEnginePage::RenderProcessTerminationStatus status, int exitCode);

    QWebEngineProfile* m_profile = nullptr;
    CPageSchemeHandler* m_scheme = nullptr;
    CRemoteFilter* m_filter = nullptr;
    CPreviewPage* m_page = nullptr;
    bool m_trusted = false;
    bool m_loading = false;
    QUrl m_shown;                      // the address on show, in the page scheme
    QHash<QUrl, QPointF> m_scrolledTo; // by address: where each page was left
    std::function<void(const QString&)> m_failure;
};
