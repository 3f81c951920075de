#include "dialogs/table_dlg.h"

#include "core/ui_seam.h"
#include "dialogs/html/sample_pictures.h"
#include "widgets/dialog_layout.h"
#include "widgets/spin_edit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// Every column starts 1500 twips (1/1440 inch) wide.
constexpr int kColumnTwips = 1500;

using DialogLayout::buddyLabel;
using DialogLayout::spinEdit;

} // namespace

CTableDlg::CTableDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("表の作成"));

    // The settings come first in the focus order, the grid after them.
    QWidget* settings = buildSettings();
    m_grid = new QTableWidget(m_rows, m_columns, this);
    m_grid->setObjectName(QStringLiteral("grid"));
    m_grid->horizontalHeader()->hide();
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->horizontalHeader()->setDefaultSectionSize(kColumnTwips * logicalDpiX() / 1440);
    m_grid->setMinimumSize(kColumnTwips * logicalDpiX() / 1440 * 3 + 24, 240);
    for (int column = 0; column < m_columns; ++column)
        m_grid->setColumnWidth(column, kColumnTwips * logicalDpiX() / 1440);

    m_cellEdit = new QLineEdit(m_grid->viewport());
    m_cellEdit->setObjectName(QStringLiteral("cellEdit"));
    m_cellEdit->hide();
    connect(m_grid, &QTableWidget::cellClicked, this, &CTableDlg::editCell);
    // F2 edits the current cell, for those who move through the grid by keyboard.
    auto* editKey = new QShortcut(QKeySequence(Qt::Key_F2), m_grid, [this] {
        editCell(qMax(0, m_grid->currentRow()), qMax(0, m_grid->currentColumn()));
    });
    editKey->setContext(Qt::WidgetShortcut);
    // Tab and Backtab in the edit box move it to the next or previous cell,
    // and typing in the grid itself edits its current cell, so what is typed
    // always goes into the cell the grid shows as current.
    m_cellEdit->installEventFilter(this);
    m_grid->installEventFilter(this);
    connect(m_cellEdit, &QLineEdit::textChanged, this, &CTableDlg::cellTextEdited);
    // The edit box belongs to one cell: when the cells move under it, it goes.
    for (QScrollBar* bar : {m_grid->horizontalScrollBar(), m_grid->verticalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, this, &CTableDlg::hideCellEditor);

    auto* columns = new QHBoxLayout;
    columns->addWidget(settings);
    columns->addWidget(m_grid, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(DialogLayout::okCancelButtons(this));

    applyHeaders();
    updatePreview();
}

QWidget* CTableDlg::buildSettings()
{
    auto* panel = new QWidget(this);
    m_caption = new QLineEdit(panel);
    m_caption->setObjectName(QStringLiteral("caption"));
    m_rowsEdit = spinEdit(QStringLiteral("rows"), kTableMinCount, kTableMaxCount, panel);
    m_columnsEdit = spinEdit(QStringLiteral("columns"), kTableMinCount, kTableMaxCount, panel);
    m_border = spinEdit(QStringLiteral("border"), 0, 99, panel);
    m_spacing = spinEdit(QStringLiteral("cellSpacing"), 0, 99, panel);
    m_rowsEdit->setText(QString::number(m_rows));
    m_columnsEdit->setText(QString::number(m_columns));
    connect(m_rowsEdit, &CSpinEdit::textChanged, this, &CTableDlg::applyRowCount);
    connect(m_columnsEdit, &CSpinEdit::textChanged, this, &CTableDlg::applyColumnCount);

    m_headerRow = new QCheckBox(QStringLiteral("１行目を見出しにする(&S)"), panel);
    m_headerRow->setObjectName(QStringLiteral("headerRow"));
    m_headerColumn = new QCheckBox(QStringLiteral("１列目を見出しにする(&D)"), panel);
    m_headerColumn->setObjectName(QStringLiteral("headerColumn"));
    for (QCheckBox* box : {m_headerRow, m_headerColumn}) {
        connect(box, &QCheckBox::clicked, this, [this] {
            if (readCounts())
                applyHeaders();
        });
    }

    auto* grid = new QGridLayout;
    grid->addWidget(buddyLabel(QStringLiteral("表題(&T) :"), m_caption, panel), 0, 0);
    grid->addWidget(m_caption, 0, 1, 1, 3);
    grid->addWidget(buddyLabel(QStringLiteral("行数(&R) :"), m_rowsEdit, panel), 1, 0);
    grid->addWidget(m_rowsEdit, 1, 1);
    grid->addWidget(buddyLabel(QStringLiteral("列数(&C) :"), m_columnsEdit, panel), 1, 2);
    grid->addWidget(m_columnsEdit, 1, 3);
    grid->addWidget(buddyLabel(QStringLiteral("外枠の太さ(&B) :"), m_border, panel), 2, 0);
    grid->addWidget(m_border, 2, 1);
    grid->addWidget(buddyLabel(QStringLiteral("内枠の太さ(&L) :"), m_spacing, panel), 2, 2);
    grid->addWidget(m_spacing, 2, 3);

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(grid);
    layout->addWidget(m_headerRow);
    layout->addWidget(m_headerColumn);
    layout->addWidget(buildPlacementGroup());
    layout->addStretch();
    return panel;
}

QWidget* CTableDlg::buildPlacementGroup()
{
    auto* row = new QWidget(this);
    auto* group = new QGroupBox(QStringLiteral("テキストの位置"), row);
    m_placement = new QButtonGroup(this);
    auto* buttons = new QVBoxLayout(group);
    static const char* const texts[] = {"回り込みなし(&X)", "右に回り込み(&Y)", "左に回り込み(&Z)"};
    for (int i = 0; i < 3; ++i) {
        auto* button = new QRadioButton(QString::fromUtf8(texts[i]), group);
        button->setObjectName(QStringLiteral("placement%1").arg(i));
        m_placement->addButton(button, i);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    m_placement->button(TableChoices::NoFlow)->setChecked(true);
    connect(m_placement, &QButtonGroup::idClicked, this, [this] {
        if (!readCounts())
            return;
        applyHeaders();
        updatePreview();
    });

    auto* previewGroup = new QGroupBox(QStringLiteral("プレビュー"), row);
    m_preview = new QLabel(previewGroup);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setFrameShape(QFrame::StyledPanel);
    auto* previewLayout = new QVBoxLayout(previewGroup);
    previewLayout->addWidget(m_preview, 0, Qt::AlignCenter);

    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(group);
    layout->addWidget(previewGroup);
    return row;
}

bool CTableDlg::readCounts()
{
    for (CSpinEdit* box : {m_rowsEdit, m_columnsEdit}) {
        if (!parseDialogInteger(box->text())) {
            UiSeam::messageBox(this, QStringLiteral("整数を入力してください。"),
                               QMessageBox::Warning);
            box->setFocus();
            box->selectAll();
            return false;
        }
    }
    m_rows = boundedTableCount(*parseDialogInteger(m_rowsEdit->text()));
    m_columns = boundedTableCount(*parseDialogInteger(m_columnsEdit->text()));
    return true;
}

void CTableDlg::applyRowCount()
{
    if (!readCounts())
        return;
    keepCellsBeyond(m_rows, m_grid->columnCount());
    m_grid->setRowCount(m_rows);
    restoreKeptCells();
    if (m_editRow >= m_rows)
        m_cellEdit->hide();
    applyHeaders();
}

void CTableDlg::applyColumnCount()
{
    if (!readCounts())
        return;
    keepCellsBeyond(m_grid->rowCount(), m_columns);
    m_grid->setColumnCount(m_columns);
    restoreKeptCells();
    if (m_editColumn >= m_columns)
        m_cellEdit->hide();
    applyHeaders();
}

// A count is typed digit by digit, so on the way to 12 the grid has 1 row
// for a moment: the texts of the cells a lower count cuts off are kept and
// come back when the count grows again. Only what the grid shows goes into
// the table.
void CTableDlg::keepCellsBeyond(int rows, int columns)
{
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        for (int column = row < rows ? columns : 0; column < m_grid->columnCount(); ++column) {
            const QTableWidgetItem* item = m_grid->item(row, column);
            if (item && !item->text().isEmpty())
                m_keptCells.insert({row, column}, item->text());
        }
    }
}

void CTableDlg::restoreKeptCells()
{
    for (auto it = m_keptCells.begin(); it != m_keptCells.end();) {
        const auto [row, column] = it.key();
        if (row < m_grid->rowCount() && column < m_grid->columnCount()) {
            m_grid->setItem(row, column, new QTableWidgetItem(it.value()));
            it = m_keptCells.erase(it);
        } else {
            ++it;
        }
    }
}

// Only the first row and the first column can be header cells, so only they
// need restyling; every reaction does it, so the grid always shows the boxes'
// state, even after a reaction refused by the integer check.
void CTableDlg::applyHeaders()
{
    for (int column = 0; column < m_grid->columnCount(); ++column)
        styleCell(0, column);
    for (int row = 1; row < m_grid->rowCount(); ++row)
        styleCell(row, 0);
}

// Header cells look like the grid's fixed cells: button face and bold text.
void CTableDlg::styleCell(int row, int column)
{
    const bool header =
        (m_headerRow->isChecked() && row == 0) || (m_headerColumn->isChecked() && column == 0);
    QTableWidgetItem* item = m_grid->item(row, column);
    if (!header && !item)
        return;
    if (!item) {
        item = new QTableWidgetItem;
        m_grid->setItem(row, column, item);
    }
    QFont font = m_grid->font();
    font.setBold(header);
    item->setFont(font);
    item->setBackground(header ? palette().button() : QBrush());
    item->setForeground(header ? palette().buttonText() : QBrush());
}

void CTableDlg::updatePreview()
{
    m_preview->setPixmap(SamplePictures::tablePlacement(m_placement->checkedId()));
}

void CTableDlg::editCell(int row, int column)
{
    if (!readCounts())
        return;
    applyHeaders();
    m_editRow = row;
    m_editColumn = column;
    const QTableWidgetItem* item = m_grid->item(row, column);
    {
        const QSignalBlocker blocker(m_cellEdit);
        m_cellEdit->setText(item ? item->text() : QString());
    }
    // A cell only partly in sight is scrolled fully into view first, so that
    // what is typed can be seen (the scrolling hides the box; it is shown
    // again below).
    const QModelIndex index = m_grid->model()->index(row, column);
    m_grid->scrollTo(index);
    const QRect cell = m_grid->visualRect(index);
    m_cellEdit->setGeometry(cell.adjusted(1, 1, -1, -1));
    m_cellEdit->show();
    m_cellEdit->raise();
    m_cellEdit->setFocus();
    m_cellEdit->selectAll();
}

void CTableDlg::hideCellEditor()
{
    // A focused widget that hides hands the focus on as a Tab would, and in
    // the grid a Tab moves the current cell: the grid takes the focus first.
    if (m_cellEdit->hasFocus())
        m_grid->setFocus();
    m_cellEdit->hide();
}

// Moves the edit box by step cells in reading order; past either end of the
// table the focus leaves the grid for the next or previous control.
void CTableDlg::moveCellEditor(int step)
{
    int row = m_editRow;
    int column = m_editColumn + step;
    if (column >= m_grid->columnCount()) {
        column = 0;
        ++row;
    } else if (column < 0) {
        column = m_grid->columnCount() - 1;
        --row;
    }
    if (row < 0 || row >= m_grid->rowCount()) {
        hideCellEditor();
        focusNextPrevChild(step > 0);
        return;
    }
    m_grid->setCurrentCell(row, column);
    editCell(row, column);
}

bool CTableDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_cellEdit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (plain && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)) {
            const bool back =
                key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
            moveCellEditor(back ? -1 : 1);
            return true;
        }
    }
    if (watched == m_grid && startsCellText(event)) {
        editCell(qMax(0, m_grid->currentRow()), qMax(0, m_grid->currentColumn()));
        if (m_cellEdit->isVisible()) {
            // The typing goes on after the cell's text rather than replacing it.
            m_cellEdit->end(false);
            QCoreApplication::sendEvent(m_cellEdit, event);
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// Text typed or composed while the grid itself has the focus.
bool CTableDlg::startsCellText(QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        return !text.isEmpty() && text.at(0).isPrint() &&
               !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    }
    if (event->type() == QEvent::InputMethod) {
        const auto* input = static_cast<QInputMethodEvent*>(event);
        return !input->commitString().isEmpty() || !input->preeditString().isEmpty();
    }
    return false;
}

void CTableDlg::cellTextEdited(const QString& text)
{
    if (m_editRow < 0 || m_editRow >= m_grid->rowCount() || m_editColumn >= m_grid->columnCount())
        return;
    QTableWidgetItem* item = m_grid->item(m_editRow, m_editColumn);
    if (!item) {
        item = new QTableWidgetItem;
        m_grid->setItem(m_editRow, m_editColumn, item);
        styleCell(m_editRow, m_editColumn);
    }
    item->setText(text);
}

TableChoices CTableDlg::choices() const
{
    TableChoices c;
    c.caption = m_caption->text();
    c.rows = m_rows;
    c.columns = m_columns;
    c.border = m_border->text();
    c.cellSpacing = m_spacing->text();
    c.headerRow = m_headerRow->isChecked();
    c.headerColumn = m_headerColumn->isChecked();
    c.placement = m_placement->checkedId();
    for (int row = 0; row < m_rows; ++row) {
        QStringList cells;
        for (int column = 0; column < m_columns; ++column) {
            const QTableWidgetItem* item = m_grid->item(row, column);
            cells.append(item ? item->text() : QString());
        }
        c.cells.append(cells);
    }
    return c;
}

void CTableDlg::accept()
{
    if (!readCounts())
        return;
    m_result = buildTable(choices());
    QDialog::accept();
}
