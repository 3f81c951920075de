#include "dialogs/choice_input_dlg.h"

#include "widgets/dialog_layout.h"
#include "widgets/history_combo_box.h"
#include "widgets/history_sections.h"
#include "widgets/label_edit.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QGroupBox>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>

namespace {
constexpr int kSampleWidth = 260;
} // namespace

using DialogLayout::buddyLabel;

CChoiceInputDlg::CChoiceInputDlg(ChoiceInputKind kind, const QString& caption, QWidget* parent)
    : QDialog(parent), m_kind(kind)
{
    setWindowTitle(caption);

    m_name = new CHistoryComboBox(this);
    m_name->setObjectName(QStringLiteral("nameCombo"));
    m_label = new CLabelEdit(this);
    m_label->setObjectName(QStringLiteral("labelEdit"));
    m_sentData = new QLineEdit(this);
    m_sentData->setObjectName(QStringLiteral("sentDataEdit"));
    m_checked = new QCheckBox(QStringLiteral("最初から選択済み"), this);
    m_checked->setObjectName(QStringLiteral("checkedCheck"));
    m_name->setMinimumWidth(240);

    auto* form = new QFormLayout;
    form->addRow(buddyLabel(QStringLiteral("変数名(&V) :"), m_name, this), m_name);
    form->addRow(buddyLabel(QStringLiteral("ラベル(&L) :"), m_label, this), m_label);
    form->addRow(buddyLabel(QStringLiteral("送信データ(&D) :"), m_sentData, this), m_sentData);
    form->addRow(QString(), m_checked);

    auto* preview = new QGroupBox(QStringLiteral("プレビュー"), this);
    if (kind == ChoiceInputKind::CheckBox)
        m_sample = new QCheckBox(preview);
    else
        m_sample = new QRadioButton(preview);
    m_sample->setObjectName(QStringLiteral("sample"));
    m_sample->setCheckable(true);
    // The sample only shows the choices; it takes neither clicks nor focus.
    m_sample->setFocusPolicy(Qt::NoFocus);
    m_sample->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_sample->setFixedWidth(kSampleWidth);
    auto* previewLayout = new QVBoxLayout(preview);
    previewLayout->addWidget(m_sample);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(preview);
    layout->addWidget(DialogLayout::okCancelButtons(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_name->LoadHistory(QString::fromLatin1(HistorySection::FormSelect));
    connect(m_label, &QLineEdit::textChanged, this, &CChoiceInputDlg::refreshSample);
    connect(m_checked, &QCheckBox::toggled, m_sample, &QAbstractButton::setChecked);
    refreshSample();
}

void CChoiceInputDlg::setLabel(const QString& label)
{
    m_label->setHandedLabel(label);
    refreshSample();
}

void CChoiceInputDlg::refreshSample()
{
    // Room for the indicator and its spacing.
    const int indicator = style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                          style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing) + 4;
    m_sample->setText(CLabelEdit::sampleCaption(m_label->label(), m_sample->fontMetrics(),
                                                kSampleWidth - indicator));
}

void CChoiceInputDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous() && m_label->hasHandedLabel())
        m_sentData->setFocus();
}

void CChoiceInputDlg::accept()
{
    ChoiceInput input;
    input.name = m_name->currentText();
    input.value = m_sentData->text();
    input.checked = m_checked->isChecked();
    input.label = m_label->label();
    m_result = choiceInputText(m_kind, input);
    QDialog::accept();
}
