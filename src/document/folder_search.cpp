#include "document/folder_search.h"

#include "core/file_names.h"
#include "document/text_decoding.h"
#include "document/text_matcher.h"
#include "document/utf16_text.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QMetaObject>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The text of a file as opening it as a document gives it, in UTF-16.
QString documentText(const QByteArray& fileBytes)
{
    const TextDecoding::Text text = TextDecoding::decode(fileBytes);
    // Only bytes left unconverted may hold bytes that are no UTF-8.
    return text.unconverted ? CUtf16Text::decode(text.bytes) : QString::fromUtf8(text.bytes);
}

// Binary: a NUL byte in a file that is not UTF-16 (whose NULs are text).
bool isBinary(QByteArrayView bytes)
{
    if (bytes.startsWith("\xff\xfe") || bytes.startsWith("\xfe\xff"))
        return false;
    return bytes.contains('\0');
}

// The entries of a folder: the files whose names match the filters and the
// subfolders, each in name order with letter case ignored. Entries are told
// apart by the type the folder gives them, so that listing costs no status
// call per file; a symbolic link counts as the file it points to, never as
// a folder.
struct FolderEntries
{
    QStringList files;
    QStringList folders;
    bool readable = true;
};

FolderEntries list(const QString& folder, const QList<QRegularExpression>& filters)
{
    FolderEntries entries;
    const QByteArray path = FileNames::encode(folder);
    DIR* dir = ::opendir(path.constData());
    if (!dir) {
        entries.readable = false;
        return entries;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        unsigned char type = entry->d_type;
        if (type == DT_UNKNOWN || type == DT_LNK) {
            struct stat status;
            const QByteArray full = path + '/' + name;
            if (::stat(full.constData(), &status) != 0)
                continue;
            if (S_ISDIR(status.st_mode))
                type = type == DT_LNK ? DT_LNK : DT_DIR;
            else
                type = S_ISREG(status.st_mode) ? DT_REG : DT_UNKNOWN;
        }
        const QString decoded = FileNames::decode(QByteArray(name));
        if (type == DT_DIR) {
            entries.folders.append(decoded);
        } else if (type == DT_REG) {
            // A name that is not UTF-8 is matched as it is shown, since an
            // expression never matches text holding lone surrogates.
            const QString shown =
                FileNames::hasRawBytes(decoded) ? FileNames::display(decoded) : decoded;
            for (const QRegularExpression& filter : filters) {
                if (filter.match(shown).hasMatch()) {
                    entries.files.append(decoded);
                    break;
                }
            }
        }
    }
    ::closedir(dir);
    auto byName = [](const QString& a, const QString& b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    };
    std::sort(entries.files.begin(), entries.files.end(), byName);
    std::sort(entries.folders.begin(), entries.folders.end(), byName);
    return entries;
}

enum class Outcome { Searched, TooLarge, Unreadable, Binary, NotAFile };

