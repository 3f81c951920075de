#pragma once

#include "core/command_target.h"

#include <QMdiSubWindow>

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

    CMarquillDoc* doc() const { return m_doc; }
    CMarquillView* view() const { return m_view; }

    // Shows the window the first time, maximised or normal by the shared state.
    void showFirstTime();

    // Closes without asking about unsaved changes.
    void closeWithoutAsking();

Q_SIGNALS:
    void closed(CChildFrame* frame);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    CMarquillDoc* m_doc;
    CMarquillView* m_view;
    bool m_forceClose = false;
    bool m_shown = false;
};
