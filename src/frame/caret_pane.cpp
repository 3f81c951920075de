#include "frame/caret_pane.h"

#include "editor/caret_status.h"
#include "editor/marquill_view.h"

#include <QLabel>

namespace {

// Shortest time between two renewals, in milliseconds: too short to be seen
// as a delay, long enough to skip most keys of fast typing.
constexpr int kRenewalInterval = 100;

} // namespace

CCaretPane::CCaretPane(QLabel* pane, QObject* parent) : QObject(parent), m_pane(pane)
{
    m_interval.setSingleShot(true);
    m_interval.setInterval(kRenewalInterval);
    connect(&m_interval, &QTimer::timeout, this, [this] {
        if (m_pending)
            refresh();
    });
}

void CCaretPane::follow(CMarquillView* view)
{
    if (view == m_view && (view || m_pane->text().isEmpty()))
        return;
    disconnect(m_connection);
    m_view = view;
    if (view) {
        m_connection = connect(view, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int updated) {
            if (updated &
                (QsciScintillaBase::SC_UPDATE_CONTENT | QsciScintillaBase::SC_UPDATE_SELECTION))
                caretMoved();
        });
    }
    refresh();
}

void CCaretPane::caretMoved()
{
    if (m_interval.isActive())
        m_pending = true;
    else
        refresh();
}

void CCaretPane::refresh()
{
    m_pending = false;
    m_interval.start();
    m_pane->setEnabled(m_view != nullptr);
    m_pane->setText(m_view ? CaretStatus::text(*m_view) : QString());
}
