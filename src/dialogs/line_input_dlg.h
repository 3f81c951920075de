#pragma once

#include <QDialog>

class CSpinEdit;
class QCheckBox;
class QLineEdit;

// The one-line text input dialog ("一行テキスト入力領域の設定"): name,
// initial value, length and maximum length of an INPUT element, optionally a
// password field. Opens with the length and maximum remembered in
// "History\LineInput" and remembers them again on OK. After OK, resultText()
// holds the element.
class CLineInputDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CLineInputDlg(QWidget* parent = nullptr);

    QString resultText() const { return m_result; }

public Q_SLOTS:
    void accept() override;

private:
    QLineEdit* m_name = nullptr;
    QLineEdit* m_value = nullptr;
    CSpinEdit* m_length = nullptr;
    CSpinEdit* m_maxLength = nullptr;
    QCheckBox* m_password = nullptr;
    QString m_result;
};
