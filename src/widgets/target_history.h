#pragma once

#include <QString>
#include <QStringList>

#include <array>

class QComboBox;
class QWidget;

// The frame-target history shared by the link dialog and the form dialog
// ("History\Target"): ten slots of targets the user typed, slot 0 the most
// recent, written back only when the dialog is closed with OK.
//
// Use in a dialog:
//
//     CTargetHistory m_targets;                 // member
//     m_targets.load();                         // at initialisation
//     m_targets.fillComboBox(m_targetBox);      // typed targets, "", predefined
//     ...
//     // on OK (never on Cancel):
//     m_target = m_targets.accept(m_targetBox->currentText());
//
// accept() turns a predefined item ("_blank  (新規ウィンドウ)" ...) into its
// bare name ("_blank") and stores nothing new for it; any other non-empty
// text enters the history at slot 0 (exact, case-sensitive comparison). All
// ten slots are written in either case.
class CTargetHistory
{
public:
    static constexpr int kSlots = 10;
    using Slots = std::array<QString, kSlots>;

    // The four predefined items, as shown in the box.
    static QStringList predefinedItems();

    // A new, empty target box ("targetCombo"): editable, adding nothing on
    // Enter, without completion, and never widened by a long target.
    static QComboBox* createComboBox(QWidget* parent);

    // Reads the ten slots (a missing value reads as empty).
    void load();
    // Clears the box and fills it: the non-empty slots in slot order, one
    // empty item, then the four predefined items. The edit text is left empty.
    void fillComboBox(QComboBox* box) const;
    // The OK handling: resolves the text, updates the slots, writes all ten,
    // and returns the target to put into the element.
    QString accept(const QString& text);

    const Slots& targets() const { return m_slots; }
    void setTargets(const Slots& targets) { m_slots = targets; }

private:
    Slots m_slots;
};

namespace TargetHistory {

// The bare name of a predefined item ("_top     (すべてのフレームを解除)" gives
// "_top"), or an empty string for any other text (exact comparison).
QString predefinedName(const QString& text);

// The items of the target box for the given slots.
QStringList comboItems(const CTargetHistory::Slots& targets);

// Slot update for a chosen text: predefined items and empty text change
// nothing; a text found in slot i moves to slot 0 (slots 0..i-1 move one on);
// a new text enters at slot 0 and the last slot is lost.
void update(CTargetHistory::Slots& targets, const QString& text);

} // namespace TargetHistory
