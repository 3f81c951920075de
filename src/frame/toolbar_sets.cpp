#include "frame/toolbar_sets.h"

#include "core/settings_store.h"
#include "resources/command_table.h"
#include "resources/resource_tables.h"

#include <QStringList>

namespace ToolbarSets {
namespace {

constexpr StringSetting kToolBar{"Settings", "ToolBar", ""};
constexpr StringSetting kToolBarEx{"Settings", "ToolBarEx", ""};

const StringSetting& setting(Bar bar)
{
    return bar == Standard ? kToolBar : kToolBarEx;
}

// A decimal number without sign or blanks.
bool readNumber(const QString& text, int& number)
{
    if (text.isEmpty() || text.size() > 9)
        return false;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    number = text.toInt();
    return true;
}

} // namespace

QList<int> defaults(Bar bar)
{
    return Resources::toolbarDefaults(bar == Standard ? QStringLiteral("standard")
                                                      : QStringLiteral("extended"));
}

bool isButtonCommand(int id)
{
    const Resources::Command* c = Resources::command(id);
    return c && c->buttonRow >= 0;
}

QString format(const QList<int>& buttons)
{
    QStringList ids;
    for (int id : buttons)
        ids.append(QString::number(id));
    return QString::number(buttons.size()) + QLatin1Char(':') + ids.join(QLatin1Char(','));
}

bool parse(const QString& text, QList<int>& buttons)
{
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    int count = 0;
    if (colon < 0 || !readNumber(text.left(colon), count))
        return false;
    const QString rest = text.mid(colon + 1);
    const QStringList fields = rest.isEmpty() ? QStringList() : rest.split(QLatin1Char(','));
    if (fields.size() != count)
        return false;
    QList<int> ids;
    for (const QString& field : fields) {
        int id = 0;
        if (!readNumber(field, id) || (id != 0 && !isButtonCommand(id)))
            return false;
        ids.append(id);
    }
    buttons = ids;
    return true;
}

QList<int> read(Bar bar)
{
    QList<int> buttons;
    if (!parse(setting(bar).read(), buttons))
        return defaults(bar);
    return buttons;
}

ProfileValue value(Bar bar, const QList<int>& buttons)
{
    return setting(bar).with(format(buttons));
}

} // namespace ToolbarSets
