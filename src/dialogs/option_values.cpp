#include "dialogs/option_values.h"

#include "core/options.h"
#include "editor/rules/date_format.h"

#include <cmath>

namespace OptionRules {
namespace {

constexpr int kShowCommands[] = {5, 2, 3};

FontValues readFont(const Options::FontSettings& s, int defaultColor)
{
    FontValues f;
    f.face = s.face.read();
    if (f.face.trimmed().isEmpty())
        f.face = QString::fromUtf8(s.face.defaultValue);
    f.height = s.height.read();
    if (f.height < Options::kMinFontHeight || f.height > Options::kMaxFontHeight)
        f.height = s.height.defaultValue;
    f.color = s.color.read(defaultColor);
    if (f.color < 0 || f.color > 0xFFFFFF)
        f.color = defaultColor;
    f.effects = s.effects.read() & 3;
    return f;
}

void addFont(ProfileValues& values, const Options::FontSettings& s, const FontValues& f)
{
    values << s.face.with(f.face) << s.height.with(f.height) << s.color.with(f.color)
           << s.effects.with(f.effects);
}

} // namespace

OptionValues read()
{
    using namespace Options;
    OptionValues v;
    v.fileNew = kFileNew.read() != 0;
    v.dialog = kDialog.read(kDialogSheetDefault) != 0;
    v.browserShow = kBrowserShow.read();
    if (browserShowRow(v.browserShow) < 0)
        v.browserShow = kBrowserShow.defaultValue;
    v.browserProgram = kBrowserProgram.read();
    v.defaultFolder = kDefaultFolder.read() != 0;
    v.recovery = kRecovery.read() != 0;
    v.restoreSession = kRestoreSession.read() != 0;
    v.smallLetter = kSmallLetter.read() != 0;
    v.stringSelect = kStringSelect.read() != 0;
    v.getTagMessageBox = kGetTagMessageBox.read() != 0;
    v.autoColor = kAutoColor.read() != 0;
    v.hexColor = kHexColor.read() != 0;
    v.matchTag = kMatchTag.read() != 0;
    v.flatbar = kFlatbar.read() != 0;
    v.ownerDraw = kOwnerDraw.read() != 0;
    v.lineNumbers = kLineNumbers.read() != 0;
    // The row the date command uses for the stored value.
    v.date = DateFormat::tableRow(kDate.read());
    v.checkAccessibility = qBound(0, kCheckAccessibility.read(), 3);
    v.checkWarnings = kCheckWarnings.read() != 0;
    v.previewTrusted = kPreviewTrusted.read() != 0;
    v.fonts[OptionValues::DefaultFont] = readFont(kDefaultFont, kDefaultFont.color.defaultValue);
    v.fonts[OptionValues::TagFont] = readFont(kTagFont, kTagColorSheetDefault);
    v.fonts[OptionValues::QuoteFont] = readFont(kQuoteFont, kQuoteFont.color.defaultValue);
    return v;
}

void write(const OptionValues& v)
{
    using namespace Options;
    ProfileValues values{kFileNew.with(v.fileNew),
                         kDialog.with(v.dialog),
                         kBrowserShow.with(v.browserShow),
                         kBrowserProgram.with(v.browserProgram),
                         kDefaultFolder.with(v.defaultFolder),
                         kRecovery.with(v.recovery),
                         kDate.with(v.date),
                         kFlatbar.with(v.flatbar),
                         kOwnerDraw.with(v.ownerDraw),
                         kSmallLetter.with(v.smallLetter),
                         kStringSelect.with(v.stringSelect),
                         kGetTagMessageBox.with(v.getTagMessageBox),
                         kAutoColor.with(v.autoColor),
                         kHexColor.with(v.hexColor),
                         kCheckAccessibility.with(v.checkAccessibility),
                         kCheckWarnings.with(v.checkWarnings),
                         kPreviewTrusted.with(v.previewTrusted),
                         kRestoreSession.with(v.restoreSession),
                         kMatchTag.with(v.matchTag),
                         kLineNumbers.with(v.lineNumbers)};
    addFont(values, kDefaultFont, v.fonts[OptionValues::DefaultFont]);
    addFont(values, kTagFont, v.fonts[OptionValues::TagFont]);
    addFont(values, kQuoteFont, v.fonts[OptionValues::QuoteFont]);
    writeProfileValues(values);
}

int browserShowRow(int showCommand)
{
    for (int row = 0; row < 3; ++row)
        if (kShowCommands[row] == showCommand)
            return row;
    return -1;
}

int browserShowOfRow(int row)
{
    return row >= 0 && row < 3 ? kShowCommands[row] : kShowCommands[0];
}

QFont screenFont(const FontValues& f)
{
    QFont font(f.face);
    // Tenths of a point (height / 2) as points.
    font.setPointSizeF(qMax(f.height / 2, 1) / 10.0);
    font.setWeight((f.effects & 1) ? QFont::Bold : QFont::Normal);
    font.setItalic(f.effects & 2);
    return font;
}

FontValues fromChosenFont(const QFont& chosen, const QColor& color)
{
    FontValues f;
    f.face = chosen.family();
    const int tenths = int(std::lround(chosen.pointSizeF() * 10));
    f.height = tenths * 2;
    f.color = colorRefOf(color);
    f.effects = (chosen.weight() == QFont::Bold ? 1 : 0) + (chosen.italic() ? 2 : 0);
    return f;
}

QColor colorOf(int colorRef)
{
    return QColor(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}

int colorRefOf(const QColor& color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

} // namespace OptionRules
