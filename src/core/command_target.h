#pragma once

#include <QList>
#include <functional>

// State of one command as decided by its update handler: enabled or not,
// and its check mark (0 unchecked, 1 checked, 2 indeterminate, -1 none set).
class CCmdUI
{
public:
    explicit CCmdUI(int id) : m_id(id) {}
    int id() const { return m_id; }
    void enable(bool on = true) { m_enabled = on; }
    void setCheck(int check = 1) { m_check = check; }
    bool isEnabled() const { return m_enabled; }
    int check() const { return m_check; }

private:
    int m_id;
    bool m_enabled = true;
    int m_check = -1;
};

class CCommandTarget;

// The handlers of one kind of command target, registered once for all its
// objects: command ids (or id ranges) to handlers and update handlers, each
// given the object the command was routed to. A class's map may extend the
// map of its base class, which is looked in after its own entries.
class CCommandMap
{
public:
    using Handler = std::function<void(CCommandTarget& target, int id)>;
    using UpdateHandler = std::function<void(CCommandTarget& target, CCmdUI& ui)>;

    explicit CCommandMap(const CCommandMap* base = nullptr) : m_base(base) {}

    void onCommand(int first, int last, Handler handler);
    void onUpdate(int first, int last, UpdateHandler handler);

    // The first entry for id: this map's own, then its base's; null when none.
    const Handler* findCommand(int id) const;
    const UpdateHandler* findUpdate(int id) const;
    // How many of this map's own entries (its base's not counted) handle id:
    // more than one is a command registered twice.
    int ownHandlerCount(int id) const;

private:
    template <typename T> struct Entry
    {
        int first;
        int last;
        T handler;
    };
    const CCommandMap* m_base;
    QList<Entry<Handler>> m_commands;
    QList<Entry<UpdateHandler>> m_updates;
};

// The map of class T, whose handlers take a T.
template <typename T> class CCommandMapOf : public CCommandMap
{
public:
    using CCommandMap::CCommandMap;

    void on(int id, std::function<void(T&)> handler)
    {
        onCommand(id, id, [handler](CCommandTarget& t, int) { handler(static_cast<T&>(t)); });
    }
    void on(int first, int last, std::function<void(T&, int id)> handler)
    {
        onCommand(first, last,
                  [handler](CCommandTarget& t, int id) { handler(static_cast<T&>(t), id); });
    }
    void onUpdate(int id, std::function<void(T&, CCmdUI&)> handler)
    {
        onUpdate(id, id, std::move(handler));
    }
    void onUpdate(int first, int last, std::function<void(T&, CCmdUI&)> handler)
    {
        CCommandMap::onUpdate(first, last, [handler](CCommandTarget& t, CCmdUI& ui) {
            handler(static_cast<T&>(t), ui);
        });
    }
};

// A receiver of routed commands: the view, the document, the child frame,
// the main frame and the application object each are one, each finding its
// handlers in the map of its class.
class CCommandTarget
{
public:
    virtual ~CCommandTarget() = default;

    // The handlers of this kind of target.
    virtual const CCommandMap& commandMap() const = 0;

    bool hasCommandHandler(int id) const;
    bool hasUpdateHandler(int id) const;
    // Runs the command handler for id; false when there is none.
    bool executeCommand(int id);
    // Runs the update handler for ui.id(); false when there is none.
    bool updateCommand(CCmdUI& ui);
};

// Offers commands to a chain of targets in order (active view, its document,
// the child frame, the main frame, the application). The first target with a
// handler carries a command out. For the update, the first update handler in
// the chain decides; without any, a command is enabled exactly when some
// target handles it.
namespace CommandRouting {
bool execute(const QList<CCommandTarget*>& chain, int id);
void update(const QList<CCommandTarget*>& chain, CCmdUI& ui);
// Runs the update and, only when the command is enabled, the command.
bool executeIfEnabled(const QList<CCommandTarget*>& chain, int id);
} // namespace CommandRouting
