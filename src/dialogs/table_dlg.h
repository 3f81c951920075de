#pragma once

#include "dialogs/html/table_text.h"

#include <QDialog>
#include <QMap>

#include <utility>

class CSpinEdit;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QTableWidget;

// The table dialog ("表の作成"): builds a whole TABLE element. The user sets
// the counts, border, spacing, caption, header row and column and the
// placement, and types the cells into a grid: clicking a cell lays an edit
// box over it, and the grid follows every keystroke in that box. Tab and
// Backtab carry the box to the next or previous cell (scrolled into view),
// and text typed while the grid itself has the focus goes into its current
// cell. The caller reads resultText() after OK. Nothing is remembered
// between runs.
//
// Row and column counts must be integers ("整数を入力してください。"
// otherwise); counts below 1 give one row or column and counts above 999 are
// held at 999, in the grid and in the result alike.
class CTableDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CTableDlg(QWidget* parent = nullptr);

    // The table built on OK.
    QString resultText() const { return m_result; }

    // The grid standing in for the cells, and the edit box laid over the
    // clicked cell.
    QTableWidget* grid() const { return m_grid; }
    QLineEdit* cellEditor() const { return m_cellEdit; }

public Q_SLOTS:
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildSettings();
    QWidget* buildPlacementGroup();

    // Reads the two counts; on a non-integer shows the message, puts the
    // focus on the box and returns false, keeping the previous counts.
    bool readCounts();
    void applyRowCount();
    void applyColumnCount();
    void applyHeaders();
    void keepCellsBeyond(int rows, int columns);
    void restoreKeptCells();
    void styleCell(int row, int column);
    void updatePreview();
    void editCell(int row, int column);
    void hideCellEditor();
    void moveCellEditor(int step);
    static bool startsCellText(QEvent* event);
    void cellTextEdited(const QString& text);
    TableChoices choices() const;

    QString m_result;
    int m_rows = 3;
    int m_columns = 3;
    int m_editRow = -1;
    int m_editColumn = -1;
    // Texts of cells cut off by a lower count, by row and column, given back
    // when the count grows again.
    QMap<std::pair<int, int>, QString> m_keptCells;

    QLineEdit* m_caption = nullptr;
    CSpinEdit* m_rowsEdit = nullptr;
    CSpinEdit* m_columnsEdit = nullptr;
    CSpinEdit* m_border = nullptr;
    CSpinEdit* m_spacing = nullptr;
    QCheckBox* m_headerRow = nullptr;
    QCheckBox* m_headerColumn = nullptr;
    QButtonGroup* m_placement = nullptr;
    QLabel* m_preview = nullptr;
    QTableWidget* m_grid = nullptr;
    QLineEdit* m_cellEdit = nullptr;
};
