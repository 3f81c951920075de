#pragma once

#include "core/command_target.h"

#include <QMdiSubWindow>
#include <QPointer>

class CMarquillDoc;
class CMarquillView;

// A document window inside the main frame: holds the document's one view,
// shows the document's title (with " *" while modified) and asks before a
// modified document is closed. All document windows share one show state:
// the next window opens maximised or normal the way the user last had one.
class CChildFrame : public QMdiSubWindow, public CCommandTarget
{
    Q_OBJECT

public:
    CChildFrame(CMarquillDoc* doc, CMarquillView* view, QWidget* parent = nullptr);
    ~CChildFrame() override;

    // The document window's commands (Close, which asks about unsaved
    // changes first).
    static CCommandMapOf<CChildFrame>& commands();
    const CCommandMap& commandMap() const override { return commands(); }

    // The document; null once it has been deleted (a closed window can
    // outlive its document until its own deferred deletion).
    CMarquillDoc* doc() const { return m_doc; }
    CMarquillView* view() const { return m_view; }

    // Shows the window the first time, maximised or normal by the shared state.
    void showFirstTime();

    // The shared show state of the document windows: 3 maximised, 1 normal.
    // It follows the user's maximising and restoring; the application reads
    // it from the settings at start-up and writes it back at exit.
    static int showCmd();
    static void setShowCmd(int showCmd);

    // Closes without asking about unsaved changes.
    void closeWithoutAsking();

Q_SIGNALS:
    void closed(CChildFrame* frame);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QPointer<CMarquillDoc> m_doc;
    CMarquillView* m_view;
    bool m_forceClose = false;
    bool m_shown = false;
};
