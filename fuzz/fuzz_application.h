#pragma once

// A Qt application object for the fuzz targets that need widgets or the
// settings store: offscreen, with every XDG folder in a temporary folder so
// that no run ever touches the user's settings.

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

namespace Fuzz {

inline QApplication& application()
{
    static QTemporaryDir dir;
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
            qputenv(name, dir.filePath(QString::fromLatin1(name)).toUtf8());
        const QString runtime = dir.filePath(QStringLiteral("runtime"));
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
        static int argc = 1;
        static char name[] = "fuzz";
        static char* argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    return *app;
}

// The settings file the settings store reads (inside the temporary folder).
inline QString settingsFile()
{
    application();
    return QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")) +
           QStringLiteral("/Tollbury/Marquill.conf");
}

} // namespace Fuzz
