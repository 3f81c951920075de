#pragma once

#include <QComboBox>
#include <QString>

// An editable drop-down combo box that carries an input history: the texts
// entered the last times its dialog was used, most recent first.
//
// Use in a dialog (the dialog owns the box like any child widget):
//
//     m_url = new CHistoryComboBox(this);
//     m_url->setObjectName("url");
//     m_url->LoadHistory("History\\URL");   // fills the list, shows entry 0
//     ...
//     // after OK: read m_url->currentText()
//
// LoadHistory fills the list from the section's slots and puts the most
// recent entry into the edit part (an empty edit part for an empty history).
// The list is saved by itself when the dialog closes, by OK and by Cancel
// alike (QDialog::finished), or, for a dialog that never ran, when the box is
// destroyed: the text then standing in the edit part becomes the first
// entry (see HistoryList::withNewEntry) and every slot is written. It saves
// once per showing of the dialog; an empty edit text saves nothing.
class CHistoryComboBox : public QComboBox
{
    Q_OBJECT

public:
    // sorted: the list shows its entries in alphabetical order (the form
    // dialog's action box); a newly saved text still goes first in storage.
    explicit CHistoryComboBox(QWidget* parent = nullptr, bool sorted = false);
    ~CHistoryComboBox() override;

    bool isSorted() const { return m_sorted; }
    void setSorted(bool sorted) { m_sorted = sorted; }

    // Fills the list from the values <prefix>00 .. of the section (maximum
    // slots, gaps skipped) and shows the first entry in the edit part.
    // Returns false, changing nothing, when maximum is above 99.
    bool LoadHistory(const QString& section, const QString& prefix = QStringLiteral("History"),
                     unsigned maximum = 10);

    // Saves the list now, as closing the dialog does. Nothing happens before
    // LoadHistory, nor a second time until the dialog is shown again.
    void saveHistory();

    QString section() const { return m_section; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void watchDialog();

    QString m_section;
    QString m_prefix;
    unsigned m_maximum = 0;
    bool m_sorted = false;
    bool m_loaded = false;
    bool m_saved = false;
};
