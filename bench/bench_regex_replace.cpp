// Regular-expression replace all and find next on a 10 MB page in the real
// shown window (word wrap on, the page wrapped and coloured), against
// `sed -E` doing the same replacement on the same file, with the plain
// replace all beside it.
//
// Build and run (from the repository root), on a real X server or Xvfb:
//   gunzip -c ../shared/tools/peerbench/data/in10.html.gz > /tmp/in10.html
//   cmake --build build --target bench_regex_replace
//   xvfb-run -a -s "-screen 0 1600x1000x24" build/bench_regex_replace /tmp/in10.html
// Without FILE the page is made of generated rows with Japanese text. Each
// figure is the best of three runs; wall-clock figures depend on the load of
// the machine.
//
// Targets: replace all of h(re)f= by H\1F= (about 25,000 matches in the
// 10 MB page) at most 2 x sed -E, giving sed's text, colours kept; find next
// of a pattern found nowhere one pass over the text (about the time of the
// replace all's search alone).

#include "app/marquill_app.h"
#include "bench_support.h"
#include "core/ui_seam.h"
#include "document/marquill_doc.h"
#include "editor/find_replace.h"
#include "editor/marquill_view.h"
#include "frame/child_frame.h"
#include "frame/document_manager.h"
#include "frame/main_frame.h"
#include "resources/command_ids.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

double ms(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e6;
}

QByteArray generatedPage()
{
    QByteArray html;
    for (int row = 0; html.size() < 10 * 1000 * 1000; ++row)
        html += "<TR><TD CLASS=\"cell\">row " + QByteArray::number(row) +
                " 日本語のテキストが続きます。</TD><TD><A href=\"x" + QByteArray::number(row % 97) +
                ".htm\">link</A></TD></TR>\r\n" + QByteArray(300, ' ') + "\r\n";
    return html;
}

// The formats of the whole text, one byte each.
QByteArray formatMap(CMarquillView* view)
{
    QByteArray map(view->textLength(), '\0');
    for (qint64 i = 0; i < map.size(); ++i)
        map[i] = char(view->styleAt(i));
    return map;
}

// The page opened, wrapped and coloured in the shown window.
CMarquillView* openPage(CMarquillApp& app, const QString& path)
{
    CMarquillDoc* doc = app.documentManager()->openDocumentFile(path);
    CMarquillView* view = doc ? app.documentManager()->frameOf(doc)->view() : nullptr;
    if (!view)
        return nullptr;
    while (view->wrapPending())
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    view->executeCommand(Cmd::RefreshColors);
    QApplication::processEvents();
    return view;
}

void closePage(CMarquillApp& app, CMarquillView* view)
{
    for (CMarquillDoc* doc : app.documentManager()->documents())
        if (app.documentManager()->frameOf(doc)->view() == view)
            app.documentManager()->frameOf(doc)->closeWithoutAsking();
    QApplication::processEvents();
}

// The best of three runs of a replace all on a freshly opened page, to the
// end of the repaint that follows; the text and formats of the last run.
double replaceAll(CMarquillApp& app, const QString& path,
                  const std::function<int(CFindReplace*)>& replace, int& count, QByteArray& text,
                  QByteArray& formatsBefore, QByteArray& formatsAfter)
{
    double best = 1e18;
    for (int run = 0; run < 3; ++run) {
        CMarquillView* view = openPage(app, path);
        formatsBefore = formatMap(view);
        QElapsedTimer t;
        t.start();
        count = replace(CFindReplace::of(view));
        view->viewport()->repaint();
        best = std::min(best, ms(t));
        text = view->textBytes();
        formatsAfter = formatMap(view);
        closePage(app, view);
    }
    return best;
}

double sedMs(const QStringList& arguments, QByteArray& output)
{
    double best = 1e18;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer t;
        t.start();
        QProcess sed;
        sed.start(QStringLiteral("sed"), arguments);
        sed.waitForFinished(-1);
        best = std::min(best, ms(t));
        output = sed.readAllStandardOutput();
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    Bench::isolate(home);
    QApplication qapp(argc, argv);
    UiSeam::setBeepHook([] {});
    const QString path = Bench::documentPath(qapp.arguments(), home, generatedPage);
    if (path.isEmpty())
        return 1;

    CMarquillApp app;
    app.initInstance({QStringLiteral("marquill")});
    app.mainFrame()->resize(1200, 800);
    QApplication::processEvents();

    QByteArray sedText;
    const double sed =
        sedMs({QStringLiteral("-E"), QStringLiteral("s/h(re)f=/H\\1F=/g"), path}, sedText);
    int count = 0;
    QByteArray text, before, after;
    const double regex = replaceAll(
        app, path,
        [](CFindReplace* find) {
            return find->replaceAll(QStringLiteral("h(re)f="), QStringLiteral("H\\1F="), true,
                                    false, true);
        },
        count, text, before, after);
    // Every format stays, except the replaced text's, which is the default
    // (the replacement is as long as the match).
    QByteArray expected = before;
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray original = file.readAll();
    for (qsizetype at = original.indexOf("href="); at >= 0; at = original.indexOf("href=", at + 5))
        std::fill(expected.begin() + at, expected.begin() + at + 5, char(0));
    const bool sameText = text == sedText;
    const bool coloursKept = after == expected;
    int plainCount = 0;
    const double plain = replaceAll(
        app, path,
        [](CFindReplace* find) {
            return find->replaceAll(QStringLiteral("href="), QStringLiteral("HREF="), true, false);
        },
        plainCount, text, before, after);

    CMarquillView* view = openPage(app, path);
    CFindReplace* find = CFindReplace::of(view);
    double findNext = 1e18;
    for (int run = 0; run < 3; ++run) {
        view->setSel(view->textLength() / 2, view->textLength() / 2);
        find->series().restart();
        QElapsedTimer t;
        t.start();
        find->findNext(QStringLiteral("found nowhere \\d+"), true, false, true);
        findNext = std::min(findNext, ms(t));
    }
    closePage(app, view);

    const bool met = regex <= 2 * sed && sameText && coloursKept;
    std::printf("Regular-expression replace all on %.1f MB in the shown window, wrapped, coloured\n"
                "  h(re)f= by H\\1F=: %.1f ms for %d replacements; sed -E %.1f ms (%.2f x sed -E);"
                " same text as sed: %s; colours kept: %s\n"
                "  plain href= by HREF=: %.1f ms for %d replacements\n"
                "  target: <= 2 x sed -E, same text, colours kept   %s\n"
                "Find next of a pattern found nowhere, from the middle: %.1f ms\n",
                QFileInfo(path).size() / 1e6, regex, count, sed, regex / sed,
                sameText ? "yes" : "NO", coloursKept ? "yes" : "NO", plain, plainCount,
                met ? "met" : "NOT MET", findNext);
    return 0;
}
