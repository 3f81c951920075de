#include "dialogs/reg_tag_dlgs.h"

#include "core/ui_seam.h"
#include "widgets/dialog_layout.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

QLineEdit* lineEdit(const QString& name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMinimumWidth(320);
    return edit;
}

} // namespace

CRegTagListDlg::CRegTagListDlg(QWidget* parent)
    : CSlotListDlgOf(QStringLiteral("タグの登録・変更・削除"), QStringLiteral("登録タグ(&I)"),
                     parent)
{
    setObjectName(QStringLiteral("CRegTagListDlg"));
    load(SlotRecords::readRegisteredTags());
}

void CRegTagListDlg::accept()
{
    SlotRecords::writeRegisteredTags(m_slots);
    QDialog::accept();
}

bool CRegTagListDlg::editRecord(RegisteredTagRecord& record)
{
    CRegTagEditDlg dialog(this);
    dialog.setRecord(record);
    if (UiSeam::execDialog(dialog) != QDialog::Accepted)
        return false;
    record = dialog.record();
    return true;
}

CRegTagEditDlg::CRegTagEditDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CRegTagEditDlg"));
    setWindowTitle(QStringLiteral("登録タグの編集"));
    m_view = lineEdit(QStringLiteral("viewEdit"), this);
    m_before = lineEdit(QStringLiteral("beforeEdit"), this);
    m_middle = lineEdit(QStringLiteral("middleEdit"), this);
    m_after = lineEdit(QStringLiteral("afterEdit"), this);

    auto* form = new QFormLayout;
    form->addRow(DialogLayout::buddyLabel(QStringLiteral("表示(&V) :"), m_view, this), m_view);
    form->addRow(DialogLayout::buddyLabel(QStringLiteral("前タグ前半(&B) :"), m_before, this),
                 m_before);
    form->addRow(DialogLayout::buddyLabel(QStringLiteral("前タグ後半(&C) :"), m_middle, this),
                 m_middle);
    form->addRow(DialogLayout::buddyLabel(QStringLiteral("後タグ(&A) :"), m_after, this), m_after);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(DialogLayout::okCancelButtons(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CRegTagEditDlg::setRecord(const RegisteredTagRecord& record)
{
    m_view->setText(record.view);
    m_before->setText(record.before);
    m_middle->setText(record.middle);
    m_after->setText(record.after);
}

RegisteredTagRecord CRegTagEditDlg::record() const
{
    return {m_view->text(), m_before->text(), m_middle->text(), m_after->text()};
}

void CRegTagEditDlg::accept()
{
    if (m_view->text().isEmpty()) {
        UiSeam::messageBox(this, QStringLiteral("表示を入力して下さい。"), QMessageBox::Warning);
        m_view->setFocus();
        return;
    }
    QDialog::accept();
}

CRegTagValueDlg::CRegTagValueDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CRegTagValueDlg"));
    m_value = lineEdit(QStringLiteral("valueEdit"), this);
    m_value->setMinimumWidth(240);
    auto* form = new QFormLayout;
    form->addRow(DialogLayout::buddyLabel(QStringLiteral("データ(&D) :"), m_value, this), m_value);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(DialogLayout::okCancelButtons(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString CRegTagValueDlg::value() const
{
    return m_value->text();
}
