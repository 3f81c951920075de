#include "dialogs/html/form_html.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// ` NAME="value"` for any value, empty ones included.
QString quoted(const char* name, const QString& value)
{
    return QLatin1Char(' ') + QLatin1String(name) + QStringLiteral("=\"") + value +
           QLatin1Char('"');
}

// ` NAME=value`, or nothing for an empty value.
QString bareUnlessEmpty(const char* name, const QString& value)
{
    if (value.isEmpty())
        return QString();
    return QLatin1Char(' ') + QLatin1String(name) + QLatin1Char('=') + value;
}

} // namespace

WrapTexts formTexts(const QString& method, const QString& action, const QString& target)
{
    QString start = QStringLiteral("<FORM METHOD=") + method + quoted("ACTION", action);
    if (!target.isEmpty())
        start += quoted("TARGET", target);
    start += QLatin1Char('>') + kCrLf + kCrLf;
    return {start, kCrLf + kCrLf + QStringLiteral("</FORM>") + kCrLf};
}

WrapTexts selectTexts(const SelectChoice& c)
{
    QString start = QStringLiteral("<SELECT");
    if (!c.name.isEmpty())
        start += quoted("NAME", c.name);
    if (c.listBox)
        start += bareUnlessEmpty("SIZE", c.rows);
    if (c.multiple)
        start += QStringLiteral(" MULTIPLE");
    start += QLatin1Char('>') + kCrLf;
    return {start, kCrLf + QStringLiteral("</SELECT>")};
}

QString optionItemText(const QString& sentData, const QString& label)
{
    return QStringLiteral("<OPTION") + quoted("VALUE", sentData) + QLatin1Char('>') + label;
}

QString lineInputText(const LineInputChoice& c)
{
    QString text = QStringLiteral("<INPUT TYPE=");
    text += c.password ? QStringLiteral("\"password\"") : QStringLiteral("\"TEXT\"");
    text += quoted("NAME", c.name);
    text += bareUnlessEmpty("SIZE", c.length);
    text += bareUnlessEmpty("MAXLENGTH", c.maxLength);
    if (!c.value.isEmpty() && !c.password)
        text += quoted("VALUE", c.value);
    return text + QLatin1Char('>');
}

QString textAreaText(const QString& name, const QString& columns, const QString& rows)
{
    return QStringLiteral("<TEXTAREA") + quoted("NAME", name) + bareUnlessEmpty("COLS", columns) +
           bareUnlessEmpty("ROWS", rows) + QStringLiteral("></TEXTAREA>");
}

QString choiceInputText(ChoiceInputKind kind, const ChoiceInput& input)
{
    QString text = kind == ChoiceInputKind::CheckBox ? QStringLiteral("<INPUT TYPE=\"CHECKBOX\"")
                                                     : QStringLiteral("<INPUT TYPE=\"RADIO\"");
    text += quoted("NAME", input.name) + quoted("VALUE", input.value);
    if (input.checked)
        text += QStringLiteral(" CHECKED");
    return text + QLatin1Char('>') + input.label;
}

QString buttonInputText(ButtonInputKind kind, const QString& label)
{
    const QString type =
        kind == ButtonInputKind::Submit ? QStringLiteral("SUBMIT") : QStringLiteral("RESET");
    return QStringLiteral("<INPUT TYPE=\"") + type + QLatin1Char('"') + quoted("VALUE", label) +
           QLatin1Char('>');
}
