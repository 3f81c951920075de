#include "core/command_target.h"

void CCommandMap::onCommand(int first, int last, Handler handler)
{
    m_commands.append({first, last, std::move(handler)});
}

void CCommandMap::onUpdate(int first, int last, UpdateHandler handler)
{
    m_updates.append({first, last, std::move(handler)});
}

const CCommandMap::Handler* CCommandMap::findCommand(int id) const
{
    for (const auto& e : m_commands)
        if (id >= e.first && id <= e.last)
            return &e.handler;
    return m_base ? m_base->findCommand(id) : nullptr;
}

const CCommandMap::UpdateHandler* CCommandMap::findUpdate(int id) const
{
    for (const auto& e : m_updates)
        if (id >= e.first && id <= e.last)
            return &e.handler;
    return m_base ? m_base->findUpdate(id) : nullptr;
}

int CCommandMap::ownHandlerCount(int id) const
{
    int count = 0;
    for (const auto& e : m_commands)
        count += id >= e.first && id <= e.last;
    return count;
}

bool CCommandTarget::hasCommandHandler(int id) const
{
    return commandMap().findCommand(id) != nullptr;
}

bool CCommandTarget::hasUpdateHandler(int id) const
{
    return commandMap().findUpdate(id) != nullptr;
}

bool CCommandTarget::executeCommand(int id)
{
    // The map outlives the target, so a handler may destroy the target
    // (closing a document) while it runs.
    const CCommandMap::Handler* h = commandMap().findCommand(id);
    if (!h)
        return false;
    (*h)(*this, id);
    return true;
}

bool CCommandTarget::updateCommand(CCmdUI& ui)
{
    const CCommandMap::UpdateHandler* h = commandMap().findUpdate(ui.id());
    if (!h)
        return false;
    (*h)(*this, ui);
    return true;
}

namespace CommandRouting {

bool execute(const QList<CCommandTarget*>& chain, int id)
{
    for (CCommandTarget* t : chain)
        if (t && t->hasCommandHandler(id))
            return t->executeCommand(id);
    return false;
}

void update(const QList<CCommandTarget*>& chain, CCmdUI& ui)
{
    for (CCommandTarget* t : chain)
        if (t && t->updateCommand(ui))
            return;
    bool handled = false;
    for (CCommandTarget* t : chain)
        if (t && t->hasCommandHandler(ui.id()))
            handled = true;
    ui.enable(handled);
}

bool executeIfEnabled(const QList<CCommandTarget*>& chain, int id)
{
    CCmdUI ui(id);
    update(chain, ui);
    if (!ui.isEnabled())
        return false;
    return execute(chain, id);
}

} // namespace CommandRouting
