// What recovery costs a typed key: typing at the end of 1, 10 and 100 MB
// documents with the journal off and on.
//
// Run:  cmake --build build --target bench_recovery && \
//       QT_QPA_PLATFORM=offscreen ./build/bench_recovery [FILE]
//
// Keys are typed at a fast typist's pace (one every 25 ms), off and on in
// turn, twice each. A key's cost is the CPU time of the whole process (the
// worker thread that writes the journal included) from the key until every
// event it left behind has run, and the journal's writes, a quarter of a
// second apart, fall into the keys they follow. Without FILE, HTML is
// generated; with it, FILE is repeated to each size.
#include "bench_support.h"

#include "app/marquill_app.h"
#include "core/options.h"
#include "document/marquill_doc.h"
#include "editor/marquill_view.h"
#include "frame/child_frame.h"
#include "frame/document_manager.h"
#include "frame/main_frame.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

constexpr int kKeys = 200; // per run; four runs per size, off and on in turn
constexpr int kPaceMs = 25;

double processCpuUs()
{
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

QByteArray sampleHtml()
{
    QByteArray html;
    for (int row = 0; html.size() < (1 << 20); ++row)
        html += "<TR><TD CLASS=\"cell\">row " + QByteArray::number(row) +
                " 日本語のテキスト</TD><TD><A HREF=\"x.htm\">link</A></TD></TR>\r\n";
    return html;
}

// Words of four letters and a blank, a new line every 60 keys.
Qt::Key keyAt(int i)
{
    if (i % 60 == 59)
        return Qt::Key_Return;
    static const Qt::Key word[] = {Qt::Key_W, Qt::Key_O, Qt::Key_R, Qt::Key_D, Qt::Key_Space};
    return word[i % 5];
}

void typeAtTheEnd(CMarquillView* view, std::vector<double>& costs)
{
    view->setSel(view->textLength(), view->textLength());
    QElapsedTimer pace;
    pace.start();
    for (int i = 0; i < kKeys; ++i) {
        const double before = processCpuUs();
        QTest::keyClick(view, keyAt(i));
        QCoreApplication::processEvents();
        // Waits in the event loop (processEvents with a time limit returns at once
        // when no event waits, so looping on it would count its spinning).
        const qint64 next = qint64(i + 1) * kPaceMs;
        if (pace.elapsed() < next) {
            QEventLoop wait;
            QTimer::singleShot(int(next - pace.elapsed()), &wait, &QEventLoop::quit);
            wait.exec();
        }
        costs.push_back(processCpuUs() - before);
    }
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double mean(const std::vector<double>& values)
{
    double sum = 0;
    for (double v : values)
        sum += v;
    return sum / double(values.size());
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    Bench::isolate(home);
    QApplication app(argc, argv);
    QByteArray unit;
    if (app.arguments().size() > 1) {
        QFile f(app.arguments().at(1));
        if (!f.open(QIODevice::ReadOnly))
            return 1;
        unit = f.readAll();
    } else {
        unit = sampleHtml();
    }
    CMarquillApp marquill;
    marquill.initInstance({QStringLiteral("marquill")});
    std::printf("CPU per typed key at the end (us, whole process), journal off / on:\n");
    std::printf("%6s %12s %12s %12s %12s\n", "MB", "off median", "on median", "off mean",
                "on mean");
    double firstOn = 0;
    double lastOn = 0;
    bool kept = true;
    for (int megabytes : {1, 10, 100}) {
        QByteArray text;
        while (text.size() < qsizetype(megabytes) << 20)
            text += unit;
        const QString path = home.filePath(QStringLiteral("big%1.htm").arg(megabytes));
        if (!Bench::writeFile(path, text))
            return 1;
        text.clear();
        CMarquillDoc* doc = marquill.documentManager()->openDocumentFile(path);
        if (!doc)
            return 1;
        CMarquillView* view = marquill.documentManager()->frameOf(doc)->view();
        view->sci(QsciScintillaBase::SCI_DOCUMENTEND);
        // The text wrapped in the background would otherwise fall into the keys.
        view->finishWrapping();
        QTest::qWait(500);
        std::vector<double> off;
        std::vector<double> on;
        for (int round = 0; round < 2; ++round) {
            Options::kRecovery.write(0);
            QTest::qWait(1100); // the journal notices the option within a second
            typeAtTheEnd(view, off);
            Options::kRecovery.write(1);
            QTest::qWait(1100);
            typeAtTheEnd(view, on);
        }
        std::printf("%6d %12.1f %12.1f %12.1f %12.1f\n", megabytes, median(off), median(on),
                    mean(off), mean(on));
        kept = kept && mean(on) <= mean(off) * 1.15 + 10.0;
        if (megabytes == 1)
            firstOn = mean(on);
        lastOn = mean(on);
        marquill.documentManager()->closeAllDocumentsWithoutAsking();
        QCoreApplication::processEvents();
    }
    const bool flat = lastOn <= firstOn * 1.5 + 20.0;
    std::printf("target: journal on within 15%% of off at every size: %s; "
                "flat from 1 to 100 MB (at most 1.5 x): %s\n",
                kept ? "met" : "NOT met", flat ? "met" : "NOT met");
    delete marquill.mainFrame();
    return kept && flat ? 0 : 1;
}
