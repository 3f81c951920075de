#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

// "履歴削除": the recent-file list, from which the user deletes single
// entries or all of them. The list box is the only working copy; after OK,
// files() holds the remaining paths in their order, most recent first.
class CHistoryDeleteDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CHistoryDeleteDlg(const QStringList& recentFiles, QWidget* parent = nullptr);

    QStringList files() const { return m_files; }

    // The row selected after the row `deleted` is deleted and `remaining`
    // rows are left: the first row when the first was deleted, else the
    // same row, or the new last one when the last was deleted; -1 when the
    // list is empty.
    static int selectionAfterDelete(int deleted, int remaining);

    void accept() override;

private:
    void deleteSelected();
    void deleteAll();
    void updateButtons();

    QListWidget* m_list;
    QPushButton* m_delete;
    QPushButton* m_deleteAll;
    QStringList m_files;
};
