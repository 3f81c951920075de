#pragma once

#include <QDialog>

class CSpinEdit;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

// The list box area dialog ("リストボックス領域の作成"): a SELECT element
// wrapped round the selection (its OPTION lines), shown as a drop-down list
// or as a list box of some rows, optionally allowing several choices. A
// sample of the chosen style follows the choices. Opens with the style, rows
// and multiple choice remembered in "History\ListBox" and remembers them
// again on OK. After OK, startText() and endText() hold the element.
class CSelectDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CSelectDlg(QWidget* parent = nullptr);

    // The style buttons' ids, as remembered in "IsListBox".
    enum Style { DropDownList = 0, ListBox = 1 };

    QString startText() const { return m_start; }
    QString endText() const { return m_end; }

public Q_SLOTS:
    void accept() override;

private:
    QWidget* buildPreview();
    void setStyleMode(int style);
    void refreshSample();

    QLineEdit* m_name = nullptr;
    QButtonGroup* m_style = nullptr;
    QLabel* m_rowsLabel = nullptr;
    CSpinEdit* m_rows = nullptr;
    QCheckBox* m_multiple = nullptr;
    QComboBox* m_dropDownSample = nullptr;
    QListWidget* m_listSample = nullptr;
    QString m_start;
    QString m_end;
};
