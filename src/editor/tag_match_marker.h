#pragma once

#include <QMetaObject>
#include <QObject>
#include <QTimer>

class CMyRichEditView;

// Marks, in a view, the name of the tag the caret is in and the name of its
// partner (MatchingTag) with a quiet box drawn under the text; the selection
// is left alone. The mark is worked out again only after the caret moves or
// the text changes, on the next turn of the event loop, so that a burst of
// keys costs one search. A search reads a few bytes around the caret and,
// only when the caret is in a tag's name, a bounded stretch of text around it.
class CTagMatchMarker : public QObject
{
    Q_OBJECT

public:
    // The control's indicator that draws the mark.
    static constexpr int kIndicator = 20;

    explicit CTagMatchMarker(CMyRichEditView& view);

    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }
    // Works the mark out now (what the deferred update does).
    void update();

private:
    void clear();

    CMyRichEditView& m_view;
    QTimer m_deferred;
    bool m_enabled = false;
    bool m_marked = false;
    // Where the caret was and how often the text had changed when the mark
    // was last worked out.
    qint64 m_caret = -1;
    quint64 m_changeCount = 0;
    QMetaObject::Connection m_connection;
};
