#pragma once

#include "dialogs/toolbar_layout_edit.h"

#include <QDialog>

class QListWidget;
class QPushButton;

// The customise dialog of one toolbar: the buttons that can be added (a
// separator and every button of the table not on the toolbar) beside the
// toolbar's own list, with add, remove, move up and down, and reset to the
// toolbar's default set. Given the toolbar's list and its defaults (command
// ids, 0 for a separator); after OK, buttons() holds the new list.
class CCustomizeToolbarDlg : public QDialog
{
    Q_OBJECT

public:
    CCustomizeToolbarDlg(const QString& title, const QList<int>& buttons,
                         const QList<int>& defaults, QWidget* parent = nullptr);

    QList<int> buttons() const { return m_edit.buttons(); }

private:
    void addSelected();
    void removeSelected();
    void move(bool up);
    void reset();
    // Fills both lists again, selecting those rows.
    void refresh(int availableRow, int currentRow);
    void updateButtons();

    CToolbarLayoutEdit m_edit;
    QListWidget* m_available = nullptr;
    QListWidget* m_current = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_up = nullptr;
    QPushButton* m_down = nullptr;
};
