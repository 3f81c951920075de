#pragma once

#include <QDialog>

class CLabelEdit;
class QLineEdit;

// The list box item dialog ("リストボックスの項目"): an OPTION element with
// its sent data and, after the tag, its label. The caller may hand in the
// selected text as the label before running it (the label edit is then
// disabled and the sent-data edit takes the focus); resultText() holds the
// element after OK.
class COptionItemDlg : public QDialog
{
    Q_OBJECT

public:
    explicit COptionItemDlg(QWidget* parent = nullptr);

    void setLabel(const QString& label);
    QString resultText() const { return m_result; }

public Q_SLOTS:
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    CLabelEdit* m_label = nullptr;
    QLineEdit* m_sentData = nullptr;
    QString m_result;
};
