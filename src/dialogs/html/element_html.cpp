#include "dialogs/html/element_html.h"

#include "widgets/color_table.h"
#include "widgets/dialog_layout.h"
#include "widgets/leading_number.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString alignAttribute(int align)
{
    switch (align) {
    case 1:
        return QStringLiteral(" ALIGN=LEFT");
    case 2:
        return QStringLiteral(" ALIGN=CENTER");
    case 3:
        return QStringLiteral(" ALIGN=RIGHT");
    default:
        return QString();
    }
}

QString colorAttribute(const char* name, const QString& colorName, bool hex)
{
    if (colorName.isEmpty())
        return QString();
    return QLatin1Char(' ') + QLatin1String(name) + QLatin1Char('=') +
           colorAttributeValue(colorName, hex);
}

WrapTexts anchor(const QString& start)
{
    return {start, QStringLiteral("</A>")};
}

} // namespace

WrapTexts docInfoTexts(const DocInfoChoice& c, bool hex)
{
    QString start = QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">") + kCrLf +
                    kCrLf + QStringLiteral("<HTML>") + kCrLf + kCrLf;
    if (!c.title.isEmpty()) {
        start += QStringLiteral("<HEAD>") + kCrLf + QStringLiteral("<TITLE>") + c.title +
                 QStringLiteral("</TITLE>") + kCrLf + QStringLiteral("</HEAD>") + kCrLf + kCrLf;
    }
    start += QStringLiteral("<BODY");
    if (!c.background.isEmpty())
        start += QStringLiteral(" BACKGROUND=\"") + c.background + QLatin1Char('"');
    start += colorAttribute("BGCOLOR", c.bgColor, hex);
    start += colorAttribute("TEXT", c.textColor, hex);
    start += colorAttribute("LINK", c.linkColor, hex);
    start += colorAttribute("VLINK", c.visitedLinkColor, hex);
    start += colorAttribute("ALINK", c.activeLinkColor, hex);
    start += QLatin1Char('>') + kCrLf + kCrLf;
    const QString end = kCrLf + kCrLf + QStringLiteral("</BODY>") + kCrLf + kCrLf +
                        QStringLiteral("</HTML>") + kCrLf;
    return {start, end};
}

WrapTexts linkTexts(const QString& url, const QString& target)
{
    QString start = QStringLiteral("<A HREF=\"") + url + QLatin1Char('"');
    if (!target.isEmpty())
        start += QStringLiteral(" TARGET=\"") + target + QLatin1Char('"');
    return anchor(start + QLatin1Char('>'));
}

WrapTexts sameDocLinkTexts(const QString& bookmark)
{
    return anchor(QStringLiteral("<A HREF=\"#") + bookmark + QStringLiteral("\">"));
}

WrapTexts bookmarkTexts(const QString& name)
{
    return anchor(QStringLiteral("<A NAME=\"") + name + QStringLiteral("\">"));
}

WrapTexts mailLinkTexts(const QString& address)
{
    return anchor(QStringLiteral("<A HREF=\"mailto:") + address + QStringLiteral("\">"));
}

WrapTexts fontTexts(int sizeIndex, const QString& colorName, bool hex)
{
    static const char* const kSizes[kFontSizeButtons] = {
        " SIZE=7",      " SIZE=6",      " SIZE=5",      " SIZE=4",      " SIZE=3",
        " SIZE=2",      " SIZE=1",      " SIZE=\"+3\"", " SIZE=\"+2\"", " SIZE=\"+1\"",
        " SIZE=\"-1\"", " SIZE=\"-2\"", " SIZE=\"-3\""};
    QString start = QStringLiteral("<FONT");
    if (sizeIndex >= 0 && sizeIndex < kFontSizeButtons)
        start += QLatin1String(kSizes[sizeIndex]);
    start += colorAttribute("COLOR", colorName, hex);
    start += QLatin1Char('>');
    return {start, QStringLiteral("</FONT>")};
}

int fontPreviewPoints(int sizeIndex)
{
    static const int kPoints[kFontSizeButtons] = {36, 25, 19, 14, 13, 9, 8, 25, 19, 14, 9, 8, 6};
    if (sizeIndex < 0 || sizeIndex >= kFontSizeButtons)
        return 13;
    return kPoints[sizeIndex];
}

WrapTexts headingTexts(int level, int align)
{
    return {QStringLiteral("<H%1").arg(level) + alignAttribute(align) + QLatin1Char('>'),
            QStringLiteral("</H%1>").arg(level)};
}

int headingIndexFromStored(const QString& stored)
{
    const int index = leadingNumber(stored);
    return index < 0 || index > 5 ? 2 : index;
}

int headingPreviewPoints(int level)
{
    static const int kPoints[6] = {25, 19, 14, 13, 9, 8};
    if (level < 1 || level > 6)
        return 13;
    return kPoints[level - 1];
}

QString ruleText(const RuleChoice& c)
{
    QString text = QStringLiteral("<HR");
    if (!c.height.isEmpty())
        text += QStringLiteral(" SIZE=") + c.height;
    if (!c.width.isEmpty()) {
        text += QStringLiteral(" WIDTH=");
        text += c.percent ? QLatin1Char('"') + c.width + QStringLiteral("%\"") : c.width;
    }
    text += alignAttribute(c.align);
    if (!c.shaded)
        text += QStringLiteral(" NOSHADE");
    return text + QLatin1Char('>');
}

RulePreviewBar rulePreviewBar(int left, int top, int right, int bottom, const RuleChoice& c)
{
    RulePreviewBar bar;
    const int h = leadingNumber(c.height);
    if (h > 50) {
        bar.tooLarge = true;
        return bar;
    }
    // A negative height draws no line; bound it so the geometry stays in range.
    bar.height = qMax(h, -1000000);
    long long w = leadingNumber(c.width);
    if (c.percent)
        w = w * (right - left - 10) / 100;
    bar.width = static_cast<int>(qBound(-1000000LL, w, 1000000LL));
    bar.x = DialogLayout::previewAlignedX(left, right, bar.width, c.align);
    bar.y = top + (bottom - top) / 2 - bar.height / 2;
    return bar;
}
