#include "dialogs/html/image_tag.h"

namespace {

QString sizeValue(const QString& value, int unit)
{
    if (unit == ImageTagChoices::Percent)
        return QLatin1Char('"') + value + QStringLiteral("%\"");
    return value;
}

} // namespace

QString buildImageTag(const ImageTagChoices& c)
{
    QString tag = QStringLiteral("<IMG SRC=\"") + c.source + QLatin1Char('"');
    if (!c.alternativeText.isEmpty())
        tag += QStringLiteral(" ALT=\"") + c.alternativeText + QLatin1Char('"');
    if (!c.width.isEmpty())
        tag += QStringLiteral(" WIDTH=") + sizeValue(c.width, c.widthUnit);
    if (!c.height.isEmpty())
        tag += QStringLiteral(" HEIGHT=") + sizeValue(c.height, c.heightUnit);
    if (!c.border.isEmpty())
        tag += QStringLiteral(" BORDER=") + c.border;
    switch (c.alignment) {
    case ImageTagChoices::Top:
        tag += QStringLiteral(" ALIGN=top");
        break;
    case ImageTagChoices::Middle:
        tag += QStringLiteral(" ALIGN=middle");
        break;
    case ImageTagChoices::Bottom:
        tag += QStringLiteral(" ALIGN=bottom");
        break;
    case ImageTagChoices::FlowRight:
        tag += QStringLiteral(" ALIGN=left");
        break;
    case ImageTagChoices::FlowLeft:
        tag += QStringLiteral(" ALIGN=right");
        break;
    default:
        break;
    }
    if (c.alignment == ImageTagChoices::FlowRight || c.alignment == ImageTagChoices::FlowLeft) {
        if (!c.horizontalSpace.isEmpty())
            tag += QStringLiteral(" HSPACE=") + c.horizontalSpace;
        if (!c.verticalSpace.isEmpty())
            tag += QStringLiteral(" VSPACE=") + c.verticalSpace;
    }
    return tag + QLatin1Char('>');
}
