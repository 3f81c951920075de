// The settings read at start-up: whatever the settings file holds (values of
// any type and length, broken lines, binary bytes), the program starts, opens
// a new document and ends without a fault.

#include "app/marquill_app.h"
#include "core/ui_seam.h"
#include "frame/document_manager.h"
#include "frame/main_frame.h"
#include "fuzz_application.h"
#include "fuzz_support.h"

#include <QDialog>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Fuzz::application();
    UiSeam::setMessageHook([](const QString&, QMessageBox::Icon, QMessageBox::StandardButtons) {
        return QMessageBox::Cancel;
    });
    UiSeam::setDialogHook([](QDialog&) { return int(QDialog::Rejected); });
    UiSeam::setFileDialogHook([](const UiSeam::FileDialogRequest&) { return QString(); });
    UiSeam::setBeepHook([] {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A fresh folder for every input, so that no cached copy of an earlier
    // settings file is read.
    static const QByteArray base = qgetenv("XDG_CONFIG_HOME");
    static int round = 0;
    const QString folder = QString::fromLocal8Bit(base) + QStringLiteral("/run%1").arg(round++);
    QDir().mkpath(folder + QStringLiteral("/Tollbury"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder));
    {
        QFile conf(folder + QStringLiteral("/Tollbury/Marquill.conf"));
        if (!conf.open(QIODevice::WriteOnly))
            Fuzz::fail("cannot write the settings file");
        conf.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    {
        CMarquillApp app;
        if (app.initInstance({QStringLiteral("marquill")}, false)) {
            app.documentManager()->fileNew();
            QCoreApplication::processEvents();
            app.exitInstance();
        }
        app.documentManager()->closeAllDocumentsWithoutAsking();
        QCoreApplication::processEvents();
        delete app.mainFrame();
    }
    QDir(folder).removeRecursively();
    return 0;
}
