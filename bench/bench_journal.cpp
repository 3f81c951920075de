// The journal of edits: what recording an edit costs the typing thread, and
// what restoring a large document from its journal costs in time and memory.
//
// Run:  cmake --build build --target bench_journal && ./build/bench_journal [MEGABYTES]
//
// A base of MEGABYTES (default 100) of HTML is written to a temporary folder
// with a journal of typing at three places and a few large pastes and
// deletions over it. The restore runs in a child process of its own, so that
// its peak memory (VmHWM) is its own: the base read in pieces into a gap
// buffer, the journal read whole and checked before any edit is made.
#include "bench_support.h"

#include "document/edit_journal.h"
#include "document/journal_replay.h"
#include "document/journal_writer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThreadPool>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kTypedKeys = 30000;

QByteArray htmlOf(qint64 size)
{
    QByteArray html;
    html.reserve(size + 200);
    int row = 0;
    while (html.size() < size)
        html += "<TR><TD CLASS=\"cell\">row " + QByteArray::number(row++) +
                " 日本語のテキスト</TD><TD><A HREF=\"x.htm\">link</A></TD></TR>\r\n";
    html.truncate(size);
    return html;
}

qint64 peakKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

// The journal: keys typed at the end, in the middle and at the start in turn,
// with a deletion every tenth key, and a paste and a cut of 1 MB.
QByteArray journalFor(qint64 baseLength, const QByteArray& digest)
{
    EditJournal::Header header;
    header.fields.title = QStringLiteral("big.htm");
    header.fields.lineEnd = "\r\n";
    header.started = QDateTime::currentDateTimeUtc();
    header.baseLength = baseLength;
    header.baseDigest = digest;
    QByteArray out = EditJournal::encodeHeader(header);
    qint64 length = baseLength;
    // The end, the middle and the start: an edit at one place moves the
    // places after it.
    qint64 places[3] = {baseLength, baseLength / 2, 0};
    for (int i = 0; i < kTypedKeys; ++i) {
        const int k = i % 3;
        const qint64 at = places[k];
        const int step = i % 10 == 9 ? -1 : 1;
        if (step < 0)
            EditJournal::appendDelete(out, at - 1, 1);
        else
            EditJournal::appendInsert(out, at, "a");
        for (int j = 0; j < k; ++j)
            places[j] += step;
        places[k] += step;
        length += step;
    }
    const QByteArray paste(1 << 20, 'p');
    EditJournal::appendInsert(out, length / 3, paste);
    EditJournal::appendDelete(out, length / 4, 1 << 20);
    return out;
}

int restoreChild(const QString& base, const QString& journalFile)
{
    QElapsedTimer t;
    t.start();
    QFile f(journalFile);
    if (!f.open(QIODevice::ReadOnly))
        return 2;
    const QByteArray journal = f.readAll();
    const EditJournal::Reading reading = EditJournal::read(journal);
    if (!reading.isWhole())
        return 3;
    JournalReplay::GapText text;
    const auto outcome =
        JournalReplay::restore(reading, journal, {JournalReplay::fileBase(base)}, text);
    const qint64 length = text.length();
    const double ms = t.nsecsElapsed() / 1e6;
    std::printf("%d %lld %.1f %lld\n", int(outcome), length, ms, peakKilobytes());
    return outcome == JournalReplay::Outcome::Restored && length == reading.textLength ? 0 : 4;
}

// What the typing thread pays per edit: the record formatted into memory.
void recordingCost()
{
    QTemporaryDir dir;
    QThreadPool worker;
    worker.setMaxThreadCount(1);
    CJournalWriter writer(worker, dir.filePath(QStringLiteral("w.journal")));
    EditJournal::Header header;
    header.fields.title = QStringLiteral("w.htm");
    header.fields.lineEnd = "\n";
    header.started = QDateTime::currentDateTimeUtc();
    header.baseDigest = EditJournal::digestOf({});
    writer.start(header);
    std::vector<double> times;
    for (int i = 0; i < 20000; ++i) {
        QElapsedTimer t;
        t.start();
        writer.insert(100000000 + i, "a");
        times.push_back(t.nsecsElapsed() / 1000.0);
        if (i % 100 == 99)
            QCoreApplication::processEvents();
    }
    QElapsedTimer t;
    t.start();
    const bool flushed = writer.flush();
    std::sort(times.begin(), times.end());
    std::printf("recording an edit on the typing thread: median %.2f us, 99th %.2f us; "
                "%lld bytes written and synced in %.1f ms (%s)\n",
                times[times.size() / 2], times[times.size() * 99 / 100], writer.size(),
                t.nsecsElapsed() / 1e6, flushed ? "ok" : "FAILED");
    writer.discard();
    worker.waitForDone();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) == QLatin1String("--restore"))
        return restoreChild(args.value(2), args.value(3));
    recordingCost();

    const qint64 megabytes = std::max(1LL, args.value(1, QStringLiteral("100")).toLongLong());
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("big.htm"));
    const QString journalFile = dir.filePath(QStringLiteral("big.journal"));
    qint64 baseLength = 0;
    {
        const QByteArray text = htmlOf(megabytes << 20);
        baseLength = text.size();
        const QByteArray journal = journalFor(baseLength, EditJournal::digestOf(text));
        if (!Bench::writeFile(base, text) || !Bench::writeFile(journalFile, journal))
            return 1;
        std::printf("base %lld bytes, journal %lld bytes (%d keys, a 1 MB paste and cut)\n",
                    baseLength, journal.size(), kTypedKeys);
    }
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--restore"), base, journalFile});
    child.waitForFinished(-1);
    const QList<QByteArray> out = child.readAllStandardOutput().trimmed().split(' ');
    if (child.exitCode() != 0 || out.size() < 4) {
        std::printf("restore FAILED (exit %d)\n", child.exitCode());
        return 1;
    }
    const double peak = out[3].toDouble() * 1024 / double(baseLength);
    std::printf("restore: %.0f ms, peak memory %.2f x the text (target at most 3 x): %s\n",
                out[2].toDouble(), peak, peak <= 3.0 ? "met" : "NOT met");
    return peak <= 3.0 ? 0 : 1;
}
