#pragma once

#include <QByteArray>
#include <QKeySequence>
#include <QList>
#include <QString>
#include <QStringList>

// Read-only access to the program's resource tables (menus, accelerators,
// prompts, status texts, toolbar buttons, date formats, colour names, direct
// commands). The tables are compiled into the program as Qt resources and
// parsed once on first use.
namespace Resources {

struct MenuItem
{
    enum Kind { Command, Separator, Popup };
    // The list a pop-up menu gets at run time after its fixed items, as its
    // "dynamic" marker in the menu table names it.
    enum DynamicList { NoList, RegisteredTags, Tools, WindowList };
    Kind kind = Command;
    int id = 0;                   // Command only
    QString caption;              // Command and Popup; may hold "\t" + accelerator text
    QList<MenuItem> items;        // Popup only
    DynamicList dynamic = NoList; // Popup only
};

// Menu bar 128 (no document open) or 129 (a document open): its top-level
// pop-up menus; menu 156, the toolbars' right-click menu, is one pop-up. An
// unknown id yields an empty list.
const QList<MenuItem>& menuBar(int id);

struct Accelerator
{
    QKeySequence key;
    int commandId = 0;
};
const QList<Accelerator>& accelerators();

// The status-bar prompt (text before "\n") and tool tip (text after it).
QString prompt(int commandId);
QString toolTip(int commandId);
bool hasPrompt(int commandId);

// Texts of status panes 1 (tag) and 2 (HTML level) for a command; empty
// for commands without one.
QString statusTagText(int commandId);
QString htmlLevelText(int commandId);

struct ToolbarButton
{
    int row = 0;
    int commandId = 0;
    QString text;
};
const QList<ToolbarButton>& toolbarButtons();
// Default rows of a toolbar ("standard" or "extended"); -1 marks a separator.
QList<int> toolbarDefaultRows(const QString& toolbar);

struct DateFormat
{
    QString pattern;   // shown in the options list
    QByteArray format; // strftime-style format
};
const QList<DateFormat>& dateFormats();

// Colour names 1..138 (entry 0, "not selected", is not in the list).
const QStringList& colorNames();

struct DirectCommand
{
    int id = 0;
    bool wrap = false;
    QByteArray startOrText; // C escapes resolved: "\r\n" is CR LF
    QByteArray end;
};
const QList<DirectCommand>& directCommands();
const DirectCommand* directCommand(int id);

} // namespace Resources
