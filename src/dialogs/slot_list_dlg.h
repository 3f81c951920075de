#pragma once

#include "core/slot_records.h"

#include <QDialog>

class QListWidget;
class QPushButton;

// The shape shared by the registered-tag and tool list dialogs: a list of
// the used slots (line n is slot n) with buttons to add, change, delete and
// move them. The dialog works on its own copy of the ten slots; the
// subclass writes it back on OK, and Cancel loses every change.
class CSlotListDlg : public QDialog
{
    Q_OBJECT

protected:
    CSlotListDlg(const QString& title, const QString& listCaption, QWidget* parent);

    // Lists the used slots; called once the subclass has loaded them.
    void fillList();

    virtual QString slotText(int slot) const = 0;
    // Runs the edit dialog for slot, with a fresh record when fresh is set;
    // on OK stores what it returns and gives true.
    virtual bool editSlot(int slot, bool fresh) = 0;
    virtual void removeSlot(int slot) = 0;
    virtual void swapSlots(int a, int b) = 0;

private:
    int selectedLine() const; // -1: none
    void updateButtons();
    void select(int line);
    void addNew();
    void changeSelected();
    void deleteSelected();
    void moveSelected(int step);

    QListWidget* m_list = nullptr;
    QPushButton* m_new = nullptr;
    QPushButton* m_change = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_up = nullptr;
    QPushButton* m_down = nullptr;
};

// A list dialog over one kind of record; the subclass supplies its edit
// dialog through editRecord().
template <typename Record> class CSlotListDlgOf : public CSlotListDlg
{
protected:
    using CSlotListDlg::CSlotListDlg;

    // Takes the stored slots, the used ones moved to the front.
    void load(const SlotRecords::Slots<Record>& stored)
    {
        m_slots = stored;
        SlotRecords::pack(m_slots);
        fillList();
    }
    // Runs the edit dialog on record; true (with record changed) on OK.
    virtual bool editRecord(Record& record) = 0;

    QString slotText(int slot) const override { return m_slots[slot].view; }
    bool editSlot(int slot, bool fresh) override
    {
        Record record = fresh ? Record() : m_slots[slot];
        if (!editRecord(record))
            return false;
        m_slots[slot] = record;
        return true;
    }
    void removeSlot(int slot) override { SlotRecords::remove(m_slots, slot); }
    void swapSlots(int a, int b) override { SlotRecords::swap(m_slots, a, b); }

    SlotRecords::Slots<Record> m_slots;
};
