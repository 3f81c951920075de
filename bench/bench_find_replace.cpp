// Speed of find next and replace all on a 10 MB document, with sed doing the
// same replacement on the same file as the reference.
//
// Build and run (from the repository root):
//   cmake --build build --target bench_find_replace && QT_QPA_PLATFORM=offscreen
//   build/bench_find_replace
//
// Targets: replace all of about 100,000 matches under 250 ms; find next at the
// end of the document under 10 ms.

#include "core/ui_seam.h"
#include "editor/find_replace.h"
#include "editor/marquill_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// About 10 MB of HTML with Japanese text, "target" every ~100 bytes.
QByteArray makeDocument(int matches)
{
    QByteArray text;
    text.reserve(11 * 1024 * 1024);
    const QByteArray para = QByteArrayLiteral("<P>日本語の文章と <B>target</B> ");
    const QByteArray filler =
        QByteArrayLiteral("some english words here, and a few more of them to pad. ");
    for (int i = 0; i < matches; ++i) {
        text += para;
        text += filler;
        text += QByteArray::number(i);
        text += (i % 4 == 3) ? QByteArrayLiteral("</P>\r\n") : QByteArrayLiteral(" ");
    }
    return text;
}

double ms(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    QApplication app(argc, argv);
    UiSeam::setBeepHook([] {});

    const int matches = 100000;
    const QByteArray document = makeDocument(matches);
    const QString path = dir.filePath(QStringLiteral("doc.htm"));
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(document);
    }
    std::printf("document: %.1f MB, %d matches\n", document.size() / 1048576.0, matches);

    // sed, the reference.
    QElapsedTimer t;
    t.start();
    QProcess sed;
    sed.start(QStringLiteral("sed"), {QStringLiteral("s/target/REPLACED!/g"), path});
    sed.waitForFinished(-1);
    const QByteArray sedOutput = sed.readAllStandardOutput();
    std::printf("sed replace:              %8.1f ms\n", ms(t));

    CMarquillView view;
    view.resize(800, 600);
    view.show();
    QApplication::processEvents();
    view.loadBytes(document);
    CFindReplace* finder = CFindReplace::of(&view);

    // Find next at the end of the text: wraps round to the first match.
    view.setSel(view.textLength(), view.textLength());
    finder->series().restart();
    t.start();
    bool found = finder->findNext(QStringLiteral("target"), false, false);
    std::printf("find next at the end, wrapping to the first match: %8.2f ms %s\n", ms(t),
                found ? "found" : "NOT FOUND");

    // The worst case: the only occurrence lies just before the caret, so the
    // search runs to the end and then over the whole text from the start.
    const QByteArray tail = QByteArrayLiteral("uniqueword");
    view.setSel(view.textLength(), view.textLength());
    view.replaceSel(tail, false);
    for (bool matchCase : {true, false}) {
        view.setSel(view.textLength(), view.textLength());
        finder->series().restart();
        t.start();
        found = finder->findNext(QString::fromUtf8(tail), matchCase, false);
        std::printf("find next over the whole text (%s):            %8.2f ms %s\n",
                    matchCase ? "match case" : "any case  ", ms(t), found ? "found" : "NOT FOUND");
    }
    // Whole word, with 100,000 candidates inside longer words to reject.
    view.setSel(view.textLength(), view.textLength());
    finder->series().restart();
    t.start();
    found = finder->findNext(QStringLiteral("targ"), false, true);
    std::printf("find next over the whole text (whole word):            %8.2f ms %s\n", ms(t),
                found ? "found" : "not found, as expected");

    view.loadBytes(document);
    view.setSel(0, 0);
    t.start();
    const int count =
        finder->replaceAll(QStringLiteral("target"), QStringLiteral("REPLACED!"), true, false);
    std::printf("replace all:                              %8.1f ms, %d replacements, %s sed\n",
                ms(t), count, view.textBytes() == sedOutput ? "same text as" : "DIFFERENT from");

    view.loadBytes(document);
    view.setSel(document.size() / 2, document.size() / 2);
    t.start();
    const int wrapped =
        finder->replaceAll(QStringLiteral("TARGET"), QStringLiteral("x"), false, true);
    std::printf("replace all from the middle, whole word:  %8.1f ms, %d replacements\n", ms(t),
                wrapped);
    return 0;
}
