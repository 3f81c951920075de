#include "dialogs/text_area_dlg.h"

#include "core/settings_store.h"
#include "dialogs/html/form_html.h"
#include "widgets/dialog_layout.h"
#include "widgets/history_sections.h"
#include "widgets/spin_edit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {
constexpr StringSetting kCols{HistorySection::MultiLineInput, "Cols", "60"};
constexpr StringSetting kRows{HistorySection::MultiLineInput, "Rows", "8"};

using DialogLayout::buddyLabel;
} // namespace

CTextAreaDlg::CTextAreaDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("複数行テキスト入力領域の設定"));

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("nameEdit"));
    m_columns = DialogLayout::spinEdit(QStringLiteral("columnsEdit"), 1, 999, this);
    m_rows = DialogLayout::spinEdit(QStringLiteral("rowsEdit"), 1, 999, this);

    auto* grid = new QGridLayout;
    grid->addWidget(buddyLabel(QStringLiteral("変数名(&V) :"), m_name, this), 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 2);
    grid->addWidget(buddyLabel(QStringLiteral("横幅(&C) :"), m_columns, this), 1, 0);
    grid->addWidget(m_columns, 1, 1);
    grid->addWidget(buddyLabel(QStringLiteral("行数(&R) :"), m_rows, this), 2, 0);
    grid->addWidget(m_rows, 2, 1);
    grid->setColumnStretch(2, 1);
    m_name->setMinimumWidth(200);

    auto* sample = new QPlainTextEdit(this);
    sample->setObjectName(QStringLiteral("sample"));
    sample->setReadOnly(true);
    sample->setFocusPolicy(Qt::NoFocus);
    sample->setFixedSize(150, 70);
    auto* preview = new QGroupBox(QStringLiteral("プレビュー"), this);
    auto* previewLayout = new QVBoxLayout(preview);
    previewLayout->addWidget(sample, 0, Qt::AlignCenter);

    auto* columns = new QHBoxLayout;
    columns->addLayout(grid, 1);
    columns->addWidget(preview);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(DialogLayout::okCancelButtons(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_columns->setText(kCols.read());
    m_rows->setText(kRows.read());
}

void CTextAreaDlg::accept()
{
    // As typed; an empty box leaves its attribute out.
    const QString columns = m_columns->text();
    const QString rows = m_rows->text();
    writeProfileValues({kCols.with(columns), kRows.with(rows)});
    m_result = textAreaText(m_name->text(), columns, rows);
    QDialog::accept();
}
