#include "page_scheme.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace PageScheme {

namespace {
// The path of a page without a file: not a path any file can have.
const QString kNoFile = QStringLiteral("/\u0001untitled");
} // namespace

void registerScheme()
{
    QWebEngineUrlScheme scheme(kName);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    // Like file: a local scheme, which reaches the network only when the
    // page's settings allow it.
    scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed |
                    QWebEngineUrlScheme::SecureScheme);
    QWebEngineUrlScheme::registerScheme(scheme);
}

QUrl pageUrl(const QUrl& fileUrl)
{
    QUrl url;
    url.setScheme(QString::fromLatin1(kName));
    url.setPath(fileUrl.isLocalFile() ? fileUrl.path() : kNoFile);
    return url;
}

QUrl fileUrl(const QUrl& url)
{
    if (url.scheme() != QLatin1String(kName))
        return url;
    QUrl file = QUrl::fromLocalFile(url.path());
    file.setQuery(url.query());
    file.setFragment(url.fragment());
    return file;
}

} // namespace PageScheme

void CPageSchemeHandler::setPage(const QByteArray& html, const QUrl& pageUrl)
{
    m_html = html;
    m_pageUrl = pageUrl.adjusted(QUrl::RemoveFragment | QUrl::RemoveQuery);
}

void CPageSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job)
{
    const QUrl url = job->requestUrl().adjusted(QUrl::RemoveFragment | QUrl::RemoveQuery);
    QIODevice* device = nullptr;
    QByteArray type;
    if (url == m_pageUrl) {
        // The editor's text is UTF-8, whatever the page declares.
        auto* buffer = new QBuffer;
        buffer->setData(m_html);
        device = buffer;
        type = "text/html;charset=utf-8";
    } else {
        const QString path = url.path();
        if (m_pageUrl.path() == PageScheme::pageUrl(QUrl()).path() || !QFileInfo(path).isFile()) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        auto* file = new QFile(path);
        if (!file->open(QIODevice::ReadOnly)) {
            delete file;
            job->fail(QWebEngineUrlRequestJob::RequestDenied);
            return;
        }
        device = file;
        type = QMimeDatabase().mimeTypeForFile(path).name().toLatin1();
    }
    connect(job, &QObject::destroyed, device, &QObject::deleteLater);
    job->reply(type, device);
}

void CRemoteFilter::interceptRequest(QWebEngineUrlRequestInfo& info)
{
    if (m_trusted)
        return;
    const QString scheme = info.requestUrl().scheme();
    const bool own = scheme == QLatin1String(PageScheme::kName) ||
                     scheme == QLatin1String("file") || scheme == QLatin1String("data") ||
                     scheme == QLatin1String("blob") || scheme == QLatin1String("about");
    if (!own)
        info.block(true);
}
