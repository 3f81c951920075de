#pragma once

#include "dialogs/slot_list_dlg.h"

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QLineEdit;

// The tool list ("ツールの登録・変更・削除"): the ten slots of section
// "Tool", read when the dialog is built and written, all ten, on OK.
class CToolListDlg : public CSlotListDlgOf<ToolRecord>
{
    Q_OBJECT

public:
    explicit CToolListDlg(QWidget* parent = nullptr);

    void accept() override;

protected:
    bool editRecord(ToolRecord& record) override;
};

// One tool ("登録ツールの編集"): menu text, program path and working folder
// (each with a browse button), what the program is handed as its argument,
// and its window size. OK refuses an empty menu text, which would leave the
// tool out of every menu.
class CToolEditDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CToolEditDlg(QWidget* parent = nullptr);

    // An argument mode other than 1 or 2 shows as no argument, the mode the
    // run treats it as.
    void setRecord(const ToolRecord& record);
    ToolRecord record() const;

    void accept() override;

private:
    void browseProgram();
    void browseFolder();

    QLineEdit* m_view = nullptr;
    QLineEdit* m_path = nullptr;
    QLineEdit* m_folder = nullptr;
    QButtonGroup* m_mode = nullptr;
    QComboBox* m_size = nullptr;
};
