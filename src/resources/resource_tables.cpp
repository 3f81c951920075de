#include "resources/resource_tables.h"

#include "resources/command_table.h"
#include "resources/table_file.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace Resources {
namespace {

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
            item.name = o.value(QStringLiteral("command")).toString();
            item.id = commandId(item.name);
            item.caption = menuText(item.id, o.value(QStringLiteral("caption")).toString());
        }
        items.append(item);
    }
    return items;
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
            QJsonDocument::fromJson(TableFile::read(QStringLiteral("menus.json"))).object();
        for (auto it = root.begin(); it != root.end(); ++it)
            b.insert(it.key().toInt(), parseMenuItems(it.value().toArray()));
        return b;
    }();
    static const QList<MenuItem> none;
    auto it = bars.constFind(id);
    return it == bars.constEnd() ? none : *it;
}

QList<int> toolbarDefaults(const QString& toolbar)
{
    QList<int> ids;
    for (const QStringList& row : TableFile::rows(QStringLiteral("toolbar_defaults.tsv"))) {
        if (row[0] != toolbar)
            continue;
        const QString name = TableFile::field(row, 2);
        ids.append(name.isEmpty() ? 0 : commandId(name));
    }
    return ids;
}

const QList<DateFormat>& dateFormats()
{
    static const QList<DateFormat> table = [] {
        QList<DateFormat> t;
        for (const QStringList& row : TableFile::rows(QStringLiteral("date_formats.tsv")))
            t.append({TableFile::field(row, 1), TableFile::field(row, 2).toUtf8()});
        return t;
    }();
    return table;
}

const QList<DirectCommand>& directCommands()
{
    static const QList<DirectCommand> table = [] {
        QList<DirectCommand> t;
        for (const QStringList& row : TableFile::rows(QStringLiteral("direct_commands.tsv")))
            t.append({commandId(row[0]), TableFile::field(row, 1) == QLatin1String("wrap"),
                      unescape(TableFile::field(row, 2)), unescape(TableFile::field(row, 3))});
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
