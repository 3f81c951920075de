#pragma once

#include <QByteArray>
#include <QUrl>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlSchemeHandler>
#include <atomic>

// The page being written is served under a scheme of its own,
// "marquill-page:" followed by the document's path, so that it draws from the
// text in memory (of any size) while its relative links and images resolve
// against its folder, whose files the same scheme serves read-only.
namespace PageScheme {

inline constexpr char kName[] = "marquill-page";

// Registers the scheme with Qt WebEngine; must run before the engine starts
// (before the first profile), once.
void registerScheme();

// The address of a document's page: its file URL moved to the scheme; a page
// without a file gets an address of its own that no file answers to.
QUrl pageUrl(const QUrl& fileUrl);
// The file URL behind an address of the scheme; other addresses unchanged.
QUrl fileUrl(const QUrl& url);

} // namespace PageScheme

// Answers the scheme's requests: the page from memory, anything else from
// the file at its path.
class CPageSchemeHandler : public QWebEngineUrlSchemeHandler
{
    Q_OBJECT

public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void setPage(const QByteArray& html, const QUrl& pageUrl);
    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    QByteArray m_html;
    QUrl m_pageUrl; // without fragment
};

// Lets an untrusted page load nothing but its own files.
class CRemoteFilter : public QWebEngineUrlRequestInterceptor
{
    Q_OBJECT

public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void setTrusted(bool trusted) { m_trusted = trusted; }
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

private:
    std::atomic<bool> m_trusted{false};
};
