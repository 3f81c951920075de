#pragma once

#include <QDialog>

class CColorComboBox;
class CPreviewFrame;
class QButtonGroup;
class QPainter;

// The font dialog ("フォント"): a size button and a colour for a FONT element
// wrapped round the selection. Remembers nothing: it always opens with no
// size and no colour. After OK, startText() and endText() hold the element.
class CFontTagDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CFontTagDlg(QWidget* parent = nullptr);

    QString startText() const { return m_start; }
    QString endText() const { return m_end; }

    void accept() override;

private:
    QWidget* createSizeGroup();
    void paintPreview(QPainter& painter, const QRect& rect);

    QButtonGroup* m_sizes = nullptr;
    CColorComboBox* m_color = nullptr;
    CPreviewFrame* m_preview = nullptr;
    QString m_start;
    QString m_end;
};
