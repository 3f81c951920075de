#pragma once

// The whole application on real widgets, started afresh for each test
// function of the main-window tests.

#include "app/marquill_app.h"
#include "app_under_test.h"
#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "document/marquill_doc.h"
#include "editor/marquill_view.h"
#include "frame/child_frame.h"
#include "frame/document_manager.h"
#include "frame/main_frame.h"
#include "frame/menu_builder.h"
#include "test_support.h"

#include <QMenuBar>

class MainFrameFixture
{
protected:
    QTemporaryDir m_dir;
    CMarquillApp* m_app = nullptr;
    QList<QString> m_messages;

    CMainFrame* frame() const { return m_app->mainFrame(); }
    CMarquillView* viewOf(CMarquillDoc* doc) const
    {
        return m_app->documentManager()->frameOf(doc)->view();
    }

    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return QString();
        f.write(bytes);
        return path;
    }

    QList<QAction*> allActions(QMenuBar* bar)
    {
        QList<QAction*> result;
        for (QMenu* menu : bar->findChildren<QMenu*>())
            result += menu->actions();
        return result;
    }

    QAction* menuAction(int id)
    {
        for (QAction* a : allActions(frame()->menuBar()))
            if (MenuBuilder::commandId(a) == id && !a->menu())
                return a;
        return nullptr;
    }

    // Settings cleared, messages caught, the application started with its
    // main window active (accelerators only work in the active window).
    void startApp()
    {
        TestSupport::clearSettings();
        m_messages.clear();
        UiSeam::setMessageHook(
            [this](const QString& text, QMessageBox::Icon, QMessageBox::StandardButtons) {
                m_messages.append(text);
                return QMessageBox::Ok;
            });
        m_app = new CMarquillApp;
        QVERIFY(m_app->initInstance({QStringLiteral("marquill")}));
        // Accelerators only work in the active window.
        frame()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame()));
    }

    void stopApp()
    {
        TestSupport::tearDownApp(m_app);
        UiSeam::setMessageHook({});
        UiSeam::setFileDialogHook({});
    }
};
