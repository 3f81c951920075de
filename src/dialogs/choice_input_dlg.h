#pragma once

#include "dialogs/html/form_html.h"

#include <QDialog>

class CHistoryComboBox;
class CLabelEdit;
class QAbstractButton;
class QCheckBox;
class QLineEdit;

// What the check box and radio button dialogs share: a name from the input
// history "History\FormSelect" (shared by both), the sent data, the label
// after the tag and whether the element starts checked, with a sample
// control showing the label. The caller may hand in the selected text as the
// label before running it (the label edit is then disabled and the
// sent-data edit takes the focus); resultText() holds the element after OK.
class CChoiceInputDlg : public QDialog
{
    Q_OBJECT

public:
    void setLabel(const QString& label);
    QString resultText() const { return m_result; }

public Q_SLOTS:
    void accept() override;

protected:
    CChoiceInputDlg(ChoiceInputKind kind, const QString& caption, QWidget* parent);
    void showEvent(QShowEvent* event) override;

private:
    void refreshSample();

    ChoiceInputKind m_kind;
    CHistoryComboBox* m_name = nullptr;
    CLabelEdit* m_label = nullptr;
    QLineEdit* m_sentData = nullptr;
    QCheckBox* m_checked = nullptr;
    QAbstractButton* m_sample = nullptr;
    QString m_result;
};
