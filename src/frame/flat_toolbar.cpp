#include "frame/flat_toolbar.h"

#include "frame/flat_toolbar_style.h"
#include "resources/command_ids.h"
#include "resources/command_table.h"
#include "resources/icons.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QToolButton>

namespace {

const char* const kCommandId = "marquillCommandId";

QString buttonText(int id)
{
    const Resources::Command* c = Resources::command(id);
    return c ? c->buttonText : QString();
}

} // namespace

CFlatToolBar::CFlatToolBar(int barId, const QString& caption, bool flat, QWidget* parent)
    : QToolBar(caption, parent), m_barId(barId), m_flat(flat)
{
    setObjectName(QStringLiteral("ToolBar%1").arg(barId));
    setIconSize(QSize(16, 16));
    setStyle(CFlatToolBarStyle::instance());
    setAllowedAreas(Qt::AllToolBarAreas);
    setFloatable(true);
    setMovable(true);
}

bool CFlatToolBar::isDropDown(int commandId)
{
    return commandId == Cmd::HeadingMenu || commandId == Cmd::RegisteredTagMenu ||
           commandId == Cmd::ToolMenu;
}

void CFlatToolBar::setButtons(const QList<int>& ids)
{
    const QList<QAction*> old = actions();
    clear();
    qDeleteAll(old);
    for (int id : ids) {
        QAction* action = id == 0 ? addSeparator() : addButton(id);
        action->setProperty(kCommandId, id);
        QWidget* widget = widgetForAction(action);
        widget->setStyle(CFlatToolBarStyle::instance());
        widget->installEventFilter(this);
    }
}

QAction* CFlatToolBar::addButton(int id)
{
    auto* action = new QAction(Resources::toolbarIcon(id), buttonText(id), this);
    action->setStatusTip(Resources::prompt(id));
    action->setToolTip(Resources::toolTip(id));
    connect(action, &QAction::triggered, this, [this, id] { Q_EMIT commandTriggered(id); });
    addAction(action);
    auto* button = qobject_cast<QToolButton*>(widgetForAction(action));
    button->setAutoRaise(m_flat);
    button->setAccessibleName(action->text());
    if (isDropDown(id)) {
        auto* menu = new QMenu(button);
        connect(menu, &QMenu::aboutToShow, this,
                [this, id, menu] { Q_EMIT dropDownAboutToShow(id, menu); });
        button->setMenu(menu);
        button->setPopupMode(QToolButton::InstantPopup);
    }
    return action;
}

QList<int> CFlatToolBar::buttons() const
{
    QList<int> ids;
    for (const QAction* action : actions())
        ids.append(action->property(kCommandId).toInt());
    return ids;
}

QToolButton* CFlatToolBar::button(int index) const
{
    const QList<QAction*> all = actions();
    if (index < 0 || index >= all.size())
        return nullptr;
    return qobject_cast<QToolButton*>(widgetForAction(all[index]));
}

void CFlatToolBar::updateButtons(const std::function<CCmdUI(int)>& state)
{
    for (QAction* action : actions()) {
        const int id = action->property(kCommandId).toInt();
        if (id == 0)
            continue;
        const CCmdUI ui = state(id);
        action->setEnabled(ui.isEnabled());
        if (ui.check() >= 0) {
            action->setCheckable(true);
            action->setChecked(ui.check() == 1);
        }
    }
}

bool CFlatToolBar::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->parentWidget() != this)
        return QToolBar::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::Leave: {
        int id = 0;
        if (event->type() == QEvent::Enter)
            if (auto* button = qobject_cast<QToolButton*>(widget))
                if (QAction* action = button->defaultAction())
                    id = action->property(kCommandId).toInt();
        Q_EMIT commandPointed(id);
        break;
    }
    case QEvent::ToolTip:
        // A command without a tool tip text shows none, rather than its name.
        if (auto* button = qobject_cast<QToolButton*>(widget))
            if (button->defaultAction() &&
                Resources::toolTip(button->defaultAction()->property(kCommandId).toInt()).isEmpty())
                return true;
        break;
    default:
        break;
    }
    return QToolBar::eventFilter(watched, event);
}

void CFlatToolBar::leaveEvent(QEvent* event)
{
    Q_EMIT commandPointed(0);
    QToolBar::leaveEvent(event);
}
