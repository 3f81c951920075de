#pragma once

#include "dialogs/button_input_dlg.h"

// The reset button dialog ("取り消しボタンの設定"): an INPUT element of type RESET
// whose VALUE is the label.
class CResetButtonDlg : public CButtonInputDlg
{
    Q_OBJECT

public:
    explicit CResetButtonDlg(QWidget* parent = nullptr);
};
