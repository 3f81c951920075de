#include "test_support.h"

#include "core/file_names.h"

#include <fcntl.h>
#include <unistd.h>

class TestFileNames : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nameBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("utf8");

        QTest::newRow("ASCII") << QByteArray("/srv/www/index.htm") << "/srv/www/index.htm" << true;
        QTest::newRow("UTF-8") << QByteArray("/home/u/\xe3\x83\x9a\xe3\x83\xbc\xe3\x82\xb8.htm")
                               << "/home/u/ページ.htm" << true;
        QTest::newRow("Shift_JIS, trail byte in ASCII")
            << QByteArray("/home/u/\x83y\x81[\x83W.htm") << "/home/u/ページ.htm" << false;
        QTest::newRow("Shift_JIS folder, UTF-8 file")
            << QByteArray("/\x95\\\x8e\xa6/\xe3\x81\x82.htm") << "/表示/あ.htm" << false;
        QTest::newRow("EUC-JP") << QByteArray("/a/\xa5\xda\xa1\xbc\xa5\xb8.htm") << "/a/ページ.htm"
                                << false;
        QTest::newRow("neither") << QByteArray("/a/\xff\xfe.htm") << "/a/\\xff\\xfe.htm" << false;
        QTest::newRow("overlong NUL") << QByteArray("/a/\xc0\x80") << "/a/\\xc0\\x80" << false;
        QTest::newRow("UTF-8 of a surrogate")
            << QByteArray("/a/\xed\xa0\x80x") << "/a/\\xed\\xa0\\x80x" << false;
        QTest::newRow("cut at the end") << QByteArray("/a/x\xe3") << "/a/x\\xe3" << false;
    }

    // Catches a name that does not come back to its own bytes (the file is
    // "not found", or a save writes a new file beside it), a valid name that
    // is changed, and a name shown as boxes or question marks.
    void nameBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        QFETCH(bool, utf8);
        const QString path = FileNames::decode(bytes);
        QCOMPARE(FileNames::encode(path), bytes);
        QCOMPARE(FileNames::hasRawBytes(path), !utf8);
        if (utf8)
            QCOMPARE(path, QString::fromUtf8(bytes));
        QCOMPARE(FileNames::display(path), shown);
        QCOMPARE(FileNames::displayFileName(path), shown.mid(shown.lastIndexOf('/') + 1));
    }

    // Catches a file chosen in Qt's file dialog, which reads such a name with
    // U+FFFD, being reported missing.
    void lossyNameFindsTheFile()
    {
        QTemporaryDir dir;
        const QByteArray name = QFile::encodeName(dir.path()) + "/\x83y\x81[\x83W.htm";
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT, 0644);
        QVERIFY(fd >= 0);
        ::close(fd);
        const QString lossy = QString::fromUtf8(name);
        QCOMPARE(FileNames::encode(FileNames::findLossyName(lossy)), name);
        ::unlink(name.constData());
        QCOMPARE(FileNames::findLossyName(lossy), lossy);
    }

    // Fault: two names that are not UTF-8 (which Qt finds no file for) taken
    // for one file, so that opening the second showed the first.
    void sameFileByTheBytes()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath(QStringLiteral("a")) + QChar(0xDC93);
        const QString b = dir.filePath(QStringLiteral("b")) + QChar(0xDC93);
        for (const QString& path : {a, b})
            QVERIFY(::close(::open(FileNames::encode(path).constData(), O_CREAT, 0644)) == 0);
        QVERIFY(::symlink(FileNames::encode(a).constData(),
                          QFile::encodeName(dir.filePath(QStringLiteral("l")))) == 0);
        QVERIFY(!FileNames::sameFile(a, b));
        QVERIFY(FileNames::sameFile(dir.filePath(QStringLiteral("l")), a));
        QVERIFY(!FileNames::sameFile(dir.filePath(QStringLiteral("x")),
                                     dir.filePath(QStringLiteral("y"))));
    }
};

MARQUILL_TEST_MAIN(TestFileNames)
#include "tst_file_names.moc"
