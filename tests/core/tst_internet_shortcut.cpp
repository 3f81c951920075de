#include "core/internet_shortcut.h"
#include "test_support.h"

// The web address read from an Internet shortcut file.
class TestInternetShortcut : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void address_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("expected"); // empty: no address

        QTest::newRow("plain") << QByteArray("[InternetShortcut]\nURL=https://example.org/\n")
                               << "https://example.org/";
        QTest::newRow("CR LF, byte-order mark, blanks")
            << QByteArray("\xEF\xBB\xBF[InternetShortcut]\r\n  URL = http://example.org/a b \r\n")
            << "http://example.org/a%20b";
        QTest::newRow("names in any case")
            << QByteArray("[internetshortcut]\nurl=https://example.org/x")
            << "https://example.org/x";
        QTest::newRow("after other sections")
            << QByteArray("[DEFAULT]\nBASEURL=https://a.example/\nURL=https://b.example/\n"
                          "[InternetShortcut]\nIconIndex=0\nURL=https://c.example/\n")
            << "https://c.example/";
        QTest::newRow("first of two") << QByteArray("[InternetShortcut]\nURL=https://a.example/\n"
                                                    "URL=https://b.example/\n")
                                      << "https://a.example/";
        QTest::newRow("only in another section")
            << QByteArray("[Other]\nURL=https://a.example/\n[InternetShortcut]\nIconFile=x\n")
            << "";
        QTest::newRow("no section") << QByteArray("URL=https://a.example/\n") << "";
        QTest::newRow("empty value") << QByteArray("[InternetShortcut]\nURL=\n") << "";
        QTest::newRow("key that only ends in URL")
            << QByteArray("[InternetShortcut]\nBASEURL=https://a.example/\n") << "";
        QTest::newRow("local file")
            << QByteArray("[InternetShortcut]\nURL=file:///etc/passwd\n") << "";
        QTest::newRow("script") << QByteArray("[InternetShortcut]\nURL=javascript:alert(1)\n")
                                << "";
        QTest::newRow("without a host")
            << QByteArray("[InternetShortcut]\nURL=www.example.org\n") << "";
        QTest::newRow("empty file") << QByteArray() << "";
        QTest::newRow("binary") << QByteArray("\x00\xFF[\x01", 4) << "";
    }

    void address()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, expected);
        QCOMPARE(InternetShortcut::address(contents).toString(QUrl::FullyEncoded), expected);
    }
};

MARQUILL_TEST_MAIN(TestInternetShortcut)
#include "tst_internet_shortcut.moc"
