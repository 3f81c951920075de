#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>

class CMarquillView;
class QLabel;

// Keeps the status bar's caret pane showing where the active view's
// selection starts: renewed when the caret or the text moves, at the cost
// of the one displayed line that holds it.
class CCaretPane : public QObject
{
    Q_OBJECT

public:
    CCaretPane(QLabel* pane, QObject* parent);

    // Follows view from now on; null empties the pane.
    void follow(CMarquillView* view);
    void refresh();

private:
    QLabel* m_pane;
    QPointer<CMarquillView> m_view;
    QMetaObject::Connection m_connection;
};
