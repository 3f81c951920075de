#pragma once

#include "dialogs/html/form_html.h"

#include <QDialog>

class CLabelEdit;
class QPushButton;

// What the submit and reset button dialogs share: the button's label, shown
// live on a sample push button. The caller may hand in the selected text as
// the label before running it (the label edit is then disabled and OK takes
// the focus); resultText() holds the element after OK.
class CButtonInputDlg : public QDialog
{
    Q_OBJECT

public:
    void setLabel(const QString& label);
    QString resultText() const { return m_result; }

public Q_SLOTS:
    void accept() override;

protected:
    CButtonInputDlg(ButtonInputKind kind, const QString& caption, QWidget* parent);
    void showEvent(QShowEvent* event) override;

private:
    void refreshSample();

    ButtonInputKind m_kind;
    CLabelEdit* m_label = nullptr;
    QPushButton* m_sample = nullptr;
    QPushButton* m_ok = nullptr;
    QString m_result;
};
