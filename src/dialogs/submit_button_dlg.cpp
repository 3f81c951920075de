#include "dialogs/submit_button_dlg.h"

CSubmitButtonDlg::CSubmitButtonDlg(QWidget* parent)
    : CButtonInputDlg(ButtonInputKind::Submit, QStringLiteral("送信ボタンの設定"), parent)
{
}
