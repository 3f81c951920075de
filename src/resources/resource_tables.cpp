#include "resources/resource_tables.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace Resources {
namespace {

QByteArray readResource(const QString& name)
{
    QFile f(QStringLiteral(":/") + name);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("resource table %s is not linked into the program", qPrintable(name));
    return f.readAll();
}

// Rows of a tab-separated table without its header row.
QList<QStringList> readTsv(const QString& name)
{
    QList<QStringList> rows;
    const QList<QByteArray> lines = readResource(name).split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            continue;
        rows.append(QString::fromUtf8(lines[i]).split(QLatin1Char('\t')));
    }
    return rows;
}

QString field(const QStringList& row, int i)
{
    return i < row.size() ? row[i] : QString();
}

MenuItem::DynamicList dynamicList(const QString& marker)
{
    if (marker == QLatin1String("registeredTags"))
        return MenuItem::RegisteredTags;
    if (marker == QLatin1String("tools"))
        return MenuItem::Tools;
    if (marker == QLatin1String("windows"))
        return MenuItem::WindowList;
    return MenuItem::NoList;
}

QList<MenuItem> parseMenuItems(const QJsonArray& array)
{
    QList<MenuItem> items;
    for (const QJsonValue& v : array) {
        const QJsonObject o = v.toObject();
        MenuItem item;
        if (o.value(QStringLiteral("separator")).toBool()) {
            item.kind = MenuItem::Separator;
        } else if (o.contains(QStringLiteral("submenu")) || o.contains(QStringLiteral("items"))) {
            item.kind = MenuItem::Popup;
            item.caption = o.value(QStringLiteral("caption")).toString();
            const QString key = o.contains(QStringLiteral("submenu")) ? QStringLiteral("submenu")
                                                                      : QStringLiteral("items");
            item.items = parseMenuItems(o.value(key).toArray());
            item.dynamic = dynamicList(o.value(QStringLiteral("dynamic")).toString());
        } else {
            item.id = o.value(QStringLiteral("id")).toInt();
            item.caption = o.value(QStringLiteral("caption")).toString();
        }
        items.append(item);
    }
    return items;
}

struct PromptEntry
{
    QString prompt;
    QString tip;
};

const QHash<int, PromptEntry>& prompts()
{
    static const QHash<int, PromptEntry> table = [] {
        QHash<int, PromptEntry> t;
        for (const QStringList& row : readTsv(QStringLiteral("prompts.tsv")))
            t.insert(row[0].toInt(), {field(row, 1), field(row, 2)});
        return t;
    }();
    return table;
}

struct StatusEntry
{
    QString tag;
    QString level;
};

const QHash<int, StatusEntry>& statusTexts()
{
    static const QHash<int, StatusEntry> table = [] {
        QHash<int, StatusEntry> t;
        for (const QStringList& row : readTsv(QStringLiteral("status_tags.tsv")))
            t.insert(row[0].toInt(), {field(row, 1), field(row, 2)});
        return t;
    }();
    return table;
}

QByteArray unescape(const QString& text)
{
    QByteArray in = text.toUtf8();
    QByteArray out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == '\\' && i + 1 < in.size()) {
            const char c = in[i + 1];
            if (c == 'r' || c == 'n' || c == 't' || c == '\\' || c == '"') {
                out.append(c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c);
                ++i;
                continue;
            }
        }
        out.append(in[i]);
    }
    return out;
}

} // namespace

const QList<MenuItem>& menuBar(int id)
{
    static const QHash<int, QList<MenuItem>> bars = [] {
        QHash<int, QList<MenuItem>> b;
        const QJsonObject root =
            QJsonDocument::fromJson(readResource(QStringLiteral("menus.json"))).object();
        for (auto it = root.begin(); it != root.end(); ++it)
            b.insert(it.key().toInt(), parseMenuItems(it.value().toArray()));
        return b;
    }();
    static const QList<MenuItem> none;
    auto it = bars.constFind(id);
    return it == bars.constEnd() ? none : *it;
}

const QList<Accelerator>& accelerators()
{
    static const QList<Accelerator> table = [] {
        QList<Accelerator> t;
        for (const QStringList& row : readTsv(QStringLiteral("accelerators.tsv"))) {
            QString key = row[0];
            key.replace(QStringLiteral("Enter"), QStringLiteral("Return"));
            t.append({QKeySequence::fromString(key, QKeySequence::PortableText), row[1].toInt()});
        }
        return t;
    }();
    return table;
}

QString prompt(int commandId)
{
    return prompts().value(commandId).prompt;
}

QString toolTip(int commandId)
{
    return prompts().value(commandId).tip;
}

bool hasPrompt(int commandId)
{
    return prompts().contains(commandId);
}

QString statusTagText(int commandId)
{
    return statusTexts().value(commandId).tag;
}

QString htmlLevelText(int commandId)
{
    return statusTexts().value(commandId).level;
}

const QList<ToolbarButton>& toolbarButtons()
{
    static const QList<ToolbarButton> table = [] {
        QList<ToolbarButton> t;
        for (const QStringList& row : readTsv(QStringLiteral("toolbar_buttons.tsv")))
            t.append({row[0].toInt(), row[1].toInt(), field(row, 2)});
        return t;
    }();
    return table;
}

QList<int> toolbarDefaultRows(const QString& toolbar)
{
    QList<int> rows;
    for (const QStringList& row : readTsv(QStringLiteral("toolbar_defaults.tsv"))) {
        if (row[0] != toolbar)
            continue;
        rows.append(field(row, 3) == QLatin1String("1") ? -1 : field(row, 2).toInt());
    }
    return rows;
}

const QList<DateFormat>& dateFormats()
{
    static const QList<DateFormat> table = [] {
        QList<DateFormat> t;
        for (const QStringList& row : readTsv(QStringLiteral("date_formats.tsv")))
            t.append({field(row, 1), field(row, 2).toUtf8()});
        return t;
    }();
    return table;
}

const QStringList& colorNames()
{
    static const QStringList names = [] {
        QStringList n;
        for (const QByteArray& line : readResource(QStringLiteral("colors.txt")).split('\n'))
            if (!line.trimmed().isEmpty())
                n.append(QString::fromUtf8(line.trimmed()));
        return n;
    }();
    return names;
}

const QList<DirectCommand>& directCommands()
{
    static const QList<DirectCommand> table = [] {
        QList<DirectCommand> t;
        for (const QStringList& row : readTsv(QStringLiteral("direct_commands.tsv")))
            t.append({row[0].toInt(), field(row, 1) == QLatin1String("wrap"),
                      unescape(field(row, 2)), unescape(field(row, 3))});
        return t;
    }();
    return table;
}

const DirectCommand* directCommand(int id)
{
    for (const DirectCommand& c : directCommands())
        if (c.id == id)
            return &c;
    return nullptr;
}

} // namespace Resources
