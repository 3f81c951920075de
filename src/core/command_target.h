#pragma once

#include <QHash>
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

// A receiver of routed commands: a table from command ids (or id ranges) to
// handlers and update handlers. The view, the document, the child frame, the
// main frame and the application object each are one.
class CCommandTarget
{
public:
    virtual ~CCommandTarget() = default;

    bool hasCommandHandler(int id) const;
    bool hasUpdateHandler(int id) const;
    // Runs the command handler for id; false when there is none.
    bool executeCommand(int id);
    // Runs the update handler for ui.id(); false when there is none.
    bool updateCommand(CCmdUI& ui);

    // Registration, by the target itself or by the command modules that
    // extend it (the view's insertion commands, tag tools, dialogs ...).
    using Handler = std::function<void(int id)>;
    using UpdateHandler = std::function<void(CCmdUI& ui)>;

    void onCommand(int id, std::function<void()> handler);
    void onCommandRange(int first, int last, Handler handler);
    void onUpdate(int id, UpdateHandler handler);
    void onUpdateRange(int first, int last, UpdateHandler handler);

private:
    template <typename T> struct Range
    {
        int first;
        int last;
        T handler;
    };
    const Handler* findCommand(int id) const;
    const UpdateHandler* findUpdate(int id) const;

    QHash<int, Handler> m_commands;
    QHash<int, UpdateHandler> m_updates;
    QList<Range<Handler>> m_commandRanges;
    QList<Range<UpdateHandler>> m_updateRanges;
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
