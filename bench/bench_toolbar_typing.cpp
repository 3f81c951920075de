// Typing at the end of a 10 MB document with both toolbars shown against
// both hidden. Every key is followed by the toolbars' button update, which
// in use runs at most once per update interval: so the figures are the worst
// case of what the toolbars add to a key.
//
// Run:  cmake --build build --target bench_toolbar_typing && \
//       QT_QPA_PLATFORM=offscreen ./build/bench_toolbar_typing [FILE]
// Without FILE, about 10 MB of HTML is generated.
#include "bench_support.h"

#include "app/marquill_app.h"
#include "document/marquill_doc.h"
#include "editor/marquill_view.h"
#include "frame/child_frame.h"
#include "frame/document_manager.h"
#include "frame/flat_toolbar.h"
#include "frame/frame_toolbars.h"
#include "frame/main_frame.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <vector>

namespace {

QByteArray tenMegabytesOfHtml()
{
    QByteArray html = "<HTML><BODY><TABLE>\r\n";
    int row = 0;
    while (html.size() < 10 * 1024 * 1024)
        html += "<TR><TD CLASS=\"cell\">row " + QByteArray::number(row++) +
                " 日本語のテキスト</TD><TD><A HREF=\"x.htm\">link</A></TD></TR>\r\n";
    return html;
}

struct Figures
{
    double median = 0;
    double mean = 0;
};

Figures summarise(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2],
            std::accumulate(times.begin(), times.end(), 0.0) / double(times.size())};
}

// Microseconds per key (the key, the events it leaves, then the button
// update), appended to times.
void typing(CMarquillView* view, CFrameToolbars* bars, int count, std::vector<double>& times)
{
    view->setSel(view->textLength(), view->textLength());
    QElapsedTimer t;
    for (int i = 0; i < count; ++i) {
        t.start();
        QTest::keyClick(view, Qt::Key_A);
        QApplication::processEvents();
        bars->updateButtons();
        times.push_back(t.nsecsElapsed() / 1000.0);
    }
}

// Microseconds of the button update alone.
Figures updates(CFrameToolbars* bars, int count)
{
    std::vector<double> times;
    QElapsedTimer t;
    for (int i = 0; i < count; ++i) {
        t.start();
        bars->updateButtons();
        times.push_back(t.nsecsElapsed() / 1000.0);
    }
    return summarise(times);
}

void showBars(CFrameToolbars* bars, bool shown)
{
    bars->standard()->setVisible(shown);
    bars->extended()->setVisible(shown);
    QApplication::processEvents();
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    Bench::isolate(home);
    QApplication app(argc, argv);
    const QString path = Bench::documentPath(app.arguments(), home, tenMegabytesOfHtml);
    if (path.isEmpty())
        return 1;

    CMarquillApp marquill;
    marquill.initInstance({QStringLiteral("marquill")});
    CMarquillDoc* doc = marquill.documentManager()->openDocumentFile(path);
    if (!doc)
        return 1;
    QApplication::processEvents();
    QApplication::clipboard()->setText(QStringLiteral("clip"));
    CMarquillView* view = marquill.documentManager()->frameOf(doc)->view();
    CFrameToolbars* bars = marquill.mainFrame()->toolbars();
    std::printf("file: %s (%lld bytes)\n", qPrintable(path), view->textLength());

    // The control wraps the lines below the view while idle at first: type
    // until that is done, then measure hidden and shown by turns, so a
    // change in the machine's load falls on both alike.
    std::vector<double> warmUp, hiddenKeys, shownKeys;
    typing(view, bars, 300, warmUp);
    for (int round = 0; round < 20; ++round) {
        showBars(bars, false);
        typing(view, bars, 25, hiddenKeys);
        showBars(bars, true);
        typing(view, bars, 25, shownKeys);
    }
    const Figures hidden = summarise(hiddenKeys);
    const Figures shown = summarise(shownKeys);
    showBars(bars, false);
    const Figures hiddenUpdate = updates(bars, 300);
    showBars(bars, true);
    const Figures shownUpdate = updates(bars, 300);
    std::printf("button update alone: median %.1f us with both toolbars shown, %.1f us hidden\n",
                shownUpdate.median, hiddenUpdate.median);
    std::printf("typing one character at the end, median (mean): %.1f (%.1f) us with both "
                "toolbars shown, %.1f (%.1f) us hidden\n",
                shown.median, shown.mean, hidden.median, hidden.mean);
    std::printf("target: shown costs no more per key than hidden (within noise)\n");
    marquill.documentManager()->closeAllDocumentsWithoutAsking();
    delete marquill.mainFrame();
    return 0;
}
