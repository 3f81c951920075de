#include "dialogs/radio_button_dlg.h"

CRadioButtonDlg::CRadioButtonDlg(QWidget* parent)
    : CChoiceInputDlg(ChoiceInputKind::Radio, QStringLiteral("ラジオボタンの設定"), parent)
{
}
