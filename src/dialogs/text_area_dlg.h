#pragma once

#include <QDialog>

class CSpinEdit;
class QLineEdit;

// The multi-line text input dialog ("複数行テキスト入力領域の設定"): name,
// width in columns and height in rows of a TEXTAREA element. Opens with the
// columns and rows remembered in "History\MultiLineInput" and remembers them
// again on OK. After OK, resultText() holds the element with its end tag.
class CTextAreaDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CTextAreaDlg(QWidget* parent = nullptr);

    QString resultText() const { return m_result; }

public Q_SLOTS:
    void accept() override;

private:
    QLineEdit* m_name = nullptr;
    CSpinEdit* m_columns = nullptr;
    CSpinEdit* m_rows = nullptr;
    QString m_result;
};
