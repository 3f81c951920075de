#pragma once

#include "widgets/target_history.h"

#include <QDialog>

class CHistoryComboBox;
class QComboBox;

// The link dialog ("他のURLへリンク"): a URL from its input history
// ("History\URL") and an optional frame target from the target history
// (written on OK only). After OK, startText() and endText() hold the anchor.
class CLinkDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CLinkDlg(QWidget* parent = nullptr);

    QString startText() const { return m_start; }
    QString endText() const { return m_end; }

    void accept() override;

private:
    CHistoryComboBox* m_url = nullptr;
    QComboBox* m_target = nullptr;
    CTargetHistory m_targets;
    QString m_start;
    QString m_end;
};
