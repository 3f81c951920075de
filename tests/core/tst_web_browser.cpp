#include "core/web_browser.h"
#include "test_support.h"

// Which program shows a page that must open in a web browser.
class TestWebBrowser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void choose_data()
    {
        QTest::addColumn<QString>("browserVariable");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("expected"); // empty: the desktop's handler

        const QStringList both{"sensible-browser", "x-www-browser"};
        QTest::newRow("system browser on X") << ""
                                             << ":0" << both << "/usr/bin/sensible-browser";
        QTest::newRow("user's BROWSER without X")
            << "firefox"
            << "" << QStringList{"sensible-browser"} << "/usr/bin/sensible-browser";
        QTest::newRow("blank BROWSER, no system browser")
            << "  "
            << ":0" << QStringList{"sensible-browser"} << "";
        QTest::newRow("system browser, Wayland only") << ""
                                                      << "" << both << "";
        QTest::newRow("without sensible-browser") << "firefox"
                                                  << ":0" << QStringList{"x-www-browser"} << "";
    }

    void choose()
    {
        QFETCH(QString, browserVariable);
        QFETCH(QString, display);
        QFETCH(QStringList, installed);
        QFETCH(QString, expected);
        const auto find = [&](const QString& name) {
            return installed.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
        };
        QCOMPARE(WebBrowser::choose(browserVariable, display, find).program, expected);
    }
};

MARQUILL_TEST_MAIN(TestWebBrowser)
#include "tst_web_browser.moc"
