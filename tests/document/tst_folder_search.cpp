#include "core/file_names.h"
#include "document/folder_search.h"
#include "editor/rules/regex_pattern.h"
#include "test_support.h"

#include <QSignalSpy>
#include <QStringEncoder>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray encoded(const char* encoding, const QString& text)
{
    return QStringEncoder(encoding, QStringConverter::Flag::Stateless).encode(text);
}

} // namespace

class TestFolderSearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void search_data();
    void search();
    void newSearchDropsOldReports();
    void nameNotUtf8();

private:
    QTemporaryDir m_dir;
};

// A small site: pages in UTF-8, Shift_JIS, EUC-JP and UTF-16, one in a
// subfolder, one that is binary, one too large, one of another type.
void TestFolderSearch::initTestCase()
{
    const QString root = m_dir.path();
    QVERIFY(writeFile(root + "/a.htm", "<p>日本語のページ</p>\r\n<p class=\"Item\">x</p>\n"));
    QVERIFY(writeFile(root + "/B.HTM", encoded("Shift_JIS", "<p>日本語のページです</p>")));
    QVERIFY(writeFile(root + "/c.html", encoded("EUC-JP", "\n\n  日本語のページ")));
    QVERIFY(writeFile(root + "/d.htm", "\xff\xfe" + encoded("UTF-16LE", "😀日本語")));
    QVERIFY(writeFile(root + "/e.htm", QByteArray("日本語\0\x01\x02", 12)));
    QVERIFY(writeFile(root + "/f.htm", "日本語" + QByteArray(3000, ' ')));
    QVERIFY(writeFile(root + "/notes.txt", "日本語"));
    QVERIFY(writeFile(root + "/sub/g.htm", "x\ry 日本語"));
    QVERIFY(writeFile(root + "/locked.htm", "日本語"));
    QVERIFY(
        writeFile(root + "/long.shtml", "a\n<p>" + QByteArray("abc ").repeated(100) + "</p>\nb"));
    QVERIFY(QFile::setPermissions(root + "/locked.htm", {}));
}

void TestFolderSearch::search_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("flags"); // r: regex, c: match case, s: subfolders
    QTest::addColumn<QString>("fileTypes");
    // Each match as "FILE:LINE:COLUMN+LENGTH: TEXT", then the counts of files
    // searched, binary, too large, unreadable and searched only in part.
    QTest::addColumn<QStringList>("expected");

    const QString japanese = QStringLiteral("日本語");
    // Pages not read in their own encoding, an upper-case name left out,
    // columns counted in UTF-16 units, a lone CR not ending a line, a binary
    // or large file searched, or not counted.
    QTest::newRow("Japanese in every encoding")
        << japanese << "s"
        << "?.htm;*.html"
        << QStringList{
               "a.htm:1:4+3: <p>日本語のページ</p>", "B.HTM:1:4+3: <p>日本語のページです</p>",
               "c.html:3:3+3:   日本語のページ",     "d.htm:1:2+3: 😀日本語",
               "sub/g.htm:2:3+3: y 日本語",          "5 1 1 0 0"};
    // A file that cannot be read taken for one without matches.
    QTest::newRow("unreadable") << japanese << ""
                                << "locked.htm" << QStringList{"0 0 0 1 0"};
    // Subfolders searched though not asked for.
    QTest::newRow("no subfolders")
        << japanese << ""
        << "*.html" << QStringList{"c.html:3:3+3:   日本語のページ", "1 0 0 0 0"};
    // ASCII letters compared with their case, or not when asked.
    QTest::newRow("any case") << "ITEM"
                              << "s"
                              << "a.htm"
                              << QStringList{"a.htm:2:11+4: <p class=\"Item\">x</p>", "1 0 0 0 0"};
    QTest::newRow("match case") << "ITEM"
                                << "cs"
                                << "a.htm" << QStringList{"1 0 0 0 0"};
    // A pattern's match length and its line in a Shift_JIS page.
    QTest::newRow("pattern") << "ペー(ジ)で?"
                             << "r"
                             << "B.HTM"
                             << QStringList{"B.HTM:1:8+4: <p>日本語のページです</p>", "1 0 0 0 0"};
    // A pattern the engine gives up on (nested repeats on a long line)
    // taken for one without further matches.
    QTest::newRow("too complex") << "(\\w+\\s?)*$"
                                 << "r"
                                 << "long.shtml"
                                 << QStringList{"long.shtml:1:1+1: a", "long.shtml:1:2+0: a",
                                                "1 0 0 0 1"};
    // An empty match at the very end taken for such a place.
    QTest::newRow("empty at the end")
        << "$"
        << "rs"
        << "g.htm" << QStringList{"sub/g.htm:1:2+0: x", "sub/g.htm:2:6+0: y 日本語", "1 0 0 0 0"};
}

