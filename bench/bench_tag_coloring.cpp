// Speed and memory of tag colouring on about 10 MB of real HTML: the largest
// HTML documents under /usr/share/doc joined (or a FILE given), compared in
// the same run with QScintilla's own HTML lexer colouring the same text.
//
// Build and run (from the repository root):
//   cmake --build build --target bench_tag_coloring && \
//   QT_QPA_PLATFORM=offscreen build/bench_tag_coloring [FILE]
//
// Targets: whole-document colouring (scan and styles) under 70 ms and at
// least 4.5 times faster than the lexer; opening a 10 MB file until it is
// coloured under 100 ms; one typed character, decided, inserted and styled,
// under 20 us median at the start and at the end (under 0.2 ms with its
// repaint); loading and colouring adds less than 2.5 times the text's size.
//
// For profiling one phase alone (e.g. under perf), set BENCH_PHASE to "parts"
// (load and colour, timed separately), "open", "typeend" or "typestart".

#include "document/document_file.h"
#include "document/marquill_doc.h"
#include "editor/marquill_view.h"
#include "editor/rules/tag_scan.h"
#include "editor/tag_colorizer.h"

#include <Qsci/qscilexerhtml.h>
#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr qint64 kTarget = 10 * 1024 * 1024;

QByteArray largestHtmlDocuments(QStringList* sources)
{
    QList<QPair<qint64, QString>> files;
    QDirIterator it(QStringLiteral("/usr/share/doc"),
                    {QStringLiteral("*.html"), QStringLiteral("*.htm")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        files.append({it.fileInfo().size(), it.filePath()});
    }
    std::sort(files.begin(), files.end(), [](auto& a, auto& b) { return a.first > b.first; });
    QByteArray html;
    for (const auto& f : files) {
        if (html.size() >= kTarget)
            break;
        QFile file(f.second);
        if (file.open(QIODevice::ReadOnly)) {
            html += file.readAll();
            sources->append(f.second);
        }
    }
    html.truncate(kTarget);
    return html;
}

qint64 residentBytes()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.value(1).toLongLong() * 4096;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <typename F> double medianMs(int runs, F&& f)
{
    std::vector<double> times;
    QElapsedTimer t;
    for (int i = 0; i < runs; ++i) {
        t.start();
        f();
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    return median(times);
}

// Types count characters through the view's key handling, at the start or at
// the end of the text, on lines of 60 characters as a person would; returns
// the median time per character in microseconds.
double typingMicros(CMarquillView& view, bool atEnd, bool repaint, int count)
{
    std::vector<double> times;
    QElapsedTimer t;
    const char keys[] = "<a href=\"x\">text</a> ";
    for (int i = 0; i < count; ++i) {
        if (i % 60 == 0) {
            const qint64 lineStart = atEnd ? view.textLength() : 0;
            view.setSel(lineStart, lineStart);
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
            QApplication::sendEvent(&view, &enter);
            view.setSel(lineStart, lineStart);
            QApplication::processEvents();
        }
        const char c = keys[i % (sizeof keys - 1)];
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(c)));
        t.start();
        QApplication::sendEvent(&view, &press);
        if (repaint)
            QApplication::processEvents();
        times.push_back(t.nsecsElapsed() / 1e3);
    }
    return median(times);
}

