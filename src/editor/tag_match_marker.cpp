#include "editor/tag_match_marker.h"

#include "editor/my_rich_edit_view.h"
#include "editor/rules/matching_tag.h"

namespace {

constexpr long kBoxColor = 0xD08040; // 0x00BBGGRR: a light blue
constexpr long kFillAlpha = 60;
constexpr long kOutlineAlpha = 140;

} // namespace

CTagMatchMarker::CTagMatchMarker(CMyRichEditView& view) : QObject(&view), m_view(view)
{
    m_deferred.setSingleShot(true);
    m_deferred.setInterval(0);
    connect(&m_deferred, &QTimer::timeout, this, &CTagMatchMarker::update);
    const unsigned long indicator = kIndicator;
    m_view.sci(QsciScintillaBase::SCI_INDICSETSTYLE, indicator,
               QsciScintillaBase::INDIC_STRAIGHTBOX);
    m_view.sci(QsciScintillaBase::SCI_INDICSETFORE, indicator, kBoxColor);
    m_view.sci(QsciScintillaBase::SCI_INDICSETALPHA, indicator, kFillAlpha);
    m_view.sci(QsciScintillaBase::SCI_INDICSETOUTLINEALPHA, indicator, kOutlineAlpha);
    m_view.sci(QsciScintillaBase::SCI_INDICSETUNDER, indicator, 1);
}

void CTagMatchMarker::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    disconnect(m_connection);
    if (!enabled) {
        m_deferred.stop();
        clear();
        m_caret = -1;
        return;
    }
    m_connection = connect(&m_view, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int updated) {
        if (updated &
            (QsciScintillaBase::SC_UPDATE_CONTENT | QsciScintillaBase::SC_UPDATE_SELECTION))
            m_deferred.start();
    });
    update();
}

void CTagMatchMarker::update()
{
    const qint64 caret = m_view.sci(QsciScintillaBase::SCI_GETCURRENTPOS);
    // Marking repaints the view, which may report an update again: the mark
    // stands as long as neither the caret nor the text has moved.
    if (m_enabled && caret == m_caret && m_view.changeCount() == m_changeCount)
        return;
    m_caret = caret;
    m_changeCount = m_view.changeCount();
    clear();
    if (!m_enabled)
        return;
    const qint64 length = m_view.textLength();
    // Most of the time the caret is in no tag's name: the bytes next to it
    // tell, without reading further.
    const qint64 nearStart = qMax<qint64>(0, caret - MatchingTag::kLongestName - 2);
    const QByteArray near =
        m_view.textRange(nearStart, qMin(length, caret + MatchingTag::kLongestName + 1));
    if (MatchingTag::nameAt(near, caret - nearStart).start < 0)
        return;
    const qint64 windowStart = qMax<qint64>(0, caret - MatchingTag::kReach);
    const QByteArray window =
        m_view.textRange(windowStart, qMin(length, caret + MatchingTag::kReach));
    const MatchingTag::Match match = MatchingTag::find(window, caret - windowStart);
    if (!match.found)
        return;
    m_view.sci(QsciScintillaBase::SCI_SETINDICATORCURRENT, kIndicator);
    for (const MatchingTag::Range& r : {match.name, match.partner})
        m_view.sci(QsciScintillaBase::SCI_INDICATORFILLRANGE,
                   static_cast<unsigned long>(windowStart + r.start),
                   static_cast<long>(r.end - r.start));
    m_marked = true;
}

void CTagMatchMarker::clear()
{
    if (!m_marked)
        return;
    m_marked = false;
    m_view.sci(QsciScintillaBase::SCI_SETINDICATORCURRENT, kIndicator);
    m_view.sci(QsciScintillaBase::SCI_INDICATORCLEARRANGE, 0,
               static_cast<long>(m_view.textLength()));
}