void TestFolderSearch::search()
{
    QFETCH(QString, text);
    QFETCH(QString, flags);
    QFETCH(QString, fileTypes);
    QFETCH(QStringList, expected);
    if (::geteuid() == 0 && expected.last().split(u' ').value(3) == u"1")
        QSKIP("root reads files whatever their mode");

    FolderSearchQuery query;
    query.folder = m_dir.path();
    query.nameFilters = FolderSearch::nameFilters(fileTypes);
    query.subfolders = flags.contains(u's');
    query.text = text;
    query.matchCase = flags.contains(u'c');
    query.regex = flags.contains(u'r');
    query.expression = CRegexPattern(text, {query.matchCase, false}).expression();
    query.sizeLimit = 2000;
    QStringList found;
    const std::atomic<bool> stop{false};
    const FolderSearchSummary summary = FolderSearch::run(
        query,
        [&](FileMatches&& matches) {
            for (const ResultEntry& e : matches.entries)
                found << QStringLiteral("%1:%2:%3+%4: %5")
                             .arg(QDir(m_dir.path()).relativeFilePath(matches.path),
                                  QString::number(e.line), QString::number(e.column),
                                  QString::number(e.length), e.text);
        },
        [](int, const QString&) {}, stop);
    found << QStringLiteral("%1 %2 %3 %4 %5")
                 .arg(summary.filesSearched)
                 .arg(summary.binary)
                 .arg(summary.tooLarge)
                 .arg(summary.unreadable)
                 .arg(summary.gaveUp);
    QCOMPARE(found, expected);
}

// Catches: matches of a search that was replaced by another reaching the
// list among the new search's.
void TestFolderSearch::newSearchDropsOldReports()
{
    CFolderSearch search;
    QSignalSpy batches(&search, &CFolderSearch::matchesFound);
    QSignalSpy finished(&search, &CFolderSearch::finished);
    FolderSearchQuery query;
    query.folder = m_dir.path();
    query.nameFilters = {QStringLiteral("*.htm")};
    query.text = QStringLiteral("日本語");
    search.start(query);
    query.text = QStringLiteral("ページです");
    search.start(query);
    QVERIFY(finished.wait());
    QCOMPARE(finished.count(), 1);
    QStringList paths;
    for (const QList<QVariant>& batch : batches) {
        for (const FileMatches& matches : batch.at(0).value<QList<FileMatches>>())
            paths << QFileInfo(matches.path).fileName();
    }
    QCOMPARE(paths, QStringList{"B.HTM"});
}

// Catches: a folder or page whose name is Shift_JIS bytes (copied from
// another machine) read through Qt's UTF-8 names, so that the page is taken
// for unreadable and its matches never listed.
void TestFolderSearch::nameNotUtf8()
{
    QTemporaryDir dir;
    // フォルダ/ページ.htm, both names in Shift_JIS.
    const QByteArray folder = QFile::encodeName(dir.path()) + "/\x83\x74\x83\x48\x83\x8b\x83\x5f";
    const QByteArray page = folder + "/\x83\x79\x81\x5b\x83\x57.htm";
    QVERIFY(::mkdir(folder.constData(), 0700) == 0);
    const int fd = ::open(page.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    QVERIFY(fd >= 0);
    QVERIFY(::write(fd, "<p>x</p>", 8) == 8);
    ::close(fd);

    FolderSearchQuery query;
    query.folder = FileNames::decode(QFile::encodeName(dir.path()));
    query.nameFilters = FolderSearch::nameFilters(QStringLiteral("*.htm"));
    query.subfolders = true;
    query.text = QStringLiteral("x");
    query.expression = CRegexPattern(query.text, {}).expression();
    QByteArrayList found;
    const std::atomic<bool> stop{false};
    const FolderSearchSummary summary = FolderSearch::run(
        query, [&](FileMatches&& matches) { found << FileNames::encode(matches.path); },
        [](int, const QString&) {}, stop);
    // Qt cannot remove what it cannot name.
    ::unlink(page.constData());
    ::rmdir(folder.constData());
    QCOMPARE(summary.unreadable, 0);
    QCOMPARE(found, QByteArrayList{page});
}

MARQUILL_TEST_MAIN(TestFolderSearch)
#include "tst_folder_search.moc"
