// A dialog's OK on a settings file of 100 MB: the one write it makes (ten
// history entries and a remembered value) and the first read after it, which
// parses the changed file again. Two forms of file: one huge value (a pasted
// text kept in a history) and two million small keys. Each run is compared
// with QSettings rewriting the whole file, the way every write went before.
//
//   cmake --build build --target bench_settings_file
//   QT_QPA_PLATFORM=offscreen build/bench_settings_file [MEGABYTES]

#include "bench_support.h"

#include "core/settings_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSettings>

#include <cstdio>

namespace {

QString settingsFile()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tollbury"),
                     QStringLiteral("Marquill"))
        .fileName();
}

QByteArray hugeValue(qint64 bytes)
{
    return "[History]\nFind\\History01=" + QByteArray(bytes, 'x') + "\n\n[Options]\nDate=1\n";
}

QByteArray manyKeys(qint64 bytes)
{
    QByteArray text("[Junk]\n");
    for (int i = 0; text.size() < bytes; ++i)
        text += "Key" + QByteArray::number(i) + "=value of the junk key " + QByteArray::number(i) +
                "\n";
    return text + "\n[Options]\nDate=1\n";
}

ProfileValues dialogValues(int run)
{
    ProfileValues values;
    for (int i = 1; i <= 10; ++i)
        values.append({QStringLiteral("History\\URL"),
                       QStringLiteral("History%1").arg(i, 2, 10, QLatin1Char('0')),
                       QStringLiteral("https://example.com/%1/%2").arg(run).arg(i)});
    values.append({QStringLiteral("Options"), QStringLiteral("Date"), run});
    return values;
}

void measure(const char* form, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(settingsFile()).absolutePath());
    if (!Bench::writeFile(settingsFile(), text))
        std::printf("cannot write %s\n", qPrintable(settingsFile()));
    QElapsedTimer timer;
    timer.start();
    getProfileInt(QStringLiteral("Options"), QStringLiteral("Date"), 0);
    const qint64 parse = timer.elapsed();
    qint64 worstOk = 0;
    qint64 worstRead = 0;
    for (int run = 2; run <= 4; ++run) {
        timer.restart();
        writeProfileValues(dialogValues(run));
        worstOk = qMax(worstOk, timer.elapsed());
        timer.restart();
        const int read = getProfileInt(QStringLiteral("Options"), QStringLiteral("Date"), 0);
        worstRead = qMax(worstRead, timer.elapsed());
        if (read != run)
            std::printf("  wrong value read back: %d instead of %d\n", read, run);
    }
    timer.restart();
    {
        QSettings whole(settingsFile(), QSettings::IniFormat);
        whole.setValue(QStringLiteral("Options/Date"), 9);
        whole.sync();
    }
    const qint64 rewrite = timer.elapsed();
    std::printf("%-10s %6.1f MB: first read %5lld ms; OK writes in %5lld ms, next read %5lld ms"
                " (worst of 3); QSettings rewriting the file: %6lld ms\n",
                form, text.size() / 1048576.0, parse, worstOk, worstRead, rewrite);
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    Bench::isolate(home);
    QCoreApplication app(argc, argv);
    const qint64 megabytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 100;
    std::printf("A dialog's OK on a large settings file (target: well under a second)\n");
    measure("one value", hugeValue(megabytes * 1048576));
    measure("many keys", manyKeys(megabytes * 1048576));
    return 0;
}
