// Opening a 10 MB HTML file and typing at its end, against a small file.
//
// Run:  cmake --build build --target bench_open_type && \
//       QT_QPA_PLATFORM=offscreen ./build/bench_open_type [FILE]
// Without FILE, about 10 MB of HTML is made from the HTML documents under
// /usr/share/doc (or generated when there are too few).
#include "bench_support.h"

#include "app/marquill_app.h"
#include "core/settings_store.h"
#include "document/document_file.h"
#include "document/marquill_doc.h"
#include "editor/marquill_view.h"
#include "frame/child_frame.h"
#include "frame/document_manager.h"
#include "frame/main_frame.h"

#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>

namespace {

QByteArray tenMegabytesOfHtml()
{
    QByteArray html;
    QDirIterator it(QStringLiteral("/usr/share/doc"),
                    {QStringLiteral("*.html"), QStringLiteral("*.htm")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext() && html.size() < 10 * 1024 * 1024) {
        QFile f(it.next());
        if (f.open(QIODevice::ReadOnly))
            html += f.read(2 * 1024 * 1024);
    }
    html.truncate(10 * 1024 * 1024);
    int row = 0;
    while (html.size() < 10 * 1024 * 1024)
        html += "<TR><TD CLASS=\"cell\">row " + QByteArray::number(row++) +
                " 日本語のテキスト</TD><TD><A HREF=\"x.htm\">link</A></TD></TR>\r\n";
    return html;
}

double medianTypingMicros(CMarquillView* view, int count)
{
    view->setSel(view->textLength(), view->textLength());
    std::vector<double> times;
    QElapsedTimer t;
    for (int i = 0; i < count; ++i) {
        t.start();
        QTest::keyClick(view, Qt::Key_A);
        times.push_back(t.nsecsElapsed() / 1000.0);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
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
    const QString small = home.filePath(QStringLiteral("small.htm"));
    if (!Bench::writeFile(small, "<HTML><BODY>\r\n<P>small</P>\r\n</BODY></HTML>\r\n"))
        return 1;

    CMarquillApp marquill;
    marquill.initInstance({QStringLiteral("marquill")});
    QApplication::processEvents();

    QElapsedTimer t;
    {
        t.start();
        DocumentFile::Text text;
        QString error;
        DocumentFile::read(path, text, error);
        std::printf("read and decode: %lld ms\n", t.elapsed());
        CMarquillView view;
        view.resize(800, 600);
        t.start();
        view.loadBytes(text.bytes);
        std::printf("load into the control: %lld ms\n", t.elapsed());
        t.start();
        view.colorWholeDocument();
        std::printf("colour the whole text: %lld ms\n", t.elapsed());
    }
    t.start();
    CMarquillDoc* doc = marquill.documentManager()->openDocumentFile(path);
    const qint64 openMs = t.elapsed();
    QApplication::processEvents();
    const qint64 shownMs = t.elapsed();
    if (!doc)
        return 1;
    CMarquillView* view = marquill.documentManager()->frameOf(doc)->view();
    std::printf("file: %s (%lld bytes)\n", qPrintable(path), view->textLength());
    std::printf("open (read, load, colour): %lld ms; until shown: %lld ms\n", openMs, shownMs);

    t.start();
    view->sci(QsciScintillaBase::SCI_DOCUMENTEND);
    QApplication::processEvents();
    std::printf("scroll to the end and repaint: %lld ms\n", t.elapsed());

    const double bigTyping = medianTypingMicros(view, 300);
    CMarquillDoc* smallDoc = marquill.documentManager()->openDocumentFile(small);
    const double smallTyping =
        medianTypingMicros(marquill.documentManager()->frameOf(smallDoc)->view(), 300);
    std::printf(
        "typing one character at the end, median: %.1f us (10 MB) vs %.1f us (small file)\n",
        bigTyping, smallTyping);
    marquill.documentManager()->closeAllDocumentsWithoutAsking();
    delete marquill.mainFrame();
    return 0;
}
