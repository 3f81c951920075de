#include "editor/wrap_tracker.h"

#include "widgets/progress_dialog.h"

#include <Qsci/qsciscintillabase.h>

#include <QCoreApplication>
#include <QMainWindow>
#include <QResizeEvent>
#include <QTimer>

namespace {

using Sci = QsciScintillaBase;

// Notes which of the control's timers is being served, so that a request
// for styles can be told to come from the background wrapping. The timers
// belong to an object of QScintilla's that is not a child of the widget, so
// they are recognised by their parent's class.
class ControlTimerWatch : public QObject
{
public:
    static void install()
    {
        static ControlTimerWatch* watch = nullptr;
        if (!watch && QCoreApplication::instance()) {
            watch = new ControlTimerWatch(QCoreApplication::instance());
            QCoreApplication::instance()->installEventFilter(watch);
        }
    }
    static QTimer* current() { return s_current; }
    // The control's window needs no repaint for the rest of this step.
    static void quiet(QWidget* viewport)
    {
        viewport->setUpdatesEnabled(false);
        s_quiet = viewport;
    }
    static inline int s_holds = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Timer || !watched->parent() ||
            !watched->parent()->inherits("QsciScintillaQt"))
            return false;
        auto* timer = qobject_cast<QTimer*>(watched);
        if (!timer)
            return false;
        if (s_holds > 0)
            return true; // held back; the timer fires again afterwards
        QTimer* outer = s_current;
        s_current = timer;
        watched->event(event);
        s_current = outer;
        if (QWidget* viewport = s_quiet) {
            // Enabling updates the usual way would repaint the whole window.
            viewport->setAttribute(Qt::WA_ForceUpdatesDisabled, false);
            viewport->setAttribute(Qt::WA_UpdatesDisabled, false);
            s_quiet = nullptr;
        }
        return true;
    }

private:
    using QObject::QObject;
    static inline QTimer* s_current = nullptr;
    static inline QPointer<QWidget> s_quiet;
};

} // namespace

CWrapTracker::CWrapTracker(QsciScintillaBase* control) : QObject(control), m_control(control)
{
    ControlTimerWatch::install();
    connect(control, &QsciScintillaBase::SCN_STYLENEEDED, this, &CWrapTracker::onStyleNeeded);
    connect(control, &QsciScintillaBase::SCN_ZOOM, this, [this] { restartFrom(0); });
    control->viewport()->installEventFilter(this);
    resetStylingEnd();
}

bool CWrapTracker::eventFilter(QObject*, QEvent* event)
{
    // A new width (the window, or the scroll bar coming or going) rewraps all.
    if (event->type() == QEvent::Resize) {
        const auto* resize = static_cast<QResizeEvent*>(event);
        if (resize->size().width() != resize->oldSize().width())
            restartFrom(0);
    }
    return false;
}

CWrapTracker::Hold::Hold()
{
    ControlTimerWatch::install();
    ++ControlTimerWatch::s_holds;
}

CWrapTracker::Hold::~Hold()
{
    --ControlTimerWatch::s_holds;
}

bool CWrapTracker::pending() const
{
    if (m_idleTimer)
        return m_idleTimer->isActive();
    // Until the control's first background step nothing tells; an empty text
    // has nothing to wrap.
    return m_pendingUnseen && m_control->SendScintilla(Sci::SCI_GETLENGTH) > 0;
}

qint64 CWrapTracker::wrappedLines() const
{
    return pending() ? m_frontier : qint64(m_control->SendScintilla(Sci::SCI_GETLINECOUNT));
}

void CWrapTracker::restartFrom(qint64 line)
{
    m_frontier = qMin(m_frontier, qMax<qint64>(0, line));
    if (!m_idleTimer)
        m_pendingUnseen = true;
}

void CWrapTracker::resetStylingEnd()
{
    m_control->SendScintilla(Sci::SCI_STARTSTYLING, 0ul);
}

void CWrapTracker::onStyleNeeded(int position)
{
    QTimer* timer = ControlTimerWatch::current();
    if (!timer)
        return; // painting or scrolling: lines shown, not the wrapping order
    m_idleTimer = timer;
    m_pendingUnseen = false;
    // The step wraps the lines from the last step's end up to the one this
    // position begins.
    const qint64 from = m_frontier;
    m_frontier =
        m_control->SendScintilla(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(position));
    // Wrapping lines out of view changes nothing the window shows (the
    // control keeps the same line at the top, and the lines in view were
    // wrapped when they were painted), only the scroll bar: the repaint the
    // control asks for after each step would be wasted.
    const long top = m_control->SendScintilla(Sci::SCI_GETFIRSTVISIBLELINE);
    const qint64 firstShown = m_control->SendScintilla(Sci::SCI_DOCLINEFROMVISIBLE, top);
    const qint64 lastShown = m_control->SendScintilla(
        Sci::SCI_DOCLINEFROMVISIBLE, top + m_control->SendScintilla(Sci::SCI_LINESONSCREEN) + 1);
    QWidget* viewport = m_control->viewport();
    if ((m_frontier < firstShown || from > lastShown) && viewport->updatesEnabled())
        ControlTimerWatch::quiet(viewport);
}

bool CWrapTracker::finish(qint64 line)
{
    auto waiting = [&] { return pending() && (line < 0 || m_frontier <= line); };
    if (!waiting())
        return true;
    const qint64 target =
        line >= 0 ? line + 1 : qint64(m_control->SendScintilla(Sci::SCI_GETLINECOUNT));
    QPointer<QsciScintillaBase> alive(m_control);
    QWidget* viewport = m_control->viewport();
    const bool painting = viewport->updatesEnabled();
    viewport->setUpdatesEnabled(false);
    bool complete = true;
    {
        CProgressDialog progress(qobject_cast<QMainWindow*>(m_control->window()));
        progress.setStatus(QStringLiteral("行を折り返しています。"));
        // Each pass of the event loop lets the control wrap one step.
        for (int quietPasses = 0; alive && waiting();) {
            const qint64 before = m_frontier;
            QCoreApplication::processEvents();
            if (!alive)
                return false;
            quietPasses = m_frontier == before && !m_idleTimer ? quietPasses + 1 : 0;
            if (quietPasses > 100) {
                m_pendingUnseen = false; // the control had nothing to wrap
                break;
            }
            progress.setPos(
                int(qBound<qint64>(0, m_frontier * 100 / qMax<qint64>(1, target), qint64(100))));
            if (progress.checkCancelButton()) {
                complete = false;
                break;
            }
        }
    }
    if (alive)
        viewport->setUpdatesEnabled(painting);
    return complete && alive;
}
