#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QTimer>

class CMarquillView;
class QLabel;

// Keeps the status bar's caret pane showing where the active view's
// selection starts: renewed when the caret or the text moves, at the cost
// of the one displayed line that holds it. While changes follow each other
// quickly (typing), the pane is renewed at most once per interval, and once
// more after the last of them, rather than repainted at every key.
class CCaretPane : public QObject
{
    Q_OBJECT

public:
    CCaretPane(QLabel* pane, QObject* parent);

    // Follows view from now on; null empties the pane.
    void follow(CMarquillView* view);
    void refresh();

private:
    void caretMoved();

    QLabel* m_pane;
    QPointer<CMarquillView> m_view;
    QMetaObject::Connection m_connection;
    QTimer m_interval; // runs for a while after each renewal
    bool m_pending = false;
};
