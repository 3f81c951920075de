#pragma once

#include <QDialog>

class CHistoryComboBox;
class QCheckBox;
class QLineEdit;

// "ファイルから検索": what to look for in which files of which folder. The
// caller sets the active document's folder (empty for none) before running
// it, and reads the plain values after OK. The search text and the file
// types keep input histories; the folder, when no document gives one, and
// the three options are remembered from the last OK. OK refuses, with a
// message and the dialog left open, an empty search text or file type, a
// folder that does not exist and a regular expression with an error.
class CFindInFilesDlg : public QDialog
{
    Q_OBJECT

public:
    // The file types offered when the history holds none.
    static constexpr char kDefaultFileTypes[] = "*.htm;*.html;*.shtml;*.stm";

    explicit CFindInFilesDlg(const QString& documentFolder, QWidget* parent = nullptr);

    QString findText() const;
    QString folder() const;
    QString fileTypes() const;
    bool subfolders() const;
    bool matchCase() const;
    bool regex() const;

public Q_SLOTS:
    void accept() override;

private:
    void browseFolder();
    // The message for the values as they stand (empty: they may be searched)
    // and the control to put the focus on.
    QString problem(QWidget*& focus) const;

    CHistoryComboBox* m_findText = nullptr;
    QLineEdit* m_folder = nullptr;
    CHistoryComboBox* m_fileTypes = nullptr;
    QCheckBox* m_subfolders = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QCheckBox* m_regex = nullptr;
};
