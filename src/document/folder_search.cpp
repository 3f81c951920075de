#include "document/folder_search.h"

#include "document/document_file.h"
#include "document/text_matcher.h"
#include "document/utf16_text.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>

namespace {

// The text of a file as opening it as a document gives it, in UTF-16.
QString documentText(const QByteArray& fileBytes)
{
    return Utf16Text::decode(DocumentFile::decode(fileBytes).bytes);
}

// Binary: a NUL byte in a file that is not UTF-16 (whose NULs are text).
bool isBinary(QByteArrayView bytes)
{
    if (bytes.startsWith("\xff\xfe") || bytes.startsWith("\xfe\xff"))
        return false;
    return bytes.contains('\0');
}

enum class Outcome { Searched, TooLarge, Unreadable, Binary };

Outcome searchFile(const QFileInfo& info, const FolderSearchQuery& query,
                   const TextMatcher& matcher, int limit, QList<ResultEntry>& entries)
{
    if (info.size() > query.sizeLimit)
        return Outcome::TooLarge;
    QFile file(info.filePath());
    if (!file.open(QIODevice::ReadOnly))
        return Outcome::Unreadable;
    // A file grown since it was listed is read only up to the limit.
    const QByteArray bytes = file.read(query.sizeLimit + 1);
    if (file.error() != QFileDevice::NoError)
        return Outcome::Unreadable;
    if (bytes.size() > query.sizeLimit)
        return Outcome::TooLarge;
    if (isBinary(bytes))
        return Outcome::Binary;
    if (matcher.mayOccurIn(bytes))
        entries = matcher.matches(documentText(bytes), limit);
    return Outcome::Searched;
}

} // namespace

namespace FolderSearch {

QStringList nameFilters(const QString& fileTypes)
{
    QStringList filters;
    for (const QString& part : fileTypes.split(QLatin1Char(';'))) {
        const QString filter = part.trimmed();
        if (!filter.isEmpty())
            filters.append(filter);
    }
    return filters;
}

FolderSearchSummary run(const FolderSearchQuery& query,
                        const std::function<void(FileMatches&&)>& found,
                        const std::function<void(int, const QString&)>& progress,
                        const std::atomic<bool>& stop)
{
    FolderSearchSummary summary;
    const QFileInfo root(query.folder);
    if (!root.isDir()) {
        summary.error = QStringLiteral("フォルダー %1 が見つかりません。").arg(query.folder);
        return summary;
    }
    const TextMatcher matcher =
        query.regex ? TextMatcher(query.expression) : TextMatcher(query.text, query.matchCase);
    QElapsedTimer sinceProgress;
    sinceProgress.start();
    // Folders still to search, the next one last.
    QStringList folders{root.absoluteFilePath()};
    while (!folders.isEmpty() && !summary.limitReached) {
        const QDir dir(folders.takeLast());
        const QFileInfo folder(dir.path());
        if (!folder.isReadable() || !folder.isExecutable()) {
            ++summary.unreadable;
            continue;
        }
        const QFileInfoList files = dir.entryInfoList(query.nameFilters, QDir::Files | QDir::Hidden,
                                                      QDir::Name | QDir::IgnoreCase);
        for (const QFileInfo& info : files) {
            if (stop.load(std::memory_order_relaxed)) {
                summary.stopped = true;
                return summary;
            }
            if (sinceProgress.elapsed() >= 100) {
                progress(summary.filesSearched, info.filePath());
                sinceProgress.restart();
            }
            FileMatches matches{info.filePath(), {}};
            const int left = static_cast<int>(query.matchLimit - summary.matches);
            switch (searchFile(info, query, matcher, left, matches.entries)) {
            case Outcome::TooLarge:
                ++summary.tooLarge;
                continue;
            case Outcome::Unreadable:
                ++summary.unreadable;
                continue;
            case Outcome::Binary:
                ++summary.binary;
                continue;
            case Outcome::Searched:
                ++summary.filesSearched;
                break;
            }
            if (matches.entries.isEmpty())
                continue;
            ++summary.filesMatched;
            summary.matches += matches.entries.size();
            found(std::move(matches));
            if (summary.matches >= query.matchLimit) {
                summary.limitReached = true;
                break;
            }
        }
        if (!query.subfolders)
            break;
        const QFileInfoList subfolders =
            dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks | QDir::Hidden,
                              QDir::Name | QDir::IgnoreCase);
        for (auto it = subfolders.crbegin(); it != subfolders.crend(); ++it)
            folders.append(it->absoluteFilePath());
    }
    return summary;
}

} // namespace FolderSearch

// One search: the flag that stops it.
struct CFolderSearch::Run
{
    std::atomic<bool> stop{false};
};

CFolderSearch::CFolderSearch(QObject* parent) : QObject(parent) {}

CFolderSearch::~CFolderSearch()
{
    joinWorker();
}

void CFolderSearch::joinWorker()
{
    if (m_run)
        m_run->stop = true;
    if (m_worker.joinable())
        m_worker.join();
}

void CFolderSearch::start(const FolderSearchQuery& query)
{
    joinWorker();
    auto run = std::make_shared<Run>();
    m_run = run;
    m_running = true;
    // Reports come back through queued calls, each dropped when its search
    // is no longer the current one.
    auto post = [this, run](auto report) {
        QMetaObject::invokeMethod(
            this,
            [this, run, report = std::move(report)]() mutable {
                if (m_run == run)
                    report();
            },
            Qt::QueuedConnection);
    };
    m_worker = std::thread([this, query, run, post] {
        QList<FileMatches> batch;
        qsizetype batchEntries = 0;
        QElapsedTimer sinceBatch;
        sinceBatch.start();
        auto flush = [&] {
            if (batch.isEmpty())
                return;
            post([this, batch = std::move(batch)] { emit matchesFound(batch); });
            batch = {};
            batchEntries = 0;
            sinceBatch.restart();
        };
        const FolderSearchSummary summary = FolderSearch::run(
            query,
            [&](FileMatches&& matches) {
                batchEntries += matches.entries.size();
                batch.append(std::move(matches));
                if (sinceBatch.elapsed() >= 200 || batchEntries >= 2000)
                    flush();
            },
            [&](int files, const QString& path) {
                flush();
                post([this, files, path] { emit progress(files, path); });
            },
            run->stop);
        flush();
        post([this, summary] {
            m_running = false;
            emit finished(summary);
        });
    });
}

void CFolderSearch::stop()
{
    if (m_run)
        m_run->stop = true;
}