// Opens path in a new document and view as the program does (read, load,
// colour); returns the time in milliseconds, or -1 when it cannot be opened.
double timeOpening(const QString& path)
{
    CMarquillDoc doc;
    CMarquillView view;
    view.resize(1000, 700);
    doc.setView(&view);
    QString error;
    QElapsedTimer t;
    t.start();
    if (!doc.onOpenDocument(path, &error))
        return -1;
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    QApplication app(argc, argv);

    QStringList sources;
    QByteArray html;
    if (app.arguments().size() > 1) {
        QFile f(app.arguments().at(1));
        if (!f.open(QIODevice::ReadOnly))
            return 1;
        html = f.readAll();
        sources << f.fileName();
    } else {
        html = largestHtmlDocuments(&sources);
    }
    std::printf("text: %lld bytes from %lld file(s), first %s\n", qint64(html.size()),
                qint64(sources.size()), qPrintable(sources.value(0)));
    const QString path = home.filePath(QStringLiteral("big.htm"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        f.write(html);
    }

    // One phase alone, for profiling.
    const QByteArray phase = qgetenv("BENCH_PHASE");
    if (phase == "parts") {
        DocumentFile::Text text;
        QString error;
        DocumentFile::read(path, text, error);
        for (int i = 0; i < 4; ++i) {
            CMarquillView v;
            v.resize(1000, 700);
            QElapsedTimer t;
            t.start();
            v.loadBytes(text.bytes);
            const double load = t.nsecsElapsed() / 1e6;
            t.start();
            if (i % 2)
                TagColorizer::colorWhole(v, [](int) { return true; });
            else
                v.colorWholeDocument();
            const double colour = t.nsecsElapsed() / 1e6;
            t.start();
            TagColorizer::colorWhole(v, [](int) { return true; });
            std::printf("load %.1f, %s %.1f, again %.1f\n", load, i % 2 ? "colorWhole" : "command",
                        colour, t.nsecsElapsed() / 1e6);
        }
        return 0;
    }
    if (phase == "typeend" || phase == "typestart") {
        CMarquillView v;
        v.resize(1000, 700);
        v.show();
        v.loadBytes(html);
        v.colorWholeDocument();
        v.sci(phase == "typeend" ? QsciScintillaBase::SCI_DOCUMENTEND
                                 : QsciScintillaBase::SCI_DOCUMENTSTART);
        QApplication::processEvents();
        std::printf("%.1f us\n", typingMicros(v, phase == "typeend", false, 20000));
        return 0;
    }
    if (phase == "open") {
        for (int i = 0; i < 5; ++i)
            timeOpening(path);
        return 0;
    }

    // The scan alone.
    qint64 runs = 0;
    const double scanMs = medianMs(9, [&] {
        TagScan::Scanner scanner;
        scanner.scan(html.constData(), 0, html.size(), [&](qint64, qint64, char) { ++runs; });
    });
    std::printf("tag scan: %.1f ms (%.2f GB/s), %lld style runs\n", scanMs,
                html.size() / scanMs / 1e6, runs / 9);

    // Memory and whole-document colouring on a real view.
    // The baseline has a view on screen that has drawn text in all three
    // styles, so fonts and glyph caches are in place before.
    auto* view = new CMarquillView;
    view->resize(1000, 700);
    view->show();
    view->loadBytes("<P CLASS=\"x\">text 日本語</P>\r\n");
    view->colorWholeDocument();
    view->viewport()->repaint();
    QApplication::processEvents();
    const qint64 rssBefore = residentBytes();
    view->loadBytes(html);
    view->colorWholeDocument();
    QApplication::processEvents();
    const qint64 rssAfter = residentBytes();
    std::printf("memory: loading and colouring added %.1f MB = %.2f x the text\n",
                (rssAfter - rssBefore) / 1e6, double(rssAfter - rssBefore) / html.size());

    const double wholeMs =
        medianMs(7, [&] { TagColorizer::colorWhole(*view, [](int) { return true; }); });
    const double commandMs = medianMs(7, [&] { view->colorWholeDocument(); });
    std::printf("whole-document colouring: %.1f ms (scan and styles), %.1f ms as the refresh "
                "command with its progress dialog\n",
                wholeMs, commandMs);

    // The reference: QScintilla's HTML lexer over the same text.
    {
        QsciScintilla reference;
        QsciLexerHTML lexer;
        reference.resize(1000, 700);
        reference.SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK,
                                QsciScintillaBase::SC_MOD_BEFOREINSERT);
        reference.SendScintilla(QsciScintillaBase::SCI_ANNOTATIONSETVISIBLE, 0L);
        reference.setLexer(&lexer);
        reference.SendScintilla(QsciScintillaBase::SCI_APPENDTEXT,
                                static_cast<unsigned long>(html.size()), html.constData());
        const double lexerMs = medianMs(3, [&] {
            reference.SendScintilla(QsciScintillaBase::SCI_CLEARDOCUMENTSTYLE);
            reference.SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0, -1);
        });
        std::printf("QsciLexerHTML full colourise: %.1f ms; ours is %.1f x faster\n", lexerMs,
                    lexerMs / wholeMs);
    }

    // Opening the file until it is coloured.
    {
        std::vector<double> times;
        for (int i = 0; i < 5; ++i) {
            const double ms = timeOpening(path);
            if (ms < 0)
                return 1;
            times.push_back(ms);
        }
        std::printf("open 10 MB until coloured: %.1f ms median\n", median(times));
        // Where the time goes.
        QElapsedTimer t;
        t.start();
        DocumentFile::Text text;
        QString error;
        DocumentFile::read(path, text, error);
        const double readMs = t.nsecsElapsed() / 1e6;
        CMarquillView openView;
        openView.resize(1000, 700);
        t.start();
        openView.loadBytes(text.bytes);
        const double loadMs = t.nsecsElapsed() / 1e6;
        t.start();
        openView.colorWholeDocument();
        std::printf("  read and decode %.1f ms, load into the control %.1f ms, colour %.1f ms\n",
                    readMs, loadMs, t.nsecsElapsed() / 1e6);
    }

    // Typing at the start and at the end of the coloured text.
    view->setFocus();
    view->sci(QsciScintillaBase::SCI_DOCUMENTEND);
    QApplication::processEvents();
    const double endUs = typingMicros(*view, true, false, 400);
    const double endPaintUs = typingMicros(*view, true, true, 200);
    view->sci(QsciScintillaBase::SCI_DOCUMENTSTART);
    QApplication::processEvents();
    const double startUs = typingMicros(*view, false, false, 400);
    const double startPaintUs = typingMicros(*view, false, true, 200);
    std::printf("typed character at the end: %.1f us median, %.1f us with repaint\n", endUs,
                endPaintUs);
    std::printf("typed character at the start: %.1f us median, %.1f us with repaint\n", startUs,
                startPaintUs);
    delete view;
    return 0;
}
