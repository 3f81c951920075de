#include "editor/editor_fonts.h"

#include "core/options.h"

#include <Qsci/qsciscintillabase.h>

#include <QFont>
#include <QFontMetricsF>

namespace EditorFonts {
namespace {

const Options::FontSettings kFormats[] = {Options::kDefaultFont, Options::kTagFont,
                                          Options::kQuoteFont};

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
    const Options::FontSettings& s = kFormats[kind];
    CharFormat f;
    f.face = s.face.read().toUtf8();
    f.height = s.height.read();
    // A height no font can be drawn in (or whose size in hundredths of a
    // point would overflow) is taken as the default, as the options sheet
    // shows it.
    if (f.height < Options::kMinFontHeight || f.height > Options::kMaxFontHeight)
        f.height = s.height.defaultValue;
    f.color = s.color.read();
    f.effects = s.effects.read();
    return f;
}

namespace {

QFont screenFont(const CharFormat& f)
{
    QFont font(QString::fromUtf8(f.face));
    if (f.height > 0)
        font.setPointSizeF(f.height / 20.0);
    font.setBold(f.effects & 1);
    font.setItalic(f.effects & 2);
    return font;
}

} // namespace

bool sameAdvances(const CharFormat& a, const CharFormat& b)
{
    if (a.face != b.face || a.height != b.height)
        return false;
    if ((a.effects & 3) == (b.effects & 3))
        return true;
    static const QString sample =
        QStringLiteral("<A HREF=\"index.htm\">Wide mill, narrow lit ii WWW</A> 日本語のテキスト。");
    const QFontMetricsF ma(screenFont(a));
    const QFontMetricsF mb(screenFont(b));
    for (const QChar c : sample) {
        if (ma.horizontalAdvance(c) != mb.horizontalAdvance(c))
            return false;
    }
    return true;
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
