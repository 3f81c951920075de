#pragma once

// Shared set-up for the test programs: each test program runs with its own
// settings store and files in a temporary folder, never the user's.

#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace TestSupport {

// Points the settings store (and every XDG folder) at a fresh temporary folder.
// Call before the QApplication is created.
inline QTemporaryDir& isolateSettings()
{
    static QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toUtf8());
    qputenv("XDG_CACHE_HOME", dir.filePath(QStringLiteral("cache")).toUtf8());
    qputenv("XDG_STATE_HOME", dir.filePath(QStringLiteral("state")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", dir.filePath(QStringLiteral("runtime")).toUtf8());
    QDir().mkpath(dir.filePath(QStringLiteral("runtime")));
    QFile::setPermissions(dir.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return dir;
}

// Removes every stored setting (between test functions).
inline void clearSettings()
{
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tollbury"),
              QStringLiteral("Marquill"))
        .clear();
}

} // namespace TestSupport

// Like QTEST_MAIN, with isolated settings.
#define MARQUILL_TEST_MAIN(TestClass)                                                          \
    int main(int argc, char** argv)                                                            \
    {                                                                                          \
        TestSupport::isolateSettings();                                                        \
        QApplication app(argc, argv);                                                          \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                               \
        TestClass tc;                                                                          \
        QTEST_SET_MAIN_SOURCE_PATH                                                             \
        return QTest::qExec(&tc, argc, argv);                                                  \
    }
