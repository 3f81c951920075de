#include "dialogs/line_input_dlg.h"

#include "core/settings_store.h"
#include "dialogs/html/form_html.h"
#include "widgets/dialog_layout.h"
#include "widgets/history_sections.h"
#include "widgets/spin_edit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
constexpr StringSetting kLength{HistorySection::LineInput, "Length", "40"};
constexpr StringSetting kMax{HistorySection::LineInput, "Max", "40"};

using DialogLayout::buddyLabel;
} // namespace

CLineInputDlg::CLineInputDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("一行テキスト入力領域の設定"));

    // Created in the order the focus travels.
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("nameEdit"));
    m_value = new QLineEdit(this);
    m_value->setObjectName(QStringLiteral("valueEdit"));
    m_length = DialogLayout::spinEdit(QStringLiteral("lengthEdit"), 1, 999, this);
    m_maxLength = DialogLayout::spinEdit(QStringLiteral("maxLengthEdit"), 0, 999, this);
    m_password = new QCheckBox(QStringLiteral("パスワード(&W)"), this);
    m_password->setObjectName(QStringLiteral("passwordCheck"));

    auto* grid = new QGridLayout;
    grid->addWidget(buddyLabel(QStringLiteral("変数名(&V) :"), m_name, this), 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 3);
    grid->addWidget(buddyLabel(QStringLiteral("初期値(&I) :"), m_value, this), 1, 0);
    grid->addWidget(m_value, 1, 1, 1, 3);
    grid->addWidget(buddyLabel(QStringLiteral("長さ(&L) :"), m_length, this), 2, 0);
    grid->addWidget(m_length, 2, 1);
    grid->addWidget(buddyLabel(QStringLiteral("最大文字数(&M) :"), m_maxLength, this), 2, 2);
    grid->addWidget(m_maxLength, 2, 3);
    grid->addWidget(m_password, 3, 1, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    m_name->setMinimumWidth(260);

    auto* sample = new QLineEdit(this);
    sample->setObjectName(QStringLiteral("sample"));
    sample->setReadOnly(true);
    sample->setFocusPolicy(Qt::NoFocus);
    auto* preview = new QGroupBox(QStringLiteral("プレビュー"), this);
    auto* previewLayout = new QVBoxLayout(preview);
    previewLayout->addWidget(sample);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(preview);
    layout->addWidget(DialogLayout::okCancelButtons(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_length->setText(kLength.read());
    m_maxLength->setText(kMax.read());
    // A password field never carries an initial value.
    connect(m_password, &QCheckBox::toggled, m_value, &QWidget::setDisabled);
}

void CLineInputDlg::accept()
{
    // The sizes go into the element as typed; an empty box leaves its
    // attribute out.
    LineInputChoice c;
    c.length = m_length->text();
    c.maxLength = m_maxLength->text();
    writeProfileValues({kLength.with(c.length), kMax.with(c.maxLength)});
    c.name = m_name->text();
    c.value = m_value->text();
    c.password = m_password->isChecked();
    m_result = lineInputText(c);
    QDialog::accept();
}
