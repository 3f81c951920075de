#pragma once

#include <QList>
#include <QString>
#include <QTreeView>

class CResultsModel;

// One entry of a results list: a place in a file and the text shown for it
// (the line found, a checker's message, ...). Line and column count from 1,
// the column in characters; length is the length of the place in characters
// (0 for a point).
struct ResultEntry
{
    int line = 1;
    int column = 1;
    int length = 0;
    QString text;
};

// A list of places in files, grouped by file: one row per file (its full
// path and its number of entries), the entries below it with their line and
// column. Entries are added in batches while a search runs; those of a file
// already listed join its group.
//
// Enter or a double click on an entry emits entryActivated; Enter or a
// double click on a file row folds or unfolds it. Ctrl+C copies the selected
// entries (all of a selected file row's entries) as lines
// "PATH:LINE:COLUMN: TEXT", the form grep and most tools read; Ctrl+A selects
// every row first.
class CResultsList : public QTreeView
{
    Q_OBJECT

public:
    explicit CResultsList(QWidget* parent = nullptr);
    ~CResultsList() override;

    // Removes every entry.
    void clearEntries();
    // Appends entries to the group of path, creating it at the end.
    void addEntries(const QString& path, const QList<ResultEntry>& entries);

    int fileCount() const;
    int entryCount() const;

    // The selected entries in list order, one "PATH:LINE:COLUMN: TEXT" line
    // each, every line ending with a line feed; what Ctrl+C copies.
    QString selectedEntriesText() const;
    // Copies selectedEntriesText() to the clipboard (nothing when empty).
    void copySelection();

    // Makes the first entry current and selected, so that Enter opens it.
    void selectFirstEntry();

Q_SIGNALS:
    void entryActivated(const QString& path, int line, int column, int length);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void activate(const QModelIndex& index);

    CResultsModel* m_model;
};
