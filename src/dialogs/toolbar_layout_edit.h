#pragma once

#include <QList>

// The customise dialog's work on one toolbar's button list (command ids of
// the toolbar button table, 0 for a separator), kept apart from the dialog's
// widgets. Positions index the list; position count() stands for "after the
// last button".
class CToolbarLayoutEdit
{
public:
    CToolbarLayoutEdit(const QList<int>& buttons, const QList<int>& defaults);

    const QList<int>& buttons() const { return m_buttons; }
    int count() const { return int(m_buttons.size()); }

    // What can be added: a separator first, then every button of the table
    // that is not on the toolbar, in table order.
    QList<int> available() const;

    // Each returns false and changes nothing when its positions are out of
    // range. add() puts available()[index] before position at.
    bool add(int index, int at);
    bool remove(int at);
    bool moveUp(int at);
    bool moveDown(int at);
    // The toolbar's default set again.
    void reset();

private:
    QList<int> m_buttons;
    QList<int> m_defaults;
};
