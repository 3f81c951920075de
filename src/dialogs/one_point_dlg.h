#pragma once

#include <QDialog>
#include <QFile>

class QCheckBox;
class CPreviewFrame;
class QLabel;
class QPainter;
class QPushButton;

// The tip of the day ("ワンポイント"): one tip at a time from the tips file,
// continuing where the last showing stopped. Building the dialog already
// reads one tip and, with the file's time stamp, the position to read from
// (section "Tip"); destroying it stores the position after the last tip
// read. "閉じる" stores the start-up choice; Esc and the close box do not.
class COnePointDlg : public QDialog
{
    Q_OBJECT

public:
    explicit COnePointDlg(const QString& tipsFile, QWidget* parent = nullptr);
    ~COnePointDlg() override;

    // Whether the dialog is to be shown at start-up (the check box's state
    // as stored).
    bool showAtStartUp() const { return m_startUp; }
    QString tipText() const { return m_tip; }

    void accept() override;

private:
    void openTips(const QString& tipsFile);
    void readNextTip();
    void showTip();
    void paintPanel(QPainter& painter, const QRect& rect);

    bool m_startUp = true;
    QString m_tip;
    QFile m_file;
    QCheckBox* m_startUpCheck;
    CPreviewFrame* m_panel;
    QLabel* m_text;
    QPushButton* m_next;
};
