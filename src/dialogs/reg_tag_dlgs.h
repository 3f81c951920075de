#pragma once

#include "dialogs/slot_list_dlg.h"

#include <QDialog>

class QLineEdit;

// The registered-tag list ("タグの登録・変更・削除"): the ten slots of
// section "Tag", read when the dialog is built and written, all ten, on OK.
class CRegTagListDlg : public CSlotListDlgOf<RegisteredTagRecord>
{
    Q_OBJECT

public:
    explicit CRegTagListDlg(QWidget* parent = nullptr);

    void accept() override;

protected:
    bool editRecord(RegisteredTagRecord& record) override;
};

// One registered tag ("登録タグの編集"): display text, the two halves of the
// start tag and the end tag. OK refuses an empty display text, which would
// leave the tag out of every menu.
class CRegTagEditDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CRegTagEditDlg(QWidget* parent = nullptr);

    void setRecord(const RegisteredTagRecord& record);
    RegisteredTagRecord record() const;

    void accept() override;

private:
    QLineEdit* m_view = nullptr;
    QLineEdit* m_before = nullptr;
    QLineEdit* m_middle = nullptr;
    QLineEdit* m_after = nullptr;
};

// The value asked for when a registered tag's start tag has a second half;
// captioned with the tag's display text.
class CRegTagValueDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CRegTagValueDlg(QWidget* parent = nullptr);

    void setCaption(const QString& caption) { setWindowTitle(caption); }
    QString value() const;

private:
    QLineEdit* m_value = nullptr;
};
