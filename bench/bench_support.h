#pragma once

// What the benchmark programs share: a run of their own, apart from the
// user's settings and recovery copies, on a file named on the command line or
// made for the run.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace Bench {

// Settings and recovery copies of this run go under `home`. Call before the
// QApplication is created.
inline void isolate(const QTemporaryDir& home)
{
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_STATE_HOME", home.filePath(QStringLiteral("state")).toUtf8());
}

// Writes `bytes` to `path`; false when it cannot.
inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The file named first on the command line, or else `make()` written to
// big.htm under `home`; empty when that cannot be written.
template <typename Make>
QString documentPath(const QStringList& arguments, const QTemporaryDir& home, Make make)
{
    QString path = arguments.value(1);
    if (path.isEmpty()) {
        path = home.filePath(QStringLiteral("big.htm"));
        if (!writeFile(path, make()))
            return {};
    }
    return path;
}

} // namespace Bench
