// Speed of find in files on a generated site of 10,000 pages (a few pages
// copied and varied, a fifth of them in Shift_JIS and a fifth in EUC-JP, in
// 50 folders of 7 subfolders), with `grep -r` on the same folder as the
// reference. Each search runs three times after one run that fills the
// file cache; the best time counts.
//
// Build and run (from the repository root):
//   cmake --build build --target bench_find_in_files && build/bench_find_in_files [FOLDER]
// FOLDER: an existing folder to search instead of the generated site.
// BENCH_ONLY=TEXT runs only the cases whose name starts with TEXT (for
// profiling one of them).
//
// Target: the plain search within 2 x grep -r. grep reads the bytes as they
// are, so it finds Japanese text only in the UTF-8 pages.

#include "document/folder_search.h"
#include "editor/rules/regex_pattern.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Page k of the site: about 10 KB of HTML with Japanese text, in encoding.
QByteArray page(int k, const char* encoding)
{
    QString text = QStringLiteral("<html><head><meta charset=\"%1\"><title>ページ %2</title>"
                                  "</head><body>\r\n")
                       .arg(QLatin1String(encoding))
                       .arg(k);
    for (int i = 0; i < 60; ++i) {
        const QString item =
            i % 7 == 3 ? QStringLiteral(" item%1").arg(k) : QStringLiteral(" para%1").arg(i % 7);
        text += QStringLiteral("<p class=\"para%1\">日本語の文章 %2-%3 です。<a href=\"page%4."
                               "html\">リンク%4</a> some english text to pad the line.</p>\r\n")
                    .arg(item)
                    .arg(k % 4)
                    .arg(i)
                    .arg(i);
    }
    text += QStringLiteral("</body></html>\r\n");
    return QStringEncoder(encoding).encode(text);
}

bool makeSite(const QString& root, int pages)
{
    const char* const encodings[] = {"UTF-8", "UTF-8", "UTF-8", "Shift_JIS", "EUC-JP"};
    for (int n = 0; n < pages; ++n) {
        const QString folder = QStringLiteral("%1/d%2/s%3").arg(root).arg(n % 50).arg(n % 7);
        QDir().mkpath(folder);
        QFile file(QStringLiteral("%1/p%2.html").arg(folder).arg(n));
        const QByteArray bytes = page(n, encodings[n % 5]);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return false;
    }
    return true;
}

double bestOf(int runs, const std::function<void()>& work)
{
    double best = 1e18;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        best = qMin(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

int grepFiles(const QString& root, const QString& text, bool regex, double& ms)
{
    QByteArray out;
    auto run = [&] {
        QProcess grep;
        grep.start(QStringLiteral("grep"),
                   {regex ? QStringLiteral("-rlE") : QStringLiteral("-rlF"), text, root});
        grep.waitForFinished(-1);
        out = grep.readAllStandardOutput();
    };
    run();
    ms = bestOf(3, run);
    return static_cast<int>(out.count('\n'));
}

FolderSearchSummary search(const QString& root, const QString& text, bool regex, double& ms)
{
    FolderSearchQuery query;
    query.folder = root;
    query.nameFilters = FolderSearch::nameFilters(QStringLiteral("*.htm;*.html;*.shtml;*.stm"));
    query.text = text;
    query.matchCase = true;
    query.regex = regex;
    query.expression = CRegexPattern(text, {true, false}).expression();
    FolderSearchSummary summary;
    const std::atomic<bool> stop{false};
    auto run = [&] {
        summary = FolderSearch::run(
            query, [](FileMatches&&) {}, [](int, const QString&) {}, stop);
    };
    run();
    ms = bestOf(3, run);
    return summary;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QString root = app.arguments().value(1);
    if (root.isEmpty()) {
        root = dir.filePath(QStringLiteral("site"));
        std::printf("making 10,000 pages in %s ...\n", qPrintable(root));
        if (!makeSite(root, 10000)) {
            std::printf("cannot write the site\n");
            return 1;
        }
    }
    const struct
    {
        const char* what;
        const char* text;
        bool regex;
    } cases[] = {
        {"plain, rare ASCII word", "item7777", false},
        {"plain, Japanese in every page", "リンク12", false},
        {"regex, rare word", "item7{4}\\b", true},
    };
    const QString only = qEnvironmentVariable("BENCH_ONLY");
    for (const auto& c : cases) {
        if (!only.isEmpty() && !QString::fromUtf8(c.what).startsWith(only))
            continue;
        double grepMs = 0;
        double ownMs = 0;
        const QString text = QString::fromUtf8(c.text);
        const int grepped = grepFiles(root, text, c.regex, grepMs);
        const FolderSearchSummary summary = search(root, text, c.regex, ownMs);
        std::printf("%-32s %8.1f ms, %5d files matched of %d; grep -r %8.1f ms (%d files): "
                    "%.2f x grep\n",
                    c.what, ownMs, summary.filesMatched, summary.filesSearched, grepMs, grepped,
                    ownMs / grepMs);
    }
    return 0;
}
