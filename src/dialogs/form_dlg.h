#pragma once

#include "widgets/target_history.h"

#include <QDialog>

class CHistoryComboBox;
class QComboBox;

// The form area dialog ("フォーム領域の作成"): a FORM element wrapped round
// the selection, with its method (remembered in "History\Form"), its action
// (an input history in the same section, listed alphabetically; a file can be
// picked with the browse button) and an optional frame target from the target
// history (written on OK only). After OK, startText() and endText() hold the
// element.
class CFormDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CFormDlg(QWidget* parent = nullptr);

    QString startText() const { return m_start; }
    QString endText() const { return m_end; }

public Q_SLOTS:
    void accept() override;

private:
    void browse();

    QComboBox* m_method = nullptr;
    CHistoryComboBox* m_action = nullptr;
    QComboBox* m_target = nullptr;
    CTargetHistory m_targets;
    QString m_start;
    QString m_end;
};
