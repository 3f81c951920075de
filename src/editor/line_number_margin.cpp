#include "editor/line_number_margin.h"

#include "editor/my_rich_edit_view.h"
#include "editor/rules/line_number_width.h"

namespace {

// The control's margin for line numbers; margin 1 is the selection bar.
constexpr unsigned long kMargin = 0;
constexpr long kNumberColor = 0x808080;
constexpr long kBackgroundColor = 0xF0F0F0;

} // namespace

CLineNumberMargin::CLineNumberMargin(CMyRichEditView& view) : QObject(&view), m_view(view) {}

void CLineNumberMargin::setShown(bool shown)
{
    if (shown == m_shown)
        return;
    m_shown = shown;
    disconnect(m_connection);
    disconnect(m_zoomConnection);
    if (!shown) {
        m_view.sci(QsciScintillaBase::SCI_SETMARGINWIDTHN, kMargin, 0);
        m_digits = 0;
        Q_EMIT widthChanged();
        return;
    }
    m_view.sci(QsciScintillaBase::SCI_SETMARGINTYPEN, kMargin, QsciScintillaBase::SC_MARGIN_NUMBER);
    m_view.sci(QsciScintillaBase::SCI_SETMARGINSENSITIVEN, kMargin, 0);
    // The count of lines is kept by the control; reading it costs nothing.
    m_connection = connect(&m_view, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int updated) {
        if (updated & QsciScintillaBase::SC_UPDATE_CONTENT)
            followLineCount();
    });
    m_zoomConnection =
        connect(&m_view, &QsciScintillaBase::SCN_ZOOM, this, [this] { setWidth(m_digits); });
    restyle();
}

void CLineNumberMargin::restyle()
{
    if (!m_shown)
        return;
    const unsigned long style = QsciScintillaBase::STYLE_LINENUMBER;
    m_view.sci(QsciScintillaBase::SCI_STYLESETFORE, style, kNumberColor);
    m_view.sci(QsciScintillaBase::SCI_STYLESETBACK, style, kBackgroundColor);
    m_view.sci(QsciScintillaBase::SCI_STYLESETBOLD, style, 0);
    m_view.sci(QsciScintillaBase::SCI_STYLESETITALIC, style, 0);
    setWidth(LineNumberWidth::digits(m_view.sci(QsciScintillaBase::SCI_GETLINECOUNT)));
}

void CLineNumberMargin::followLineCount()
{
    const int digits = LineNumberWidth::digits(m_view.sci(QsciScintillaBase::SCI_GETLINECOUNT));
    if (digits != m_digits)
        setWidth(digits);
}

void CLineNumberMargin::setWidth(int digits)
{
    m_digits = digits;
    const long digitWidth = m_view.SendScintilla(QsciScintillaBase::SCI_TEXTWIDTH,
                                                 QsciScintillaBase::STYLE_LINENUMBER, "9");
    const int width = LineNumberWidth::pixels(digits, int(digitWidth));
    if (m_view.sci(QsciScintillaBase::SCI_GETMARGINWIDTHN, kMargin) == width)
        return;
    m_view.sci(QsciScintillaBase::SCI_SETMARGINWIDTHN, kMargin, width);
    Q_EMIT widthChanged();
}
