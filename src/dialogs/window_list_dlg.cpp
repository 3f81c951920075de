#include "dialogs/window_list_dlg.h"

#include "widgets/dialog_layout.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

CWindowListDlg::CWindowListDlg(const QStringList& titles, int current, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("windowListDialog"));
    setWindowTitle(QStringLiteral("ウィンドウの一覧"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("windows"));
    m_list->addItems(titles);
    m_list->setCurrentRow(qBound(0, current, int(titles.size()) - 1));
    // Wide enough for ordinary titles; a longer one loses its middle.
    m_list->setMinimumSize(fontMetrics().averageCharWidth() * 48, fontMetrics().height() * 12);
    m_list->setTextElideMode(Qt::ElideMiddle);
    connect(m_list, &QListWidget::itemActivated, this, &CWindowListDlg::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DialogLayout::buddyLabel(QStringLiteral("ウィンドウ(&W) :"), m_list, this));
    layout->addWidget(m_list, 1);
    layout->addWidget(DialogLayout::okCancelButtons(this));
}

void CWindowListDlg::accept()
{
    m_chosen = m_list->currentRow();
    QDialog::accept();
}
