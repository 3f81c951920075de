#include "core/command_target.h"

bool CCommandTarget::hasCommandHandler(int id) const
{
    return findCommand(id) != nullptr;
}

bool CCommandTarget::hasUpdateHandler(int id) const
{
    return findUpdate(id) != nullptr;
}

bool CCommandTarget::executeCommand(int id)
{
    const Handler* h = findCommand(id);
    if (!h)
        return false;
    // Copy: the handler may destroy this target (closing a document).
    Handler run = *h;
    run(id);
    return true;
}

bool CCommandTarget::updateCommand(CCmdUI& ui)
{
    const UpdateHandler* h = findUpdate(ui.id());
    if (!h)
        return false;
    (*h)(ui);
    return true;
}

void CCommandTarget::onCommand(int id, std::function<void()> handler)
{
    m_commands.insert(id, [handler](int) { handler(); });
}

void CCommandTarget::onCommandRange(int first, int last, Handler handler)
{
    m_commandRanges.append({first, last, std::move(handler)});
}

void CCommandTarget::onUpdate(int id, UpdateHandler handler)
{
    m_updates.insert(id, std::move(handler));
}

void CCommandTarget::onUpdateRange(int first, int last, UpdateHandler handler)
{
    m_updateRanges.append({first, last, std::move(handler)});
}

const CCommandTarget::Handler* CCommandTarget::findCommand(int id) const
{
    auto it = m_commands.constFind(id);
    if (it != m_commands.constEnd())
        return &*it;
    for (const auto& r : m_commandRanges)
        if (id >= r.first && id <= r.last)
            return &r.handler;
    return nullptr;
}

const CCommandTarget::UpdateHandler* CCommandTarget::findUpdate(int id) const
{
    auto it = m_updates.constFind(id);
    if (it != m_updates.constEnd())
        return &*it;
    for (const auto& r : m_updateRanges)
        if (id >= r.first && id <= r.last)
            return &r.handler;
    return nullptr;
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
