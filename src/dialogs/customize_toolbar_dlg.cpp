#include "dialogs/customize_toolbar_dlg.h"

#include "resources/command_table.h"
#include "resources/icons.h"
#include "widgets/dialog_layout.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString buttonText(int id)
{
    if (id == 0)
        return QStringLiteral("区切り");
    const Resources::Command* c = Resources::command(id);
    return c ? c->buttonText : QString();
}

void addItem(QListWidget* list, int id)
{
    auto* item = new QListWidgetItem(Resources::toolbarIcon(id), buttonText(id), list);
    item->setData(Qt::UserRole, id);
    // Two buttons share the text "引用"; their prompts tell them apart.
    item->setToolTip(Resources::prompt(id));
}

QListWidget* buttonList(const QString& name, QWidget* parent)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setIconSize(QSize(16, 16));
    list->setMinimumSize(220, 300);
    return list;
}

QPushButton* pushButton(const QString& name, const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

CCustomizeToolbarDlg::CCustomizeToolbarDlg(const QString& title, const QList<int>& buttons,
                                           const QList<int>& defaults, QWidget* parent)
    : QDialog(parent), m_edit(buttons, defaults)
{
    setObjectName(QStringLiteral("customizeToolbarDlg"));
    setWindowTitle(title);

    m_available = buttonList(QStringLiteral("availableList"), this);
    m_current = buttonList(QStringLiteral("currentList"), this);
    m_add = pushButton(QStringLiteral("addButton"), QStringLiteral("追加(&A) ->"), this);
    m_remove = pushButton(QStringLiteral("removeButton"), QStringLiteral("<- 削除(&R)"), this);
    m_up = pushButton(QStringLiteral("moveUpButton"), QStringLiteral("上へ移動(&U)"), this);
    m_down = pushButton(QStringLiteral("moveDownButton"), QStringLiteral("下へ移動(&D)"), this);
    QPushButton* resetButton =
        pushButton(QStringLiteral("resetButton"), QStringLiteral("リセット(&E)"), this);

    auto* middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(m_add);
    middle->addWidget(m_remove);
    middle->addStretch();
    auto* side = new QVBoxLayout;
    side->addWidget(resetButton);
    side->addSpacing(12);
    side->addWidget(m_up);
    side->addWidget(m_down);
    side->addStretch();

    auto* grid = new QGridLayout;
    grid->addWidget(
        DialogLayout::buddyLabel(QStringLiteral("利用できるボタン(&V):"), m_available, this), 0, 0);
    grid->addWidget(DialogLayout::buddyLabel(QStringLiteral("現在のボタン(&T):"), m_current, this),
                    0, 2);
    grid->addWidget(m_available, 1, 0);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(m_current, 1, 2);
    grid->addLayout(side, 1, 3);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(DialogLayout::okCancelButtons(this));

    connect(m_add, &QPushButton::clicked, this, &CCustomizeToolbarDlg::addSelected);
    connect(m_remove, &QPushButton::clicked, this, &CCustomizeToolbarDlg::removeSelected);
    connect(m_up, &QPushButton::clicked, this, [this] { move(true); });
    connect(m_down, &QPushButton::clicked, this, [this] { move(false); });
    connect(resetButton, &QPushButton::clicked, this, &CCustomizeToolbarDlg::reset);
    connect(m_available, &QListWidget::itemDoubleClicked, this, &CCustomizeToolbarDlg::addSelected);
    connect(m_current, &QListWidget::itemDoubleClicked, this,
            &CCustomizeToolbarDlg::removeSelected);
    connect(m_available, &QListWidget::currentRowChanged, this,
            &CCustomizeToolbarDlg::updateButtons);
    connect(m_current, &QListWidget::currentRowChanged, this, &CCustomizeToolbarDlg::updateButtons);
    refresh(0, 0);
}

void CCustomizeToolbarDlg::refresh(int availableRow, int currentRow)
{
    const QSignalBlocker blockAvailable(m_available);
    const QSignalBlocker blockCurrent(m_current);
    m_available->clear();
    for (int id : m_edit.available())
        addItem(m_available, id);
    m_current->clear();
    for (int id : m_edit.buttons())
        addItem(m_current, id);
    // The empty last row is the place after the last button: adding there
    // appends.
    auto* end = new QListWidgetItem(m_current);
    end->setData(Qt::UserRole, -1);
    m_available->setCurrentRow(qBound(0, availableRow, m_available->count() - 1));
    m_current->setCurrentRow(qBound(0, currentRow, m_current->count() - 1));
    updateButtons();
}

void CCustomizeToolbarDlg::updateButtons()
{
    const int row = m_current->currentRow();
    const bool onButton = row >= 0 && row < m_edit.count();
    m_add->setEnabled(m_available->currentRow() >= 0);
    m_remove->setEnabled(onButton);
    m_up->setEnabled(onButton && row > 0);
    m_down->setEnabled(onButton && row + 1 < m_edit.count());
}

void CCustomizeToolbarDlg::addSelected()
{
    const int index = m_available->currentRow();
    const int at = qMax(0, m_current->currentRow());
    if (!m_edit.add(index, at))
        return;
    // The row that was selected stays selected, so buttons added one after
    // another keep their order; the separator stays on offer.
    refresh(index, at + 1);
}

void CCustomizeToolbarDlg::removeSelected()
{
    const int at = m_current->currentRow();
    const int id = at >= 0 && at < m_edit.count() ? m_edit.buttons()[at] : 0;
    if (!m_edit.remove(at))
        return;
    refresh(qMax(0, int(m_edit.available().indexOf(id))), at);
}

void CCustomizeToolbarDlg::move(bool up)
{
    const int at = m_current->currentRow();
    if (up ? m_edit.moveUp(at) : m_edit.moveDown(at))
        refresh(m_available->currentRow(), up ? at - 1 : at + 1);
}

void CCustomizeToolbarDlg::reset()
{
    m_edit.reset();
    refresh(0, 0);
}
