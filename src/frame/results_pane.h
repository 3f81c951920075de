#pragma once

#include <QDockWidget>

class CFolderSearch;
class CMainFrame;
class CResultsList;
class QLabel;
class QToolButton;
struct FolderSearchQuery;
struct FolderSearchSummary;

// The pane at the bottom of the main window that runs a find in files and
// lists what it finds, grouped by file: a progress line with a stop button
// above the results. The search runs on a worker thread, so the window stays
// usable meanwhile; when it ends the focus goes to the list, its first
// result chosen. Enter or a double click on a result opens its file, or
// activates the file's window, with the match selected.
class CResultsPane : public QDockWidget
{
    Q_OBJECT

public:
    // The frame's pane, made and docked at the bottom the first time.
    static CResultsPane* of(CMainFrame* frame);

    explicit CResultsPane(CMainFrame* frame);
    ~CResultsPane() override;

    // Starts a search (stopping one that runs) for what, as the line shows it.
    void start(const FolderSearchQuery& query, const QString& what);
    void stop();
    bool isRunning() const;

    CResultsList* list() const { return m_list; }
    QString progressText() const;

    // The line that sums up a search: what was found, where, what was
    // skipped and whether it stopped early.
    static QString summaryText(const QString& what, const FolderSearchSummary& summary);

Q_SIGNALS:
    // The search has ended and the list holds all it found.
    void searchFinished();

private:
    void showProgress(int files, const QString& path);
    void finish(const FolderSearchSummary& summary);
    void open(const QString& path, int line, int column, int length);

    CMainFrame* m_frame;
    CFolderSearch* m_search;
    CResultsList* m_list;
    QLabel* m_progress;
    QToolButton* m_stop;
    QString m_what;
};
