#pragma once

#include <QDialog>

class CPreviewFrame;
class QButtonGroup;
class QComboBox;
class QPainter;

// The heading dialog ("見出し"): level and alignment of a heading wrapped
// round the selection. Opens with the choices remembered in
// "History\Header" and remembers them again on OK. After OK, startText() and
// endText() hold the element.
class CHeadingDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CHeadingDlg(QWidget* parent = nullptr);

    QString startText() const { return m_start; }
    QString endText() const { return m_end; }

    void accept() override;

private:
    void paintPreview(QPainter& painter, const QRect& rect);

    QButtonGroup* m_sizes = nullptr;
    QComboBox* m_align = nullptr;
    CPreviewFrame* m_preview = nullptr;
    QString m_start;
    QString m_end;
};
