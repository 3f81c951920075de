#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

// Checks the HTML of a document with libtidy and lists what is wrong with it,
// in Japanese. The check only reads the text; it may run on any thread (each
// run has its own libtidy document) and takes about a second for 10 MB.
namespace DocumentCheck {

enum class Kind { Error, Warning, Info };

// The options a person changes; the rest of libtidy's configuration is
// fixed here.
struct Options
{
    // libtidy's accessibility checks: 0 none, 1 priority 1, 2 priorities 1
    // and 2, 3 all three. Values outside 0 to 3 are taken as the nearest.
    int accessibilityLevel = 0;
    // Off: warnings are left out; errors and information stay.
    bool showWarnings = true;
    // At most this many findings are kept (a broken page can give hundreds of
    // thousands); the rest are only counted.
    int limit = 50000;
};

struct Finding
{
    int line = 1;   // counted from 1
    int column = 1; // in characters as the editor counts them, from 1
    Kind kind = Kind::Info;
    QString code;          // libtidy's message code name ("MISSING_ENDTAG_BEFORE")
    QString english;       // libtidy's own text
    QStringList arguments; // what libtidy filled into its text, in order
    QString message;       // the Japanese text, or the English one for a code not translated
};

struct Report
{
    QList<Finding> findings;
    qsizetype total = 0; // findings kept and left out
};

// Checks text, UTF-8 as the editor holds it; bytes that are not UTF-8 are
// reported, not refused. The doctype the page declares decides which HTML it
// is checked against (a page without one is checked as HTML5). The encoding
// the page declares is not compared with UTF-8: a document is saved in its
// own encoding. Findings come sorted by place; those about the whole document
// (the doctype given, what the content looks like) stand at line 1, column 1.
// Past the limit, the findings libtidy reports first are kept.
Report check(QByteArrayView text, const Options& options);

// "エラー", "警告" or "情報".
QString kindText(Kind kind);

} // namespace DocumentCheck
