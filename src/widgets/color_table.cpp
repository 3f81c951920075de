#include "widgets/color_table.h"

#include "core/options.h"

namespace {

// Written as CSS writes them (0xRRGGBB) and stored as colour references.
constexpr int fromCss(int rgb)
{
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

constexpr ColorEntry kColors[kColorTableSize] = {
    {kNoColor, "not selected"},
    {fromCss(0xf0f8ff), "aliceblue"},
    {fromCss(0xfaebd7), "antiquewhite"},
    {fromCss(0x00ffff), "aqua"},
    {fromCss(0x7fffd4), "aquamarine"},
    {fromCss(0xf0ffff), "azure"},
    {fromCss(0xf5f5dc), "beige"},
    {fromCss(0xffe4c4), "bisque"},
    {fromCss(0x000000), "black"},
    {fromCss(0xffebcd), "blanchedalmond"},
    {fromCss(0x0000ff), "blue"},
    {fromCss(0x8a2be2), "blueviolet"},
    {fromCss(0xa52a2a), "brown"},
    {fromCss(0xdeb887), "burlywood"},
    {fromCss(0x5f9ea0), "cadetblue"},
    {fromCss(0x7fff00), "chartreuse"},
    {fromCss(0xd2691e), "chocolate"},
    {fromCss(0xff7f50), "coral"},
    {fromCss(0x6495ed), "cornflowerblue"},
    {fromCss(0xfff8dc), "cornsilk"},
    {fromCss(0xdc143c), "crimson"},
    {fromCss(0x00008b), "darkblue"},
    {fromCss(0x008b8b), "darkcyan"},
    {fromCss(0xb8860b), "darkgoldenrod"},
    {fromCss(0xa9a9a9), "darkgray"},
    {fromCss(0x006400), "darkgreen"},
    {fromCss(0xbdb76b), "darkkhaki"},
    {fromCss(0x8b008b), "darkmagenta"},
    {fromCss(0x556b2f), "darkolivegreen"},
    {fromCss(0xff8c00), "darkorange"},
    {fromCss(0x9932cc), "darkorchid"},
    {fromCss(0x8b0000), "darkred"},
    {fromCss(0xe9967a), "darksalmon"},
    {fromCss(0x8fbc8f), "darkseagreen"},
    {fromCss(0x483d8b), "darkslateblue"},
    {fromCss(0x2f4f4f), "darkslategray"},
    {fromCss(0x00ced1), "darkturquoise"},
    {fromCss(0x9400d3), "darkviolet"},
    {fromCss(0xff1493), "deeppink"},
    {fromCss(0x00bfff), "deepskyblue"},
    {fromCss(0x696969), "dimgray"},
    {fromCss(0x1e90ff), "dodgerblue"},
    {fromCss(0xb22222), "firebrick"},
    {fromCss(0xfffaf0), "floralwhite"},
    {fromCss(0x228b22), "forestgreen"},
    {fromCss(0xff00ff), "fuchsia"},
    {fromCss(0xdcdcdc), "gainsboro"},
    {fromCss(0xf8f8ff), "ghostwhite"},
    {fromCss(0xffd700), "gold"},
    {fromCss(0xdaa520), "goldenrod"},
    {fromCss(0x808080), "gray"},
    {fromCss(0x008000), "green"},
    {fromCss(0xadff2f), "greenyellow"},
    {fromCss(0xf0fff0), "honeydew"},
    {fromCss(0xff69b4), "hotpink"},
    {fromCss(0xcd5c5c), "indianred"},
    {fromCss(0x4b0082), "indigo"},
    {fromCss(0xfffff0), "ivory"},
    {fromCss(0xf0e68c), "khaki"},
    {fromCss(0xe6e6fa), "lavender"},
    {fromCss(0xfff0f5), "lavenderblush"},
    {fromCss(0x7cfc00), "lawngreen"},
    {fromCss(0xfffacd), "lemonchiffon"},
    {fromCss(0xadd8e6), "lightblue"},
    {fromCss(0xe0ffff), "lightcyan"},
    {fromCss(0xf08080), "lightcoral"},
    {fromCss(0xfafad2), "lightgoldenrodyellow"},
    {fromCss(0x90ee90), "lightgreen"},
    {fromCss(0xd3d3d3), "lightgrey"},
    {fromCss(0xffb6c1), "lightpink"},
    {fromCss(0xffa07a), "lightsalmon"},
    {fromCss(0x20b2aa), "lightseagreen"},
    {fromCss(0x778899), "lightslategray"},
    {fromCss(0x87cefa), "lightskyblue"},
    {fromCss(0xb0c4de), "lightsteelblue"},
    {fromCss(0xffffe0), "lightyellow"},
    {fromCss(0x00ff00), "lime"},
    {fromCss(0x32cd32), "limegreen"},
    {fromCss(0xfaf0e6), "linen"},
    {fromCss(0x800000), "maroon"},
    {fromCss(0x66cdaa), "mediumaquamarine"},
    {fromCss(0x0000cd), "mediumblue"},
    {fromCss(0xba55d3), "mediumorchid"},
    {fromCss(0x9370db), "mediumpurple"},
    {fromCss(0x3cb371), "mediumseagreen"},
    {fromCss(0x00fa9a), "mediumspringgreen"},
    {fromCss(0x7b68ee), "mediumslateblue"},
    {fromCss(0x48d1cc), "mediumturquoise"},
    {fromCss(0xc71585), "mediumvioletred"},
    {fromCss(0x191970), "midnightblue"},
    {fromCss(0xf5fffa), "mintcream"},
    {fromCss(0xffe4e1), "mistyrose"},
    {fromCss(0xffe4b5), "moccasin"},
    {fromCss(0xffdead), "navajowhite"},
    {fromCss(0x000080), "navy"},
    {fromCss(0x808000), "olive"},
    {fromCss(0x6b8e23), "olivedrab"},
    {fromCss(0xfdf5e6), "oldlace"},
    {fromCss(0xffa500), "orange"},
    {fromCss(0xff4500), "orangered"},
    {fromCss(0xda70d6), "orchid"},
    {fromCss(0xeee8aa), "palegoldenrod"},
    {fromCss(0x98fb98), "palegreen"},
    {fromCss(0xafeeee), "paleturquoise"},
    {fromCss(0xdb7093), "palevioletred"},
    {fromCss(0xffefd5), "papayawhip"},
    {fromCss(0xffdab9), "peachpuff"},
    {fromCss(0xcd853f), "peru"},
    {fromCss(0xffc0cb), "pink"},
    {fromCss(0xdda0dd), "plum"},
    {fromCss(0xb0e0e6), "powderblue"},
    {fromCss(0x800080), "purple"},
    {fromCss(0xff0000), "red"},
    {fromCss(0xbc8f8f), "rosybrown"},
    {fromCss(0x4169e1), "royalblue"},
    {fromCss(0x8b4513), "saddlebrown"},
    {fromCss(0xfa8072), "salmon"},
    {fromCss(0xf4a460), "sandybrown"},
    {fromCss(0x2e8b57), "seagreen"},
    {fromCss(0xfff5ee), "seashell"},
    {fromCss(0xa0522d), "sienna"},
    {fromCss(0xc0c0c0), "silver"},
    {fromCss(0x87ceeb), "skyblue"},
    {fromCss(0x6a5acd), "slateblue"},
    {fromCss(0x708090), "slategray"},
    {fromCss(0xfffafa), "snow"},
    {fromCss(0x00ff7f), "springgreen"},
    {fromCss(0x4682b4), "steelblue"},
    {fromCss(0xd2b48c), "tan"},
    {fromCss(0x008080), "teal"},
    {fromCss(0xd8bfd8), "thistle"},
    {fromCss(0xff6347), "tomato"},
    {fromCss(0x40e0d0), "turquoise"},
    {fromCss(0xee82ee), "violet"},
    {fromCss(0xf5deb3), "wheat"},
    {fromCss(0xf5f5f5), "whitesmoke"},
    {fromCss(0xffffff), "white"},
    {fromCss(0xffff00), "yellow"},
    {fromCss(0x9acd32), "yellowgreen"},
};

} // namespace

const ColorEntry& colorEntry(int index)
{
    Q_ASSERT(index >= 0 && index < kColorTableSize);
    return kColors[index];
}

int ColorFromName(const QString& name)
{
    for (const ColorEntry& entry : kColors) {
        if (name == QLatin1String(entry.name))
            return entry.value;
    }
    return kNoColor;
}

QString colorNameFromValue(int value)
{
    for (const ColorEntry& entry : kColors) {
        if (entry.value == value)
            return QLatin1String(entry.name);
    }
    return QStringLiteral("undefined");
}

QString colorHexFromValue(int value)
{
    const auto byte = [value](int shift) {
        return (static_cast<unsigned>(value) >> shift) & 0xFFu;
    };
    return QString::asprintf("%02x%02x%02x", byte(0), byte(8), byte(16));
}

QString colorAttributeValue(const QString& name, bool hex)
{
    if (name.isEmpty())
        return QString();
    if (!hex)
        return name;
    return QStringLiteral("\"#") + colorHexFromValue(ColorFromName(name)) + QLatin1Char('"');
}

QString colorAttributeValue(const QString& name)
{
    if (name.isEmpty())
        return QString();
    return colorAttributeValue(name, hexColorOption());
}

bool hexColorOption()
{
    return Options::kHexColor.read() != 0;
}

QColor colorFromValue(int value)
{
    if (value == kNoColor)
        return QColor();
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}
