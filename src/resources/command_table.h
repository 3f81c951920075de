#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <QStringList>

// The command table (commands.tsv): one row per command, keyed by the name
// of its Cmd:: constant, with everything the menus, the accelerators, the
// toolbars and the status bar show for it. The Cmd:: constants themselves are
// made from the table's names and numbers when the program is built. The
// table is compiled into the program and parsed once on first use.
namespace Resources {

struct Command
{
    QString name; // as the Cmd:: constant ("FormArea")
    int id = 0;
    // The target whose handler carries the command out: "view", "document",
    // "child", "frame" or "app"; "none" for a command nothing handles, which
    // is always disabled.
    QString handler;
    QString caption;   // the menu caption, without the key text
    QString prompt;    // status-bar prompt
    QString toolTip;   // empty: the button has none
    QString tagText;   // status pane 1
    QString htmlLevel; // status pane 2
    // The accelerator keys as the table spells them ("Ctrl+Shift+B"); a menu
    // item shows the first.
    QStringList keyTexts;
    QList<QKeySequence> keys;
    int buttonRow = -1; // place in the list of toolbar buttons; -1: none
    QString buttonText;
    QString icon; // the toolbar image, icons/<icon>.svg
};

// Every row, in table order.
const QList<Command>& commands();
// The row of a command id, or null.
const Command* command(int id);
// The id of the command named so, or 0.
int commandId(const QString& name);

// The status-bar prompt and the tool tip of a command; empty when it has none.
QString prompt(int commandId);
QString toolTip(int commandId);
bool hasPrompt(int commandId);

// Texts of status panes 1 (tag) and 2 (HTML level) for a command; empty
// for commands without one.
QString statusTagText(int commandId);
QString htmlLevelText(int commandId);

// A menu item's text: the caption (the command's own when empty), then a tab
// and the command's first key, if it has one.
QString menuText(int commandId, const QString& caption = QString());

struct Accelerator
{
    QKeySequence key;
    int commandId = 0;
};
// Every key of every command.
const QList<Accelerator>& accelerators();

struct ToolbarButton
{
    int row = 0;
    int commandId = 0;
    QString text;
};
// The commands that have a toolbar button, in button order.
const QList<ToolbarButton>& toolbarButtons();

} // namespace Resources
