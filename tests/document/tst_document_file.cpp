#include "test_support.h"

#include "document/document_file.h"
#include "document/encoding_samples.h"
#include "document/in_place_write.h"
#include "document/text_encoding.h"
#include "document/text_reader.h"

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

// Bytes of address space the process uses now.
rlim_t addressSpaceInUse()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmSize:"))
            return rlim_t(line.simplified().split(' ').value(1).toULongLong()) * 1024;
    }
    return 0;
}

// Whether Qt's own decoder takes bytes for UTF-8, independent of the program's validator.
bool strictUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8);
    const QString text = decoder.decode(bytes);
    Q_UNUSED(text);
    return !decoder.hasError();
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

        // Half-width katakana are ordinary in both Japanese encodings.
        QTest::newRow("euc-jp half-width katakana")
            << QByteArray::fromHex("8eb18eb28eb38eb48eb5208eb68ede8eb78ede")
            << QStringLiteral("EUC-JP") << QByteArray("ｱｲｳｴｵ ｶﾞｷﾞ");
        QTest::newRow("shift_jis half-width katakana")
            << QByteArray::fromHex("b6c0b6c520c3deb0c0") << QStringLiteral("Shift_JIS")
            << QByteArray("ｶﾀｶﾅ ﾃﾞｰﾀ");
        QTest::newRow("euc-jp kanji only") << QByteArray::fromHex("b3f4bcb0b2f1bcd2")
                                           << QStringLiteral("EUC-JP") << QByteArray("株式会社");
        QTest::newRow("iso-2022-jp ending in japanese")
            << QByteArray::fromHex("3c703e1b2442467c4b5c386c1b2842")
            << QStringLiteral("ISO-2022-JP") << QByteArray("<p>日本語");
        QTest::newRow("utf-16le with byte-order mark")
            << QByteArray::fromHex("fffe3c0070003e00e5652c673c002f0070003e000d000a00")
            << QStringLiteral("UTF-16LE") << QByteArray("<p>日本</p>\r\n");
        QTest::newRow("utf-16be with byte-order mark")
            << QByteArray::fromHex("feff003c0070003e65e5672c") << QStringLiteral("UTF-16BE")
            << QByteArray("<p>日本");
        QTest::newRow("meta charset latin-1")
            << QByteArray("<meta charset=\"ISO-8859-1\"><p>caf\xe9</p>")
            << QStringLiteral("ISO-8859-1")
            << QByteArray("<meta charset=\"ISO-8859-1\"><p>café</p>");
        QTest::newRow("http-equiv windows-1252")
            << QByteArray("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
                          "charset=windows-1252\">\x93\xe9\x94")
            << QStringLiteral("Windows-1252")
            << QByteArray("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
                          "charset=windows-1252\">“é”");
        QTest::newRow("xml declaration, ascii text")
            << QByteArray("<?xml version=\"1.0\" encoding='Shift_JIS'?>\n<a/>")
            << QStringLiteral("Shift_JIS")
            << QByteArray("<?xml version=\"1.0\" encoding='Shift_JIS'?>\n<a/>");
        // A declaration that does not fit the bytes gives way to what they are.
        const QByteArray utf8Declared = "<meta charset=\"Shift_JIS\">日本語";
        QTest::newRow("utf-8 text declared shift_jis") << utf8Declared << QString() << utf8Declared;
        QTest::newRow("euc-jp text declared iso-2022-jp")
            << QByteArray("<meta charset=iso-2022-jp>") + kEucJpSample << QStringLiteral("EUC-JP")
            << QByteArray("<meta charset=iso-2022-jp>") + kEucJpSampleText;
        QTest::newRow("utf-16 text starting with U+FEFF")
            << QByteArray::fromHex("fefffeff0041") << QStringLiteral("UTF-16BE")
            << QByteArray("\xef\xbb\xbf"
                          "A");
        // A lone surrogate has no UTF-8 form: converted, it would be lost.
        const QByteArray loneSurrogate = QByteArray::fromHex("fffe410070dc4200");
        QTest::newRow("utf-16 with a lone surrogate")
            << loneSurrogate << QString() << loneSurrogate;
        // An encoding that switches character sets by shifts, declared:
        // its shifts may fall anywhere between pieces read.
        QTest::newRow("declared iso-2022-cn")
            << QByteArray("<meta charset=\"ISO-2022-CN\">\n<p>\x1b$)A\x0eVPND\x0f</p>\n")
            << QStringLiteral("ISO-2022-CN")
            << QByteArray("<meta charset=\"ISO-2022-CN\">\n<p>中文</p>\n");
        const QByteArray utf16Declared = "<meta charset=\"UTF-16\">\xff";
        QTest::newRow("utf-16 declared in an 8-bit file")
            << utf16Declared << QString() << utf16Declared;
        // Bytes both Japanese encodings read alike, and score alike: Shift_JIS.
        QTest::newRow("shift_jis and euc-jp tie")
            << QByteArray("<p>\x81\x80\x81\x80</p>") << QStringLiteral("Shift_JIS")
            << QByteArray("<p>÷÷</p>");
        // The EUC-JP kanji 院院 are Shift_JIS's ｱ｡ｱ｡, which score just below
        // them: a kanji weighed any lower loses to the half-width katakana.
        QTest::newRow("euc-jp kanji against half-width katakana")
            << QByteArray::fromHex("3c703eb1a1b1a1") << QStringLiteral("EUC-JP")
            << QByteArray("<p>院院");
        // Sequences of UTF-8's form that stand for no character.
        for (const char* hex : {"f4908080", "f5808080", "edbfbf"}) {
            const QByteArray bytes = QByteArray::fromHex(hex);
            QTest::newRow(hex) << bytes << QString() << bytes;
        }
    }

    // Reading gives the expected text and encoding; saving it gives back the file's bytes.
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
        QCOMPARE(read.unconverted, encoding.isEmpty() && !strictUtf8(bytes));

        QVERIFY(writeRaw(file, "something else"));
        QVERIFY2(DocumentFile::write(file, read.bytes, read.encoding, error), qPrintable(error));
        QCOMPARE(readAll(file), bytes);
    }

    // Read in small pieces (characters, escape sequences and declarations
    // cut between pieces), a file gives what it gives read whole; the
    // receiver begins again only for a converted text, told its exact size.
    void readInPieces_data() { roundTrip_data(); }
    void readInPieces()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, encoding);
        QFETCH(QByteArray, text);
        struct Sink : CTextSink
        {
            QByteArray text;
            int begun = 0;
            qint64 announced = -1;
            bool beginText(qint64 size) override
            {
                text.clear();
                ++begun;
                announced = size;
                return true;
            }
            bool appendText(QByteArrayView piece) override
            {
                text.append(piece);
                return true;
            }
        };
        const QString file = path(QStringLiteral("pieces.htm"));
        QVERIFY(writeRaw(file, bytes));
        DocumentFile::Text whole;
        QString error;
        QVERIFY2(DocumentFile::read(file, whole, error), qPrintable(error));
        for (qint64 pieceSize : {1, 2, 3, 5, 4096}) {
            Sink sink;
            TextReader::Kind kind;
            QVERIFY2(TextReader::read(file, sink, kind, error, pieceSize), qPrintable(error));
            QCOMPARE(kind.encoding, encoding);
            QCOMPARE(kind.unconverted, whole.unconverted);
            QCOMPARE(sink.text, text);
            QCOMPARE(sink.begun, encoding.isEmpty() ? 1 : 2);
            QCOMPARE(sink.announced, text.size());
        }
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
        QVERIFY(error.contains(QStringLiteral("「😀」(U+1F600、1 行目)")));
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

    // A writable file in a folder that may not be written is written in
    // place; its old bytes wait in the cache folder only while it is written.
    void lockedFolderIsWrittenInPlace()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("index.htm"));
        QVERIFY(writeRaw(file, "original text"));
        if (!setImmutable(dir.path(), true))
            QSKIP("the immutable attribute cannot be set here");
        QString error;
        const bool saved = DocumentFile::write(file, "new", QString(), error);
        setImmutable(dir.path(), false);
        QVERIFY2(saved, qPrintable(error));
        QCOMPARE(readAll(file), QByteArray("new"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"index.htm"});
        QCOMPARE(QDir(InPlaceWrite::backupFolder()).entryList(QDir::Files), QStringList());
    }

    // When not even the cache folder can take the old bytes, nothing is written.
    void lockedFolderWithoutCacheRefuses()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("index.htm"));
        QVERIFY(writeRaw(file, "original"));
        const QByteArray cache = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", QFile::encodeName(file + QStringLiteral("/cache")));
        if (!setImmutable(dir.path(), true)) {
            qputenv("XDG_CACHE_HOME", cache);
            QSKIP("the immutable attribute cannot be set here");
        }
        QString error;
        const bool saved = DocumentFile::write(file, "changed", QString(), error);
        setImmutable(dir.path(), false);
        qputenv("XDG_CACHE_HOME", cache);
        QVERIFY(!saved);
        QVERIFY2(error.startsWith(file + QStringLiteral(" へ書き込めません。\n元の内容を")),
                 qPrintable(error));
        QCOMPARE(readAll(file), QByteArray("original"));
    }

    void saveKeepsModeBits_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("hardLinked");
        QTest::newRow("setgid 2755") << 02755 << false;
        QTest::newRow("sticky 1644") << 01644 << false;
        QTest::newRow("setuid 4755") << 04755 << false;
        QTest::newRow("setgid 2755, hard-linked") << 02755 << true;
        QTest::newRow("setuid and sticky 5700, hard-linked") << 05700 << true;
    }

    void saveKeepsModeBits()
    {
        QFETCH(int, mode);
        QFETCH(bool, hardLinked);
        const QString file = path(QStringLiteral("mode.htm"));
        QFile::remove(file);
        QVERIFY(writeRaw(file, "old"));
        const QString other = path(QStringLiteral("mode-link.htm"));
        QFile::remove(other);
        if (hardLinked)
            QCOMPARE(
                ::link(QFile::encodeName(file).constData(), QFile::encodeName(other).constData()),
                0);
        QVERIFY(::chmod(QFile::encodeName(file).constData(), mode_t(mode)) == 0);
        QString error;
        QVERIFY2(DocumentFile::write(file, "new", QString(), error), qPrintable(error));
        struct stat st;
        QCOMPARE(::stat(QFile::encodeName(file).constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, mode_t(mode));
        QCOMPARE(readAll(file), QByteArray("new"));
    }

    // Every name of a file with several hard links sees the saved text.
    void hardLinksKeepTheirFile()
    {
        const QString first = path(QStringLiteral("first.htm"));
        const QString second = path(QStringLiteral("sub/second.htm"));
        QDir(m_dir.path()).mkpath(QStringLiteral("sub"));
        QVERIFY(writeRaw(first, "a longer old text"));
        QCOMPARE(
            ::link(QFile::encodeName(first).constData(), QFile::encodeName(second).constData()), 0);
        QString error;
        QVERIFY2(DocumentFile::write(second, "new", QString(), error), qPrintable(error));
        QCOMPARE(readAll(first), QByteArray("new"));
        struct stat a;
        struct stat b;
        QCOMPARE(::stat(QFile::encodeName(first).constData(), &a), 0);
        QCOMPARE(::stat(QFile::encodeName(second).constData(), &b), 0);
        QCOMPARE(a.st_ino, b.st_ino);
        QCOMPARE(a.st_nlink, nlink_t(2));
        QCOMPARE(QDir(InPlaceWrite::backupFolder()).entryList(QDir::Files), QStringList());
    }

    void failedWriteKeepsOriginal_data()
    {
        QTest::addColumn<bool>("hardLinked");
        QTest::newRow("replaced") << false;
        QTest::newRow("written in place") << true;
    }

    // A write that fails half-way (the file size limit stands in for a full
    // disk) leaves the original as it was and no temporary file behind.
    void failedWriteKeepsOriginal()
    {
        QFETCH(bool, hardLinked);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("index.htm"));
        QVERIFY(writeRaw(file, "original"));
        QStringList names{QStringLiteral("index.htm")};
        if (hardLinked) {
            const QString other = dir.filePath(QStringLiteral("other.htm"));
            QCOMPARE(
                ::link(QFile::encodeName(file).constData(), QFile::encodeName(other).constData()),
                0);
            names.append(QStringLiteral("other.htm"));
        }
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
        names.sort();
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), names);
        QCOMPARE(QDir(InPlaceWrite::backupFolder()).entryList(QDir::Files), QStringList());
    }

    void fileTooLargeToHold_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("limitMemory");
        QTest::addColumn<QString>("reason");
        QTest::newRow("100 GB") << Q_INT64_C(100) * 1024 * 1024 * 1024 << false
                                << QStringLiteral("ファイルが大きすぎます");
        QTest::newRow("2 GB") << Q_INT64_C(0x7FFFFFFF) << false
                              << QStringLiteral("ファイルが大きすぎます");
        QTest::newRow("memory runs out")
            << Q_INT64_C(512) * 1024 * 1024 << true << QStringLiteral("メモリが不足しています。");
    }

    void fileTooLargeToHold()
    {
        QFETCH(qint64, size);
        QFETCH(bool, limitMemory);
        QFETCH(QString, reason);
        const QString file = path(QStringLiteral("huge.htm"));
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QVERIFY(f.resize(size)); // sparse: takes no room on the disk
        }
        struct rlimit old;
        QCOMPARE(::getrlimit(RLIMIT_AS, &old), 0);
        if (limitMemory) {
            struct rlimit small = old;
            small.rlim_cur = addressSpaceInUse() + 256 * 1024 * 1024;
            QCOMPARE(::setrlimit(RLIMIT_AS, &small), 0);
        }
        DocumentFile::Text text{"unchanged", QString(), false};
        QString error;
        const bool read = DocumentFile::read(file, text, error);
        ::setrlimit(RLIMIT_AS, &old);
        QFile::remove(file);
        QVERIFY(!read);
        QVERIFY2(error.startsWith(file + QStringLiteral(" を読み込めません。\n") + reason),
                 qPrintable(error));
        QCOMPARE(text.bytes, QByteArray("unchanged"));
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

        // Two links that lead to each other: a loop, not a missing file.
        const QString loop = path(QStringLiteral("loop.htm"));
        QVERIFY(QFile::link(path(QStringLiteral("loop2.htm")), loop));
        QVERIFY(QFile::link(loop, path(QStringLiteral("loop2.htm"))));
        QVERIFY(!DocumentFile::read(loop, text, error));
        QCOMPARE(error, loop + QStringLiteral(
                                   " を読み込めません。\nシンボリックリンクが循環しています。"));

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