// Reads a file whole with one status call and as few reads as it takes.
Outcome readFile(const QString& path, qint64 sizeLimit, QByteArray& bytes)
{
    const int fd = ::open(FileNames::encode(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return Outcome::Unreadable;
    struct stat status;
    Outcome outcome = Outcome::Searched;
    if (::fstat(fd, &status) != 0) {
        outcome = Outcome::Unreadable;
    } else if (!S_ISREG(status.st_mode)) {
        outcome = Outcome::NotAFile;
    } else if (status.st_size > sizeLimit) {
        outcome = Outcome::TooLarge;
    } else {
        // One byte more than the size tells a file that has grown meanwhile.
        bytes.resize(status.st_size + 1);
        qint64 done = 0;
        for (;;) {
            const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                outcome = Outcome::Unreadable;
                break;
            }
            done += got;
            if (got == 0 || done > sizeLimit)
                break;
            if (done == bytes.size())
                bytes.resize(qMin<qint64>(bytes.size() * 2, sizeLimit + 1));
        }
        bytes.truncate(done);
        if (done > sizeLimit)
            outcome = Outcome::TooLarge;
    }
    ::close(fd);
    return outcome;
}

struct FileResult
{
    Outcome outcome = Outcome::NotAFile;
    QList<ResultEntry> entries;
    bool gaveUp = false; // the pattern was too complex to search the file to its end
};

// Counts the outcome; true when the file has matches to report.
bool take(const FileResult& result, FolderSearchSummary& summary)
{
    switch (result.outcome) {
    case Outcome::TooLarge:
        ++summary.tooLarge;
        return false;
    case Outcome::Unreadable:
        ++summary.unreadable;
        return false;
    case Outcome::Binary:
        ++summary.binary;
        return false;
    case Outcome::NotAFile:
        return false;
    case Outcome::Searched:
        ++summary.filesSearched;
        summary.gaveUp += result.gaveUp ? 1 : 0;
        break;
    }
    return !result.entries.isEmpty();
}

// A matcher of the query's own, sharing nothing with another one, for one
// thread.
CTextMatcher matcherFor(const FolderSearchQuery& query)
{
    if (!query.regex)
        return CTextMatcher(query.text, query.matchCase);
    return CTextMatcher(
        QRegularExpression(query.expression.pattern(), query.expression.patternOptions()));
}

Outcome searchFile(const QString& path, const FolderSearchQuery& query, const CTextMatcher& matcher,
                   int limit, QList<ResultEntry>& entries, bool& gaveUp)
{
    QByteArray bytes;
    const Outcome outcome = readFile(path, query.sizeLimit, bytes);
    if (outcome != Outcome::Searched)
        return outcome;
    if (isBinary(bytes))
        return Outcome::Binary;
    if (matcher.mayOccurIn(bytes))
        entries = matcher.matches(documentText(bytes), limit, &gaveUp);
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
    struct stat rootStatus;
    if (::stat(FileNames::encode(query.folder).constData(), &rootStatus) != 0 ||
        !S_ISDIR(rootStatus.st_mode)) {
        summary.error = QStringLiteral("フォルダー %1 が見つかりません。")
                            .arg(FileNames::display(query.folder));
        return summary;
    }
    const QFileInfo root(query.folder);
    QList<QRegularExpression> filters;
    for (const QString& filter : query.nameFilters)
        filters.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(filter),
                                          QRegularExpression::CaseInsensitiveOption));
    // The files of each folder are searched by this thread and helpers
    // together, each with a matcher of its own; the results are then taken
    // in name order.
    const int helpers = qMax(0, QThread::idealThreadCount() - 1);
    QThreadPool pool;
    pool.setMaxThreadCount(qMax(1, helpers));
    std::vector<CTextMatcher> matchers;
    for (int i = 0; i <= helpers; ++i)
        matchers.push_back(matcherFor(query));

    QElapsedTimer sinceProgress;
    sinceProgress.start();
    // Folders still to search, the next one last.
    QStringList folders{root.absoluteFilePath()};
    while (!folders.isEmpty() && !summary.limitReached) {
        const QString folder = folders.takeLast();
        const FolderEntries entries = list(folder, filters);
        if (!entries.readable) {
            ++summary.unreadable;
            continue;
        }
        const int count = static_cast<int>(entries.files.size());
        std::vector<FileResult> results(static_cast<size_t>(count));
        std::atomic<int> next{0};
        const int left = static_cast<int>(query.matchLimit - summary.matches);
        auto work = [&](const CTextMatcher& matcher) {
            for (int i; (i = next++) < count && !stop.load(std::memory_order_relaxed);) {
                FileResult& result = results[static_cast<size_t>(i)];
                result.outcome = searchFile(folder + QLatin1Char('/') + entries.files[i], query,
                                            matcher, left, result.entries, result.gaveUp);
            }
        };
        for (int h = 1; h <= helpers && h < count; ++h)
            pool.start([&work, &matchers, h] { work(matchers[static_cast<size_t>(h)]); });
        work(matchers[0]);
        pool.waitForDone();
        if (stop.load(std::memory_order_relaxed)) {
            summary.stopped = true;
            return summary;
        }
        for (int i = 0; i < count && !summary.limitReached; ++i) {
            FileResult& result = results[static_cast<size_t>(i)];
            if (!take(result, summary))
                continue;
            FileMatches matches{folder + QLatin1Char('/') + entries.files[i],
                                std::move(result.entries)};
            const qint64 room = query.matchLimit - summary.matches;
            if (matches.entries.size() >= room) {
                matches.entries.resize(room);
                summary.limitReached = true;
            }
            ++summary.filesMatched;
            summary.matches += matches.entries.size();
            found(std::move(matches));
        }
        if (count > 0 && sinceProgress.elapsed() >= 100) {
            progress(summary.filesSearched, folder + QLatin1Char('/') + entries.files.last());
            sinceProgress.restart();
        }
        if (!query.subfolders)
            break;
        for (auto it = entries.folders.crbegin(); it != entries.folders.crend(); ++it)
            folders.append(folder + QLatin1Char('/') + *it);
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
