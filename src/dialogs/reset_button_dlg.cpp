#include "dialogs/reset_button_dlg.h"

CResetButtonDlg::CResetButtonDlg(QWidget* parent)
    : CButtonInputDlg(ButtonInputKind::Reset, QStringLiteral("取り消しボタンの設定"), parent)
{
}
