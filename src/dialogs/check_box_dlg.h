#pragma once

#include "dialogs/choice_input_dlg.h"

// The check box dialog ("チェックボックスの設定"): an INPUT element of type
// CHECKBOX followed by its label, with a sample check box.
class CCheckBoxDlg : public CChoiceInputDlg
{
    Q_OBJECT

public:
    explicit CCheckBoxDlg(QWidget* parent = nullptr);
};
