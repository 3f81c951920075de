#include "dialogs/select_dlg.h"

#include "core/settings_store.h"
#include "dialogs/html/form_html.h"
#include "widgets/dialog_layout.h"
#include "widgets/history_sections.h"
#include "widgets/leading_number.h"
#include "widgets/spin_edit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
constexpr IntSetting kIsListBox{HistorySection::ListBox, "IsListBox", 1};
constexpr StringSetting kRows{HistorySection::ListBox, "Rows", "5"};
constexpr IntSetting kMultiple{HistorySection::ListBox, "Multiple", 0};

// The sample list box shows at most this many rows, all its items.
constexpr int kSampleRows = 10;

using DialogLayout::buddyLabel;
} // namespace

CSelectDlg::CSelectDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("リストボックス領域の作成"));

    // Created in the order the focus travels.
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("nameEdit"));
    m_name->setMinimumWidth(200);
    auto* dropDown = new QRadioButton(QStringLiteral("ドロップダウンリスト(&D)"), this);
    dropDown->setObjectName(QStringLiteral("dropDownRadio"));
    auto* listBox = new QRadioButton(QStringLiteral("リストボックス(&L)"), this);
    listBox->setObjectName(QStringLiteral("listBoxRadio"));
    m_style = new QButtonGroup(this);
    m_style->addButton(dropDown, DropDownList);
    m_style->addButton(listBox, ListBox);
    m_rows = DialogLayout::spinEdit(QStringLiteral("rowsEdit"), 1, 100, this);
    m_rowsLabel = buddyLabel(QStringLiteral("表示行数(&R) :"), m_rows, this);
    m_rowsLabel->setObjectName(QStringLiteral("rowsLabel"));
    m_multiple = new QCheckBox(QStringLiteral("複数選択可(&M)"), this);
    m_multiple->setObjectName(QStringLiteral("multipleCheck"));

    auto* grid = new QGridLayout;
    grid->addWidget(buddyLabel(QStringLiteral("変数名(&V) :"), m_name, this), 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 2);
    grid->addWidget(dropDown, 1, 0, 1, 3);
    grid->addWidget(listBox, 2, 0, 1, 3);
    auto* rowsRow = new QHBoxLayout;
    rowsRow->addSpacing(20);
    rowsRow->addWidget(m_rowsLabel);
    rowsRow->addWidget(m_rows);
    rowsRow->addStretch();
    grid->addLayout(rowsRow, 3, 0, 1, 3);
    grid->addWidget(m_multiple, 4, 0, 1, 3);
    grid->setRowStretch(5, 1);

    auto* columns = new QHBoxLayout;
    columns->addLayout(grid, 1);
    columns->addWidget(buildPreview());
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(DialogLayout::okCancelButtons(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_rows->setText(kRows.read());
    m_multiple->setChecked(kMultiple.read() != 0);
    const int style = kIsListBox.read() == DropDownList ? DropDownList : ListBox;
    m_style->button(style)->setChecked(true);
    setStyleMode(style);

    connect(m_style, &QButtonGroup::idClicked, this, &CSelectDlg::setStyleMode);
    connect(m_rows, &CSpinEdit::textChanged, this, &CSelectDlg::refreshSample);
    connect(m_multiple, &QCheckBox::toggled, this, &CSelectDlg::refreshSample);
}

QWidget* CSelectDlg::buildPreview()
{
    auto* group = new QGroupBox(QStringLiteral("プレビュー"), this);
    m_dropDownSample = new QComboBox(group);
    m_dropDownSample->setObjectName(QStringLiteral("dropDownSample"));
    for (int i = 1; i <= 9; ++i)
        m_dropDownSample->addItem(QStringLiteral("Sample Item%1").arg(i));
    m_listSample = new QListWidget(group);
    m_listSample->setObjectName(QStringLiteral("listSample"));
    for (int i = 0; i < 10; ++i)
        m_listSample->addItem(QStringLiteral("Sample Item%1").arg(i));
    for (QWidget* sample :
         {static_cast<QWidget*>(m_dropDownSample), static_cast<QWidget*>(m_listSample)}) {
        sample->setFocusPolicy(Qt::NoFocus);
        sample->setFixedWidth(150);
    }

    auto* layout = new QVBoxLayout(group);
    layout->addWidget(m_dropDownSample, 0, Qt::AlignHCenter | Qt::AlignTop);
    layout->addWidget(m_listSample, 0, Qt::AlignHCenter | Qt::AlignTop);
    layout->addStretch();
    // Room for the tallest sample, so the dialog keeps its size.
    const int frame = 2 * m_listSample->frameWidth();
    group->setMinimumHeight(kSampleRows * m_listSample->sizeHintForRow(0) + frame +
                            group->fontMetrics().height() + 30);
    return group;
}

void CSelectDlg::setStyleMode(int style)
{
    const bool listBox = style == ListBox;
    m_rowsLabel->setEnabled(listBox);
    m_rows->setEnabled(listBox);
    m_dropDownSample->setVisible(!listBox);
    m_listSample->setVisible(listBox);
    refreshSample();
}

void CSelectDlg::refreshSample()
{
    const int rows = qBound(1, leadingNumber(m_rows->text()), kSampleRows);
    const int frame = 2 * m_listSample->frameWidth();
    m_listSample->setFixedHeight(rows * m_listSample->sizeHintForRow(0) + frame);
    const bool multiple = m_multiple->isChecked();
    m_listSample->setSelectionMode(multiple ? QAbstractItemView::MultiSelection
                                            : QAbstractItemView::SingleSelection);
    // A sample of several choices shows two items chosen.
    m_listSample->clearSelection();
    m_listSample->item(0)->setSelected(true);
    if (multiple)
        m_listSample->item(2)->setSelected(true);
}

void CSelectDlg::accept()
{
    SelectChoice c;
    c.listBox = m_style->checkedId() == ListBox;
    // As typed; it counts only in list box style, and an empty box leaves
    // SIZE out.
    const QString rows = m_rows->text();
    writeProfileValues({kIsListBox.with(c.listBox ? ListBox : DropDownList), kRows.with(rows),
                        kMultiple.with(m_multiple->isChecked() ? 1 : 0)});
    c.name = m_name->text();
    c.rows = rows;
    c.multiple = m_multiple->isChecked();
    const WrapTexts texts = selectTexts(c);
    m_start = texts.start;
    m_end = texts.end;
    QDialog::accept();
}
