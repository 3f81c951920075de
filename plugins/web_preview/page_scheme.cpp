#include "page_scheme.h"

#include "core/file_names.h"

#include <QBuffer>
#include <QFile>
#include <QMimeDatabase>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The system's bytes of the path an address of the scheme names.
QByteArray systemPath(const QUrl& url)
{
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
}
} // namespace

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
    if (!fileUrl.isLocalFile()) {
        url.setPath(kNoFile);
        return url;
    }
    // The path as its bytes: a name that is not UTF-8 keeps them, where its
    // characters would not come back from the engine as they went.
    const QByteArray bytes = FileNames::encode(fileUrl.path());
    url.setPath(QString::fromLatin1(bytes.toPercentEncoding("/")), QUrl::TolerantMode);
    return url;
}

QUrl fileUrl(const QUrl& url)
{
    if (url.scheme() != QLatin1String(kName))
        return url;
    QUrl file = QUrl::fromLocalFile(FileNames::decode(systemPath(url)));
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
        const QByteArray path = systemPath(url);
        struct stat st;
        if (m_pageUrl.path() == PageScheme::pageUrl(QUrl()).path() ||
            ::stat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode)) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        // Opened by its bytes, which QFile cannot take for a name that is not UTF-8.
        const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
        auto* file = new QFile;
        if (fd < 0 || !file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
            if (fd >= 0)
                ::close(fd);
            delete file;
            job->fail(QWebEngineUrlRequestJob::RequestDenied);
            return;
        }
        device = file;
        type = QMimeDatabase()
                   .mimeTypeForFile(FileNames::decode(path), QMimeDatabase::MatchExtension)
                   .name()
                   .toLatin1();
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
