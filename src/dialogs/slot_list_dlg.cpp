#include "dialogs/slot_list_dlg.h"

#include "widgets/dialog_layout.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* addButton(QVBoxLayout* column, const QString& caption, const QString& name,
                       QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    column->addWidget(button);
    return button;
}

} // namespace

CSlotListDlg::CSlotListDlg(const QString& title, const QString& listCaption, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(title);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("slotList"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setMinimumSize(220, 190);

    auto* column = new QVBoxLayout;
    m_new = addButton(column, QStringLiteral("新規登録(&R)"), QStringLiteral("newButton"), this);
    m_change = addButton(column, QStringLiteral("変更(&C)"), QStringLiteral("changeButton"), this);
    m_delete = addButton(column, QStringLiteral("削除(&D)"), QStringLiteral("deleteButton"), this);
    column->addSpacing(10);
    m_up = addButton(column, QStringLiteral("上に移動(&T)"), QStringLiteral("upButton"), this);
    m_down = addButton(column, QStringLiteral("下に移動(&B)"), QStringLiteral("downButton"), this);
    column->addStretch(1);
    auto* buttons = DialogLayout::okCancelButtons(this);
    buttons->setOrientation(Qt::Vertical);
    column->addWidget(buttons);

    auto* grid = new QGridLayout(this);
    grid->addWidget(DialogLayout::buddyLabel(listCaption, m_list, this), 0, 0);
    grid->addWidget(m_list, 1, 0);
    grid->addLayout(column, 1, 1);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(0, 1);

    connect(m_list, &QListWidget::itemSelectionChanged, this, &CSlotListDlg::updateButtons);
    connect(m_new, &QPushButton::clicked, this, &CSlotListDlg::addNew);
    connect(m_change, &QPushButton::clicked, this, &CSlotListDlg::changeSelected);
    connect(m_delete, &QPushButton::clicked, this, &CSlotListDlg::deleteSelected);
    connect(m_up, &QPushButton::clicked, this, [this] { moveSelected(-1); });
    connect(m_down, &QPushButton::clicked, this, [this] { moveSelected(1); });
}

void CSlotListDlg::fillList()
{
    m_list->clear();
    for (int slot = 0; slot < SlotNames::kSlotCount && !slotText(slot).isEmpty(); ++slot)
        m_list->addItem(slotText(slot));
    updateButtons();
}

int CSlotListDlg::selectedLine() const
{
    const QList<QListWidgetItem*> chosen = m_list->selectedItems();
    return chosen.isEmpty() ? -1 : m_list->row(chosen.first());
}

void CSlotListDlg::updateButtons()
{
    const int lines = m_list->count();
    const int s = selectedLine();
    m_change->setEnabled(s >= 0);
    m_delete->setEnabled(s >= 0);
    m_up->setEnabled(s > 0);
    m_down->setEnabled(s >= 0 && s + 1 != lines);
    m_new->setEnabled(lines < SlotNames::kSlotCount);
}

void CSlotListDlg::select(int line)
{
    if (line < 0 || line >= m_list->count()) {
        m_list->clearSelection();
        m_list->setCurrentRow(-1);
    } else {
        m_list->setCurrentRow(line, QItemSelectionModel::ClearAndSelect);
    }
    updateButtons();
}

void CSlotListDlg::addNew()
{
    const int slot = m_list->count();
    if (slot >= SlotNames::kSlotCount || !editSlot(slot, true))
        return;
    m_list->addItem(slotText(slot));
    select(slot);
}

void CSlotListDlg::changeSelected()
{
    const int s = selectedLine();
    if (s < 0)
        return;
    editSlot(s, false);
    m_list->item(s)->setText(slotText(s));
    select(s);
}

void CSlotListDlg::deleteSelected()
{
    const int s = selectedLine();
    if (s < 0)
        return;
    removeSlot(s);
    delete m_list->takeItem(s);
    select(s < m_list->count() ? s : s - 1);
}

void CSlotListDlg::moveSelected(int step)
{
    const int s = selectedLine();
    const int to = s + step;
    if (s < 0 || to < 0 || to >= m_list->count())
        return;
    swapSlots(s, to);
    m_list->insertItem(to, m_list->takeItem(s));
    select(to);
}
