#include "editor/editor_fonts.h"

#include "app/settings_store.h"

#include <Qsci/qsciscintillabase.h>

#include <QFont>

namespace EditorFonts {
namespace {

struct FormatSettings
{
    StringSetting face;
    IntSetting height;
    IntSetting color;
    IntSetting effects;
};

const FormatSettings kFormats[] = {
    {{"Font", "DefaultFaceName", "ＭＳ ゴシック"},
     {"Font", "DefaultHeight", 240},
     {"Font", "DefaultColor", 0},
     {"Font", "DefaultEffects", 0}},
    {{"Font", "TagFaceName", "ＭＳ ゴシック"},
     {"Font", "TagHeight", 240},
     {"Font", "TagColor", 0xCC0000},
     {"Font", "TagEffects", 1}},
    {{"Font", "QuoteFaceName", "ＭＳ ゴシック"},
     {"Font", "QuoteHeight", 240},
     {"Font", "QuoteColor", 0},
     {"Font", "QuoteEffects", 1}},
};

} // namespace

void registerSubstitutions()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"),
                              QStringLiteral("Noto Sans Mono CJK JP"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"),
                              QStringLiteral("Noto Sans CJK JP"));
}

CharFormat readFormat(Kind kind)
{
    const FormatSettings& s = kFormats[kind];
    CharFormat f;
    f.face = s.face.read().toUtf8();
    f.height = s.height.read();
    f.color = s.color.read();
    f.effects = s.effects.read();
    return f;
}

void applyToStyle(QsciScintillaBase& control, int style, const CharFormat& format)
{
    const unsigned long st = static_cast<unsigned long>(style);
    if (!format.face.isEmpty())
        control.SendScintilla(QsciScintillaBase::SCI_STYLESETFONT, st, format.face.constData());
    // Twentieths of a point to hundredths of a point; a non-positive height
    // keeps the control's size.
    if (format.height > 0)
        control.SendScintilla(QsciScintillaBase::SCI_STYLESETSIZEFRACTIONAL, st,
                              static_cast<long>(format.height) * 5);
    control.SendScintilla(QsciScintillaBase::SCI_STYLESETFORE, st,
                          static_cast<long>(format.color & 0xFFFFFF));
    control.SendScintilla(QsciScintillaBase::SCI_STYLESETBOLD, st, (format.effects & 1) ? 1L : 0L);
    control.SendScintilla(QsciScintillaBase::SCI_STYLESETITALIC, st,
                          (format.effects & 2) ? 1L : 0L);
}

} // namespace EditorFonts
