#include "test_support.h"

#include "document/document_file.h"

#include <QRandomGenerator>

#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return f.readAll();
}

bool writeRaw(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Sets or clears the immutable attribute of a file or folder; false when the
// file system or the process's privileges do not allow it.
bool setImmutable(const QString& path, bool on)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

const QByteArray kShiftJisSample =
    QByteArray::fromHex("3c703e93fa967b8cea82cc8365834c8358836781415c955c8ea687403c2f703e0d0a");
const char* const kShiftJisSampleText = "<p>日本語のテキスト、\\表示①</p>\r\n";
const QByteArray kEucJpSample =
    QByteArray::fromHex("3c703ec6fccbdcb8eca4cea5c6a5ada5b9a5c8a1a2c9bdbca8a4c7a4b93c2f703e0d0a");
const char* const kEucJpSampleText = "<p>日本語のテキスト、表示です</p>\r\n";
const QByteArray kIso2022JpSample =
    QByteArray::fromHex("1b2442467c4b5c386c244e2546252d253925481b28420d0a616263");
const char* const kIso2022JpSampleText = "日本語のテキスト\r\nabc";

} // namespace

class TestDocumentFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QByteArray>("text");

        QTest::newRow("empty") << QByteArray() << QString() << QByteArray();
        QTest::newRow("ascii crlf") << QByteArray("<p>a</p>\r\n<p>b</p>\r\n") << QString()
                                    << QByteArray("<p>a</p>\r\n<p>b</p>\r\n");
        QTest::newRow("lone cr") << QByteArray("a\rb\r\rc\n") << QString()
                                 << QByteArray("a\rb\r\rc\n");
        const QByteArray nul("before\0middle\0\0after", 20);
        QTest::newRow("nul bytes") << nul << QString() << nul;
        const QByteArray utf8 = QByteArray("<p>日本語 ①〜</p>\n");
        QTest::newRow("utf-8 japanese") << utf8 << QString() << utf8;
        const QByteArray bom = "\xef\xbb\xbf<html>";
        QTest::newRow("utf-8 bom") << bom << QString() << bom;
        const QByteArray invalid("ok \xc3\x28 \xff\xfe \xed\xa0\x80 \xc0\xaf end\n");
        QTest::newRow("invalid utf-8") << invalid << QString() << invalid;
        QTest::newRow("shift_jis")
            << kShiftJisSample << QStringLiteral("Shift_JIS") << QByteArray(kShiftJisSampleText);
        QTest::newRow("euc-jp") << kEucJpSample << QStringLiteral("EUC-JP")
                                << QByteArray(kEucJpSampleText);
        QTest::newRow("euc-jp kana and kanji only")
            << QByteArray::fromHex("a4a2a4a4a4a6b4c1bbfa") << QStringLiteral("EUC-JP")
            << QByteArray("あいう漢字");
        QTest::newRow("iso-2022-jp") << kIso2022JpSample << QStringLiteral("ISO-2022-JP")
                                     << QByteArray(kIso2022JpSampleText);
        // Shift_JIS text that does not survive a round trip stays raw bytes.
        const QByteArray truncated = kShiftJisSample + "\x82";
        QTest::newRow("shift_jis cut in a character") << truncated << QString() << truncated;
        const QByteArray nonCanonical = QByteArray::fromHex("82a0ed4082a2");
        QTest::newRow("shift_jis duplicate code") << nonCanonical << QString() << nonCanonical;
        // An escape sequence that the encoder would not write back the same way.
        const QByteArray jisRoman = QByteArray::fromHex("1b2442246224241b284a61");
        QTest::newRow("iso-2022-jp roman") << jisRoman << QString() << jisRoman;
    }

    // Reading gives the expected text and encoding; saving it unchanged gives
    // back exactly the file's bytes.
    void roundTrip()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, encoding);
        QFETCH(QByteArray, text);

        const QString file = path(QStringLiteral("round.htm"));
        QVERIFY(writeRaw(file, bytes));
        DocumentFile::Text read;
        QString error;
        QVERIFY2(DocumentFile::read(file, read, error), qPrintable(error));
        QCOMPARE(read.encoding, encoding);
        QCOMPARE(read.bytes, text);

        QVERIFY(writeRaw(file, "something else"));
        QVERIFY2(DocumentFile::write(file, read.bytes, read.encoding, error), qPrintable(error));
        QCOMPARE(readAll(file), bytes);
    }

    void largeFile()
    {
        // 10 MB of UTF-8 with NUL bytes, CR LF and lone CR, then the same with
        // one invalid byte in the middle.
        QByteArray bytes;
        bytes.reserve(10 * 1024 * 1024 + 64);
        const QByteArray line("<td>表の中身 \0 cell</td>\r\n<br>\r", 39);
        while (bytes.size() < 10 * 1024 * 1024)
            bytes += line;
        for (const QByteArray& content :
             {bytes, QByteArray(bytes).insert(bytes.size() / 2, '\xff')}) {
            const QString file = path(QStringLiteral("large.htm"));
            QVERIFY(writeRaw(file, content));
            DocumentFile::Text read;
            QString error;
            QVERIFY(DocumentFile::read(file, read, error));
            QVERIFY(read.encoding.isEmpty());
            QCOMPARE(read.bytes.size(), content.size());
            QVERIFY(read.bytes == content);
            QVERIFY(DocumentFile::write(file, read.bytes, read.encoding, error));
            QVERIFY(readAll(file) == content);
        }
    }

    void editedLegacyTextIsEncodedBack()
    {
        const QString file = path(QStringLiteral("sjis.htm"));
        QVERIFY(writeRaw(file, kShiftJisSample));
        QString error;
        QVERIFY(DocumentFile::write(file, QByteArray("<p>表示</p>"), QStringLiteral("Shift_JIS"),
                                    error));
        QCOMPARE(readAll(file), QByteArray::fromHex("3c703e955c8ea63c2f703e"));
    }

    void unencodableCharacterRefusesTheSave()
    {
        const QString file = path(QStringLiteral("sjis.htm"));
        QVERIFY(writeRaw(file, kShiftJisSample));
        QString error;
        // U+301C WAVE DASH has no code of its own in Shift_JIS here; the emoji none at all.
        for (const char* text : {"<p>表示〜</p>", "<p>😀</p>"}) {
            QVERIFY(
                !DocumentFile::write(file, QByteArray(text), QStringLiteral("Shift_JIS"), error));
            QVERIFY2(error.startsWith(file + QStringLiteral(" へ書き込めません。")),
                     qPrintable(error));
            QVERIFY(error.contains(QStringLiteral("Shift_JIS")));
            QCOMPARE(readAll(file), kShiftJisSample);
        }
        QVERIFY(error.contains(QStringLiteral("「😀」(U+1F600)")));
        QVERIFY(
            !DocumentFile::write(file, QByteArray("<p>\xff</p>"), QStringLiteral("EUC-JP"), error));
        QCOMPARE(readAll(file), kShiftJisSample);
    }

    void saveKeepsPermissions()
    {
        const QString file = path(QStringLiteral("perm.htm"));
        QVERIFY(writeRaw(file, "old"));
        QVERIFY(::chmod(QFile::encodeName(file).constData(), 0640) == 0);
        QString error;
        QVERIFY(DocumentFile::write(file, "new", QString(), error));
        struct stat st;
        QCOMPARE(::stat(QFile::encodeName(file).constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0640));
        QCOMPARE(readAll(file), QByteArray("new"));
    }

    void saveKeepsOwnerAndGroup()
    {
        if (::geteuid() != 0)
            QSKIP("only root can give a file to another owner");
        const QString file = path(QStringLiteral("owned.htm"));
        QVERIFY(writeRaw(file, "old"));
        QVERIFY(::chown(QFile::encodeName(file).constData(), 65534, 65534) == 0);
        QString error;
        QVERIFY(DocumentFile::write(file, "new", QString(), error));
        struct stat st;
        QCOMPARE(::stat(QFile::encodeName(file).constData(), &st), 0);
        QCOMPARE(st.st_uid, uid_t(65534));
        QCOMPARE(st.st_gid, gid_t(65534));
    }

    void saveThroughSymbolicLink()
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("real"));
        const QString target = path(QStringLiteral("real/target.htm"));
        const QString link = path(QStringLiteral("link.htm"));
        QVERIFY(writeRaw(target, "old"));
        QVERIFY(QFile::link(QStringLiteral("real/target.htm"), link));
        QString error;
        QVERIFY(DocumentFile::write(link, "new", QString(), error));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(QFileInfo(link).symLinkTarget(), QFileInfo(target).absoluteFilePath());
        QCOMPARE(readAll(target), QByteArray("new"));
    }

    void failedSaveNamesTheFileAndKeepsNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("vanished folder") << QStringLiteral("gone/file.htm");
        QTest::newRow("parent is a file") << QStringLiteral("plain.txt/file.htm");
        QTest::newRow("target is a folder") << QStringLiteral("folder");
    }

    void failedSaveNamesTheFileAndKeepsNothing()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        QVERIFY(writeRaw(dir.filePath(QStringLiteral("plain.txt")), "plain"));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("folder")));
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
        const QString file = dir.filePath(name);
        QString error;
        QVERIFY(!DocumentFile::write(file, "text", QString(), error));
        QVERIFY2(error.startsWith(file + QStringLiteral(" へ書き込めません。\n")),
                 qPrintable(error));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
        QCOMPARE(readAll(dir.filePath(QStringLiteral("plain.txt"))), QByteArray("plain"));
    }

    void failedSaveInLockedFolderKeepsOriginal()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("index.htm"));
        QVERIFY(writeRaw(file, "original"));
        if (!setImmutable(dir.path(), true))
            QSKIP("the immutable attribute cannot be set here");
        QString error;
        const bool saved = DocumentFile::write(file, "changed", QString(), error);
        setImmutable(dir.path(), false);
        QVERIFY(!saved);
        QVERIFY2(error.startsWith(file + QStringLiteral(" へ書き込めません。\n")),
                 qPrintable(error));
        QCOMPARE(readAll(file), QByteArray("original"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"index.htm"});
    }

    // A write that fails half-way (the file size limit stands in for a full
    // disk) leaves the original as it was and no temporary file behind.
    void failedWriteKeepsOriginal()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("index.htm"));
        QVERIFY(writeRaw(file, "original"));
        struct rlimit old;
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &old), 0);
        struct rlimit small = old;
        small.rlim_cur = 4096;
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        QString error;
        const bool saved = DocumentFile::write(file, QByteArray(100000, 'x'), QString(), error);
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(!saved);
        QVERIFY2(error.startsWith(file + QStringLiteral(" へ書き込めません。\n")),
                 qPrintable(error));
        QCOMPARE(readAll(file), QByteArray("original"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"index.htm"});
    }

    void readFailures()
    {
        QString error;
        DocumentFile::Text text{"unchanged", QString()};
        const QString missing = path(QStringLiteral("missing.htm"));
        QVERIFY(!DocumentFile::read(missing, text, error));
        QCOMPARE(error,
                 missing + QStringLiteral("\nこのﾌｧｲﾙが見つかりません。\n"
                                          "正しいﾃﾞｨﾚｸﾄﾘとﾌｧｲﾙ名を確認して入力してください。"));
        QCOMPARE(text.bytes, QByteArray("unchanged"));

        const QString dangling = path(QStringLiteral("dangling.htm"));
        QVERIFY(QFile::link(missing, dangling));
        QVERIFY(!DocumentFile::read(dangling, text, error));
        QVERIFY(error.contains(QStringLiteral("このﾌｧｲﾙが見つかりません。")));

        // A folder and a named pipe are refused at once; the pipe must not block.
        const QString fifo = path(QStringLiteral("pipe"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        for (const QString& name : {m_dir.path(), fifo}) {
            QVERIFY(!DocumentFile::read(name, text, error));
            QVERIFY2(error.startsWith(name + QStringLiteral(" を読み込めません。\n")),
                     qPrintable(error));
        }

        if (::geteuid() != 0) {
            const QString locked = path(QStringLiteral("locked.htm"));
            QVERIFY(writeRaw(locked, "secret"));
            QVERIFY(::chmod(QFile::encodeName(locked).constData(), 0) == 0);
            QVERIFY(!DocumentFile::read(locked, text, error));
            QVERIFY(error.startsWith(locked + QStringLiteral(" を読み込めません。\n")));
        }
        QCOMPARE(text.bytes, QByteArray("unchanged"));
    }
};

MARQUILL_TEST_MAIN(TestDocumentFile)
#include "tst_document_file.moc"
