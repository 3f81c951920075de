#pragma once

#include <QDialog>

class CPreviewFrame;
class CSpinEdit;
class QCheckBox;
class QComboBox;
class QPainter;
struct RuleChoice;

// The horizontal rule dialog ("水平線-属性あり"): height, width and its unit,
// alignment and shading of an HR element inserted in place of the selection.
// Opens with the choices remembered in "History\HorizonBar" and remembers
// them again on OK. After OK, text() holds the element.
class CRuleDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CRuleDlg(QWidget* parent = nullptr);

    QString text() const { return m_text; }

    void accept() override;

private:
    RuleChoice choice() const;
    void paintPreview(QPainter& painter, const QRect& rect);

    CSpinEdit* m_height = nullptr;
    CSpinEdit* m_width = nullptr;
    QComboBox* m_unit = nullptr;
    QComboBox* m_align = nullptr;
    QCheckBox* m_3d = nullptr;
    CPreviewFrame* m_preview = nullptr;
    QString m_text;
};
