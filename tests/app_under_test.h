#pragma once

// The whole application started and torn down inside a test program.

#include "app/marquill_app.h"
#include "frame/document_manager.h"
#include "frame/main_frame.h"

#include <QCoreApplication>

namespace TestSupport {

// Closes every document without asking, lets the closing finish, and deletes
// the main window and the application; app is null afterwards.
inline void tearDownApp(CMarquillApp*& app)
{
    if (!app)
        return;
    app->documentManager()->closeAllDocumentsWithoutAsking();
    QCoreApplication::processEvents();
    delete app->mainFrame();
    delete app;
    app = nullptr;
}

} // namespace TestSupport
