#pragma once

#include "dialogs/html/list_text.h"

#include <QDialog>

class QAbstractButton;
class QButtonGroup;
class QLabel;
class QPlainTextEdit;

// The list dialog ("リストの作成"): turns lines of text into an unordered,
// ordered or definition list. The caller hands in the selected text as the
// items before running it and reads resultText() after OK. The kind, marker and
// numbering are remembered in "History\List", written on OK only.
class CListDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CListDlg(QWidget* parent = nullptr);

    void setItems(const QString& items);
    QString items() const;

    // The list built on OK.
    QString resultText() const { return m_result; }

    ListChoices choices() const;

public Q_SLOTS:
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildKindColumn();
    void updateEnabling();
    void updatePreview();

    QString m_result;
    QPlainTextEdit* m_items = nullptr;
    QButtonGroup* m_kind = nullptr;
    QButtonGroup* m_marker = nullptr;
    QButtonGroup* m_numbering = nullptr;
    QLabel* m_preview = nullptr;
    QAbstractButton* m_ok = nullptr;
};
