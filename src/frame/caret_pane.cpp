#include "frame/caret_pane.h"

#include "editor/caret_status.h"
#include "editor/marquill_view.h"

#include <QLabel>

CCaretPane::CCaretPane(QLabel* pane, QObject* parent) : QObject(parent), m_pane(pane) {}

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
                refresh();
        });
    }
    refresh();
}

void CCaretPane::refresh()
{
    m_pane->setEnabled(m_view != nullptr);
    m_pane->setText(m_view ? CaretStatus::text(*m_view) : QString());
}
