#include "dialogs/check_box_dlg.h"

CCheckBoxDlg::CCheckBoxDlg(QWidget* parent)
    : CChoiceInputDlg(ChoiceInputKind::CheckBox, QStringLiteral("チェックボックスの設定"), parent)
{
}
