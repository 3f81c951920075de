#include "dialogs/option_item_dlg.h"

#include "dialogs/html/form_html.h"
#include "widgets/dialog_layout.h"
#include "widgets/label_edit.h"

#include <QFormLayout>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>

using DialogLayout::buddyLabel;

COptionItemDlg::COptionItemDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("リストボックスの項目"));

    m_label = new CLabelEdit(this);
    m_label->setObjectName(QStringLiteral("labelEdit"));
    m_sentData = new QLineEdit(this);
    m_sentData->setObjectName(QStringLiteral("sentDataEdit"));
    m_label->setMinimumWidth(240);

    auto* form = new QFormLayout;
    form->addRow(buddyLabel(QStringLiteral("ラベル(&L) :"), m_label, this), m_label);
    form->addRow(buddyLabel(QStringLiteral("送信データ(&D) :"), m_sentData, this), m_sentData);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(DialogLayout::okCancelButtons(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void COptionItemDlg::setLabel(const QString& label)
{
    m_label->setHandedLabel(label);
}

void COptionItemDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous() && m_label->hasHandedLabel())
        m_sentData->setFocus();
}

void COptionItemDlg::accept()
{
    m_result = optionItemText(m_sentData->text(), m_label->label());
    QDialog::accept();
}
