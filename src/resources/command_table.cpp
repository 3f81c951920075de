#include "resources/command_table.h"

#include "resources/table_file.h"

#include <QHash>

#include <algorithm>

namespace Resources {
namespace {

// Column order of commands.tsv.
enum Column {
    Name,
    Id,
    Handler,
    Caption,
    Prompt,
    ToolTip,
    Tag,
    Level,
    Keys,
    ButtonRow,
    ButtonText,
    Icon
};

QKeySequence keyOf(QString text)
{
    // The table says Enter where Qt says Return.
    text.replace(QStringLiteral("Enter"), QStringLiteral("Return"));
    return QKeySequence::fromString(text, QKeySequence::PortableText);
}

Command parse(const QStringList& row)
{
    Command c;
    c.name = TableFile::field(row, Name);
    c.id = TableFile::field(row, Id).toInt();
    c.handler = TableFile::field(row, Handler);
    c.caption = TableFile::field(row, Caption);
    c.prompt = TableFile::field(row, Prompt);
    c.toolTip = TableFile::field(row, ToolTip);
    c.tagText = TableFile::field(row, Tag);
    c.htmlLevel = TableFile::field(row, Level);
    c.keyTexts = TableFile::field(row, Keys).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& key : std::as_const(c.keyTexts))
        c.keys.append(keyOf(key));
    const QString buttonRow = TableFile::field(row, ButtonRow);
    c.buttonRow = buttonRow.isEmpty() ? -1 : buttonRow.toInt();
    c.buttonText = TableFile::field(row, ButtonText);
    c.icon = TableFile::field(row, Icon);
    return c;
}

struct Table
{
    QList<Command> rows;
    QHash<int, qsizetype> byId;
    QHash<QString, int> idByName;
};

const Table& table()
{
    static const Table t = [] {
        Table t;
        for (const QStringList& row : TableFile::rows(QStringLiteral("commands.tsv"))) {
            const Command c = parse(row);
            // A number or a name used twice keeps its first row (the command
            // table test names the second).
            if (!t.byId.contains(c.id))
                t.byId.insert(c.id, t.rows.size());
            if (!t.idByName.contains(c.name))
                t.idByName.insert(c.name, c.id);
            t.rows.append(c);
        }
        return t;
    }();
    return t;
}

// One of a command's texts; empty for an id without a row.
QString textOf(int commandId, QString Command::*text);

} // namespace

const QList<Command>& commands()
{
    return table().rows;
}

const Command* command(int id)
{
    const Table& t = table();
    const auto it = t.byId.constFind(id);
    return it == t.byId.constEnd() ? nullptr : &t.rows.at(*it);
}

int commandId(const QString& name)
{
    return table().idByName.value(name);
}

namespace {

QString textOf(int commandId, QString Command::*text)
{
    const Command* c = command(commandId);
    return c ? c->*text : QString();
}

} // namespace

QString prompt(int commandId)
{
    return textOf(commandId, &Command::prompt);
}

QString toolTip(int commandId)
{
    return textOf(commandId, &Command::toolTip);
}

bool hasPrompt(int commandId)
{
    return !prompt(commandId).isEmpty();
}

QString statusTagText(int commandId)
{
    return textOf(commandId, &Command::tagText);
}

QString htmlLevelText(int commandId)
{
    return textOf(commandId, &Command::htmlLevel);
}

QString menuText(int commandId, const QString& caption)
{
    const Command* c = command(commandId);
    if (!c)
        return caption;
    const QString text = caption.isEmpty() ? c->caption : caption;
    return c->keyTexts.isEmpty() ? text : text + QLatin1Char('\t') + c->keyTexts.first();
}

const QList<Accelerator>& accelerators()
{
    static const QList<Accelerator> keys = [] {
        QList<Accelerator> k;
        for (const Command& c : commands())
            for (const QKeySequence& key : c.keys)
                k.append({key, c.id});
        return k;
    }();
    return keys;
}

const QList<ToolbarButton>& toolbarButtons()
{
    static const QList<ToolbarButton> buttons = [] {
        QList<ToolbarButton> b;
        for (const Command& c : commands())
            if (c.buttonRow >= 0)
                b.append({c.buttonRow, c.id, c.buttonText});
        std::sort(b.begin(), b.end(),
                  [](const ToolbarButton& x, const ToolbarButton& y) { return x.row < y.row; });
        return b;
    }();
    return buttons;
}

} // namespace Resources
