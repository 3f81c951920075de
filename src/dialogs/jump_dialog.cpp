#include "dialogs/jump_dialog.h"

#include "core/ui_seam.h"
#include "widgets/dialog_layout.h"
#include "widgets/spin_edit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CJumpDialog::CJumpDialog(int lineCount, int line, QWidget* parent)
    : QDialog(parent), m_lineCount(qMax(lineCount, 1)), m_line(line)
{
    setObjectName(QStringLiteral("JumpDialog"));
    setWindowTitle(QStringLiteral("ジャンプ"));
    m_edit = DialogLayout::spinEdit(QStringLiteral("lineEdit"), 1, m_lineCount, this);
    m_edit->setText(QString::number(line));
    m_edit->setMinimumWidth(m_edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) +
                            28);

    QDialogButtonBox* buttons = DialogLayout::okCancelButtons(this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("ジャンプ"));

    auto* row = new QHBoxLayout;
    row->addWidget(DialogLayout::buddyLabel(QStringLiteral("行番号(&N) :"), m_edit, this));
    row->addWidget(m_edit, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_edit->setFocus();
    m_edit->selectAll();
}

CJumpDialog::LineCheck CJumpDialog::checkLine(const QString& text, int lineCount)
{
    LineCheck check;
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok) {
        check.message = QStringLiteral("整数を入力してください。");
        check.icon = QMessageBox::Warning;
    } else if (n < 1 || n > lineCount) {
        check.message = QStringLiteral("'行番号'の値は 1 から %1 までです。").arg(lineCount);
        check.icon = QMessageBox::Information;
    } else {
        check.line = n;
    }
    return check;
}

void CJumpDialog::accept()
{
    const LineCheck check = checkLine(m_edit->text(), m_lineCount);
    if (!check.message.isEmpty()) {
        UiSeam::messageBox(this, check.message, check.icon);
        m_edit->setFocus();
        m_edit->selectAll();
        return;
    }
    m_line = check.line;
    QDialog::accept();
}
