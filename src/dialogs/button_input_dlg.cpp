#include "dialogs/button_input_dlg.h"

#include "widgets/dialog_layout.h"
#include "widgets/label_edit.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {
constexpr int kSampleWidth = 240;
} // namespace

CButtonInputDlg::CButtonInputDlg(ButtonInputKind kind, const QString& caption, QWidget* parent)
    : QDialog(parent), m_kind(kind)
{
    setWindowTitle(caption);

    m_label = new CLabelEdit(this);
    m_label->setObjectName(QStringLiteral("labelEdit"));
    m_label->setMinimumWidth(240);
    auto* row = new QHBoxLayout;
    row->addWidget(DialogLayout::buddyLabel(QStringLiteral("ラベル(&L) :"), m_label, this));
    row->addWidget(m_label, 1);

    auto* preview = new QGroupBox(QStringLiteral("プレビュー"), this);
    m_sample = new QPushButton(preview);
    m_sample->setObjectName(QStringLiteral("sample"));
    // The sample only shows the label; it takes neither clicks nor focus
    // and never becomes the dialog's default button.
    m_sample->setAutoDefault(false);
    m_sample->setFocusPolicy(Qt::NoFocus);
    m_sample->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_sample->setMaximumWidth(kSampleWidth);
    auto* previewLayout = new QHBoxLayout(preview);
    previewLayout->addWidget(m_sample, 0, Qt::AlignCenter);
    preview->setMinimumWidth(kSampleWidth + 24);

    QDialogButtonBox* buttons = DialogLayout::okCancelButtons(this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(preview);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_label, &QLineEdit::textChanged, this, &CButtonInputDlg::refreshSample);
    refreshSample();
}

void CButtonInputDlg::setLabel(const QString& label)
{
    m_label->setHandedLabel(label);
    refreshSample();
}

void CButtonInputDlg::refreshSample()
{
    m_sample->setText(
        CLabelEdit::sampleCaption(m_label->label(), m_sample->fontMetrics(), kSampleWidth - 16));
}

void CButtonInputDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous() && m_label->hasHandedLabel())
        m_ok->setFocus();
}

void CButtonInputDlg::accept()
{
    m_result = buttonInputText(m_kind, m_label->label());
    QDialog::accept();
}
