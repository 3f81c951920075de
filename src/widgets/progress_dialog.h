#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>

#include <functional>

class QLabel;
class QProgressBar;

// A modeless progress dialog ("Marquill", a bar, a status text and the button
// "中断") for long operations that keep the interface alive by pumping events
// themselves. While it exists its owner (the application's main window) is
// disabled and every other window is blocked; the cancel button only raises a
// flag that the operation polls. Only once the operation has run for a moment
// does it show itself and start pumping events (then at most every few tens
// of milliseconds): a short run neither flashes a window nor lets the
// control's idle work (line wrapping) creep into it through the pumps.
class CProgressDialog : public QDialog
{
    Q_OBJECT

public:
    // owner: the window to disable; nullptr leaves the dialog unowned.
    explicit CProgressDialog(QWidget* owner, int lower = 0, int upper = 100, int step = 10);
    ~CProgressDialog() override;

    void setStatus(const QString& text);
    // Pumps pending events, then moves the bar; returns the previous position.
    int setPos(int position);
    // Pumps pending events; returns whether cancel was requested and clears it.
    bool checkCancelButton();

    int position() const;
    int positionUpdates() const { return m_positionUpdates; }

    // How long an operation runs before the dialog shows itself.
    static constexpr int kShowDelayMs = 300;
    // The shortest time between two event pumps.
    static constexpr int kPumpIntervalMs = 40;

    // Tests: called with every new dialog, before it starts.
    using CreationHook = std::function<void(CProgressDialog&)>;
    static void setCreationHook(CreationHook hook);

Q_SIGNALS:
    void positionChanged(int position);

protected:
    void reject() override; // Escape and the close button ask to cancel too

private:
    void pumpEvents();

    QProgressBar* m_bar;
    QLabel* m_status;
    QPointer<QWidget> m_owner;
    QPointer<QWidget> m_focus;        // given back its focus at the end
    QPointer<QWidget> m_activeWindow; // activated again at the end
    bool m_disabledOwner = false;
    bool m_cancelRequested = false;
    int m_positionUpdates = 0;
    QElapsedTimer m_started;
    qint64 m_lastPumpMs = 0;
};
