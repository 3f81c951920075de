#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Read-only access to the program's layout tables: the menus (by command
// name), the toolbars' default sets, the date formats and the direct
// commands' texts. What each command shows is in the command table
// (command_table.h). The tables are compiled into the program as Qt
// resources and parsed once on first use.
namespace Resources {

struct MenuItem
{
    enum Kind { Command, Separator, Popup };
    // The list a pop-up menu gets at run time after its fixed items, as its
    // "dynamic" marker in the menu table names it.
    enum DynamicList { NoList, RegisteredTags, Tools, WindowList };
    Kind kind = Command;
    QString name;                 // Command only: the command's name in the table
    int id = 0;                   // Command only; 0 for a name the command table lacks
    QString caption;              // Command and Popup; may hold "\t" + accelerator text
    QList<MenuItem> items;        // Popup only
    DynamicList dynamic = NoList; // Popup only
};

// Menu bar 128 (no document open) or 129 (a document open): its top-level
// pop-up menus; menu 156, the toolbars' right-click menu, is one pop-up. An
// unknown id yields an empty list. A command item shows its command's
// caption and first key, unless the layout gives it a caption of its own.
const QList<MenuItem>& menuBar(int id);

// Default buttons of a toolbar ("standard" or "extended"), as command ids;
// 0 marks a separator.
QList<int> toolbarDefaults(const QString& toolbar);

struct DateFormat
{
    QString pattern;   // shown in the options list
    QByteArray format; // strftime-style format
};
const QList<DateFormat>& dateFormats();

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
