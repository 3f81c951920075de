#pragma once

#include "dialogs/button_input_dlg.h"

// The submit button dialog ("送信ボタンの設定"): an INPUT element of type SUBMIT
// whose VALUE is the label.
class CSubmitButtonDlg : public CButtonInputDlg
{
    Q_OBJECT

public:
    explicit CSubmitButtonDlg(QWidget* parent = nullptr);
};
