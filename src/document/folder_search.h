#pragma once

#include "widgets/results_list.h"

#include <QList>
#include <QObject>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

// What a search through the files of a folder looks for, and where.
struct FolderSearchQuery
{
    static constexpr qint64 kDefaultSizeLimit = 32 << 20;
    static constexpr int kDefaultMatchLimit = 100000;

    QString folder;
    QStringList nameFilters; // "*.htm", ... (letter case ignored)
    bool subfolders = true;
    // A plain text (letter case folded for ASCII letters unless matchCase),
    // or, with regex, a compiled expression with its own options.
    QString text;
    bool matchCase = false;
    bool regex = false;
    QRegularExpression expression;
    qint64 sizeLimit = kDefaultSizeLimit; // larger files are skipped
    int matchLimit = kDefaultMatchLimit;  // the search stops after this many
};

// The matches in one file.
struct FileMatches
{
    QString path;
    QList<ResultEntry> entries;
};

// How a search went.
struct FolderSearchSummary
{
    int filesSearched = 0;
    int filesMatched = 0;
    qint64 matches = 0;
    int binary = 0;     // files holding NUL bytes (not UTF-16), skipped
    int tooLarge = 0;   // files over the size limit, skipped
    int unreadable = 0; // files and folders that could not be read
    int gaveUp = 0;     // files a pattern was too complex to search to the end
    bool stopped = false;
    bool limitReached = false;
    QString error; // the folder itself cannot be searched; nothing was
};

namespace FolderSearch {

// The name filters of a file-type text such as "*.htm;*.html": the parts
// between semicolons, trimmed, empty ones left out.
QStringList nameFilters(const QString& fileTypes);

// Runs a search on the calling thread: the files of the folder in name
// order, then each subfolder's (symbolic links to folders are not
// followed). Each file is read as opening it as a document reads it. found
// gets every file with matches; progress now and then the number of files
// searched and the file at hand. Stops soon after stop turns true.
FolderSearchSummary run(const FolderSearchQuery& query,
                        const std::function<void(FileMatches&&)>& found,
                        const std::function<void(int, const QString&)>& progress,
                        const std::atomic<bool>& stop);

} // namespace FolderSearch

// Runs folder searches on a worker thread, one at a time, and reports on
// the thread that owns it: matches in batches (a few times a second at
// most), progress, and the end. Starting a new search stops the one running,
// whose reports no longer arrive.
class CFolderSearch : public QObject
{
    Q_OBJECT

public:
    explicit CFolderSearch(QObject* parent = nullptr);
    ~CFolderSearch() override; // stops the search and waits for its thread

    void start(const FolderSearchQuery& query);
    // Asks the running search to stop; finished() follows.
    void stop();
    bool isRunning() const { return m_running; }

Q_SIGNALS:
    void matchesFound(const QList<FileMatches>& batch);
    void progress(int filesSearched, const QString& path);
    void finished(const FolderSearchSummary& summary);

private:
    struct Run;
    void joinWorker();

    std::shared_ptr<Run> m_run;
    std::thread m_worker;
    bool m_running = false;
};
