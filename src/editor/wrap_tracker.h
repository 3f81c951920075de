#pragma once

#include <QObject>
#include <QPointer>

class QTimer;
class QsciScintillaBase;

// How far the control has laid out (wrapped) its lines.
//
// The control wraps lines in the background, a few milliseconds at a time,
// from the top down, and lays out the lines shown whenever it paints. But a
// caret key that lands at or below the first line still waiting makes it
// wrap every waiting line at once, which on a large document freezes the
// window for seconds. This tracker knows that line, so the view can move the
// caret itself there.
//
// It learns it from the control: before the control wraps lines it asks for
// their styles up to the end of what it is about to wrap (its "style needed"
// notification, sent as long as it believes the text unstyled there, which
// is why the styling end is kept at 0). A request made while the control's
// background timer runs is a wrapping step; the line it ends at is where
// wrapping goes on from. The timer runs exactly while lines wait.
class CWrapTracker : public QObject
{
    Q_OBJECT

public:
    explicit CWrapTracker(QsciScintillaBase* control);

    // Whether lines still wait to be wrapped at the current width.
    bool pending() const;
    // Lines [0, wrappedLines()) are wrapped at the current width, all of
    // them when nothing waits.
    qint64 wrappedLines() const;

    // Everything from this document line down waits again (the text changed
    // there; 0: the width or the formats changed, or new text was loaded).
    void restartFrom(qint64 line);
    // Keeps the control asking before it wraps; call after writing styles.
    void resetStylingEnd();

    // While one lives, no control does background work (wrapping): for long
    // operations that keep the window alive by pumping events while they
    // change the styles, which would make the control wrap text that is
    // about to be restyled.
    class Hold
    {
    public:
        Hold();
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
    };

    // Wraps the lines still waiting, down to document line `line` (-1: all),
    // while a progress dialog that can cancel it shows once it takes a
    // moment. Returns whether those lines are wrapped.
    bool finish(qint64 line = -1);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onStyleNeeded(int position);

    QsciScintillaBase* m_control;
    QPointer<QTimer> m_idleTimer;
    qint64 m_frontier = 0;
    bool m_pendingUnseen = true;
};
