#include "dialogs/toolbar_layout_edit.h"

#include "resources/command_table.h"

CToolbarLayoutEdit::CToolbarLayoutEdit(const QList<int>& buttons, const QList<int>& defaults)
    : m_buttons(buttons), m_defaults(defaults)
{
}

QList<int> CToolbarLayoutEdit::available() const
{
    QList<int> ids{0};
    for (const Resources::ToolbarButton& button : Resources::toolbarButtons())
        if (!m_buttons.contains(button.commandId))
            ids.append(button.commandId);
    return ids;
}

bool CToolbarLayoutEdit::add(int index, int at)
{
    const QList<int> offered = available();
    if (index < 0 || index >= offered.size() || at < 0 || at > count())
        return false;
    m_buttons.insert(at, offered[index]);
    return true;
}

bool CToolbarLayoutEdit::remove(int at)
{
    if (at < 0 || at >= count())
        return false;
    m_buttons.removeAt(at);
    return true;
}

bool CToolbarLayoutEdit::moveUp(int at)
{
    if (at < 1 || at >= count())
        return false;
    m_buttons.swapItemsAt(at - 1, at);
    return true;
}

bool CToolbarLayoutEdit::moveDown(int at)
{
    if (at < 0 || at + 1 >= count())
        return false;
    m_buttons.swapItemsAt(at, at + 1);
    return true;
}

void CToolbarLayoutEdit::reset()
{
    m_buttons = m_defaults;
}
