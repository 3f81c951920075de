#pragma once

#include "core/command_target.h"

#include <QToolBar>
#include <functional>

class QMenu;
class QToolButton;

// One toolbar of the main window. Its buttons come from the toolbar button
// table by command id (0 for a separator); each shows the command's image,
// its tool tip and its prompt. The buttons of the heading, registered-tag
// and tool commands open a menu below themselves instead. Flat buttons
// (without borders until pointed at) are chosen once, at creation; the
// gripper, separators and check marks are drawn by CFlatToolBarStyle.
class CFlatToolBar : public QToolBar
{
    Q_OBJECT

public:
    CFlatToolBar(int barId, const QString& caption, bool flat, QWidget* parent = nullptr);

    int barId() const { return m_barId; }

    // Replaces every button.
    void setButtons(const QList<int>& ids);
    QList<int> buttons() const;

    // The button standing at position index of buttons(); null for a separator.
    QToolButton* button(int index) const;

    // Whether a button of this command opens a menu.
    static bool isDropDown(int commandId);

    // Gives every button the enabled state and check mark its command's
    // update handler decides.
    void updateButtons(const std::function<CCmdUI(int)>& state);

Q_SIGNALS:
    // A button was pressed.
    void commandTriggered(int id);
    // The pointer is over the button of this command; 0 when it is over a
    // separator or no button.
    void commandPointed(int id);
    // The menu of a drop-down button is about to show; fill it.
    void dropDownAboutToShow(int id, QMenu* menu);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QAction* addButton(int id);

    int m_barId;
    bool m_flat;
};
