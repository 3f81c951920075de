#pragma once

#include "dialogs/choice_input_dlg.h"

// The radio button dialog ("ラジオボタンの設定"): an INPUT element of type
// RADIO followed by its label, with a sample radio button.
class CRadioButtonDlg : public CChoiceInputDlg
{
    Q_OBJECT

public:
    explicit CRadioButtonDlg(QWidget* parent = nullptr);
};
