// Speed of 文書のチェック on a large page, and which of libtidy's codes the
// page meets, with any that have no Japanese text.
//
// Build and run (from the repository root):
//   gunzip -c ../shared/tools/peerbench/data/in10.html.gz > /tmp/in10.html
//   cmake --build build --target bench_document_check
//   build/bench_document_check /tmp/in10.html [ACCESSIBILITY-LEVEL]
// Without a file it checks about 10 MB of made-up HTML with Japanese text.
//
// Target: the check of 10 MB within 3 s (it runs on a worker thread; the
// window goes on answering meanwhile).

#include "bench_support.h"
#include "document/document_check.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMap>

#include <climits>
#include <cstdio>

namespace {

QByteArray makeDocument()
{
    QByteArray text = "<!DOCTYPE html>\n<html><head><title>大きな文書</title></head><body>\n";
    for (int i = 0; text.size() < 10 * 1024 * 1024; ++i) {
        text += "<p>日本語の文章と <b>太字 <i>斜体</b></i> と <a href=x" + QByteArray::number(i) +
                ">リンク</a> &nbsp <font color=red>古い要素</font></p>\n";
    }
    return text + "</body></html>\n";
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir home;
    const QString path = Bench::documentPath(app.arguments(), home, makeDocument);
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 1;
    }
    const QByteArray text = file.readAll();
    DocumentCheck::Options options;
    options.accessibilityLevel = app.arguments().value(2).toInt();

    options.limit = INT_MAX;
    QList<DocumentCheck::Finding> findings;
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer t;
        t.start();
        findings = DocumentCheck::check(text, options).findings;
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    std::printf("check of %.1f MB: %.0f ms (best of 3; target 3000 ms), %lld findings\n",
                text.size() / 1048576.0, best, static_cast<long long>(findings.size()));

    QMap<QString, int> codes;
    QStringList untranslated;
    for (const DocumentCheck::Finding& f : findings) {
        ++codes[f.code];
        if (f.message == f.english && !untranslated.contains(f.code))
            untranslated.append(f.code);
    }
    for (auto it = codes.cbegin(); it != codes.cend(); ++it)
        std::printf("  %6d %s\n", it.value(), qPrintable(it.key()));
    std::printf("codes without Japanese text: %s\n",
                untranslated.isEmpty() ? "none" : qPrintable(untranslated.join(QLatin1Char(' '))));
    return 0;
}
