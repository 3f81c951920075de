#include "dialogs/history_delete_dlg.h"

#include "widgets/dialog_layout.h"

#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>

CHistoryDeleteDlg::CHistoryDeleteDlg(const QStringList& recentFiles, QWidget* parent)
    : QDialog(parent), m_list(new QListWidget(this)),
      m_delete(new QPushButton(QStringLiteral("削除(&D)"), this)),
      m_deleteAll(new QPushButton(QStringLiteral("すべて削除(&A)"), this))
{
    setObjectName(QStringLiteral("HistoryDeleteDlg"));
    setWindowTitle(QStringLiteral("履歴削除"));
    m_list->setObjectName(QStringLiteral("fileList"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_list->setMinimumSize(420, 170);
    m_delete->setObjectName(QStringLiteral("deleteButton"));
    m_deleteAll->setObjectName(QStringLiteral("deleteAllButton"));
    for (const QString& path : recentFiles)
        if (!path.isEmpty())
            m_list->addItem(path);
    m_list->setCurrentRow(-1);

    QDialogButtonBox* box = DialogLayout::okCancelButtons(this);
    box->setOrientation(Qt::Vertical);
    auto* grid = new QGridLayout(this);
    grid->addWidget(m_list, 0, 0, 3, 1);
    grid->addWidget(m_delete, 0, 1);
    grid->addWidget(m_deleteAll, 1, 1, Qt::AlignTop);
    grid->addWidget(box, 2, 1, Qt::AlignBottom);

    connect(m_list, &QListWidget::itemSelectionChanged, this, &CHistoryDeleteDlg::updateButtons);
    connect(m_delete, &QPushButton::clicked, this, &CHistoryDeleteDlg::deleteSelected);
    connect(m_deleteAll, &QPushButton::clicked, this, &CHistoryDeleteDlg::deleteAll);
    updateButtons();
}

int CHistoryDeleteDlg::selectionAfterDelete(int deleted, int remaining)
{
    if (remaining <= 0)
        return -1;
    if (deleted <= 0)
        return 0;
    return deleted < remaining ? deleted : remaining - 1;
}

void CHistoryDeleteDlg::deleteSelected()
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return;
    const int row = m_list->row(selected.first());
    delete m_list->takeItem(row);
    const int next = selectionAfterDelete(row, m_list->count());
    m_list->setCurrentRow(next);
    if (next >= 0)
        m_list->item(next)->setSelected(true);
    updateButtons();
    m_list->setFocus();
}

void CHistoryDeleteDlg::deleteAll()
{
    m_list->clear();
    updateButtons();
}

void CHistoryDeleteDlg::updateButtons()
{
    m_delete->setEnabled(!m_list->selectedItems().isEmpty());
    m_deleteAll->setEnabled(m_list->count() > 0);
}

void CHistoryDeleteDlg::accept()
{
    m_files.clear();
    for (int i = 0; i < m_list->count(); ++i)
        m_files.append(m_list->item(i)->text());
    QDialog::accept();
}
