#include "core/settings_store.h"
#include "core/web_browser.h"
#include "test_support.h"

// Which browser shows a page: looked up through a desktop made up in a
// temporary folder (its search path, its xdg-mime, its desktop entries).
class TestWebBrowser : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    const QUrl m_page = QUrl::fromLocalFile(QStringLiteral("/tmp/a b.htm"));

    QString bin(const QString& name = QString()) const { return m_dir.filePath("bin/" + name); }

    void writeProgram(const QString& name, const QByteArray& script = "exit 0\n")
    {
        QFile f(bin(name));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("#!/bin/sh\n" + script);
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void writeEntry(const QString& id, const QByteArray& exec, const QByteArray& categories)
    {
        const QString folder = qEnvironmentVariable("XDG_DATA_HOME") + "/applications/";
        QDir().mkpath(folder);
        QFile f(folder + id);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("[Desktop Entry]\nType=Application\nName=X\nExec=" + exec +
                "\nCategories=" + categories + "\n[Desktop Action new]\nExec=wrong %u\n");
    }

private Q_SLOTS:
    void initTestCase()
    {
        QDir().mkpath(bin());
        qputenv("PATH", bin().toUtf8());
        qputenv("XDG_DATA_DIRS", qgetenv("XDG_DATA_HOME"));
        writeProgram("fakefox");
        writeProgram("fakelynx");
        writeProgram("x-www-browser");
        writeProgram("marquill");
        writeProgram("geany");
        writeEntry("geany.desktop", "geany %F", "GTK;Development;IDE;TextEditor;");
        writeEntry("marquill.desktop", "marquill %f", "Development;WebDevelopment;");
    }

    void init()
    {
        qunsetenv("BROWSER");
        qunsetenv("DISPLAY");
        qunsetenv("WAYLAND_DISPLAY");
        TestSupport::clearSettings();
    }

    void choice_data()
    {
        QTest::addColumn<QString>("program"); // the options sheet's
        QTest::addColumn<QString>("handler"); // of http addresses; empty: no xdg-mime
        QTest::addColumn<QByteArray>("browserVariable");
        QTest::addColumn<bool>("display");
        QTest::addColumn<bool>("installed");  // fakefox's desktop entry
        QTest::addColumn<QString>("started"); // program and arguments, {page}; or the message

        QTest::newRow("the desktop's web browser") << ""
                                                   << "fakefox.desktop" << QByteArray("fakelynx")
                                                   << true << true << "fakefox --new-window {page}";
        QTest::newRow("a text editor as the handler: BROWSER")
            << ""
            << "geany.desktop" << QByteArray("nothing:fakelynx -dump %s:fakefox") << false << true
            << "fakelynx -dump {page}";
        QTest::newRow("this program as the handler: the system's browser")
            << ""
            << "marquill.desktop" << QByteArray() << true << true << "x-www-browser {page}";
        QTest::newRow("a text editor as the handler, nothing else: an installed browser")
            << ""
            << "geany.desktop" << QByteArray() << false << true << "fakefox --new-window {page}";
        QTest::newRow("no browser at all")
            << ""
            << "" << QByteArray() << false << false << "を表示する WWW ブラウザが見つかりません。";
        QTest::newRow("the user's program first")
            << "fakelynx --private"
            << "fakefox.desktop" << QByteArray() << true << true << "fakelynx --private {page}";
        QTest::newRow("the user's program missing")
            << "nonexistent %s"
            << "fakefox.desktop" << QByteArray() << true << true
            << "一般設定で指定したブラウザ nonexistent %s が見つかりません。";
    }

    void choice()
    {
        QFETCH(QString, program);
        QFETCH(QString, handler);
        QFETCH(QByteArray, browserVariable);
        QFETCH(bool, display);
        QFETCH(bool, installed);
        QFETCH(QString, started);
        writeProfileString(QStringLiteral("Options"), QStringLiteral("BrowserProgram"), program);
        if (handler.isEmpty())
            QFile::remove(bin("xdg-mime"));
        else
            writeProgram("xdg-mime", "echo " + handler.toUtf8() + "\n");
        if (installed)
            writeEntry("fakefox.desktop", "fakefox --new-window %u", "Network;WebBrowser;");
        else
            QFile::remove(qEnvironmentVariable("XDG_DATA_HOME") + "/applications/fakefox.desktop");
        if (!browserVariable.isEmpty())
            qputenv("BROWSER", browserVariable);
        if (display)
            qputenv("DISPLAY", ":0");

        const WebBrowser::Launch launch = WebBrowser::launchFor(m_page);
        if (launch.program.isEmpty()) {
            QVERIFY2(launch.message.contains(started), qPrintable(launch.message));
            return;
        }
        QCOMPARE(launch.program, bin(started.section(' ', 0, 0)));
        QCOMPARE(launch.arguments.join(' '),
                 started.section(" ", 1).replace("{page}", m_page.toString(QUrl::FullyEncoded)));
    }

    // The page reaches the browser as one argument.
    void thePageReachesTheBrowser()
    {
        const QString record = m_dir.filePath(QStringLiteral("record"));
        writeProgram("recorder", "printf '%s|' \"$@\" > '" + record.toUtf8() + "'\n");
        writeProfileString(QStringLiteral("Options"), QStringLiteral("BrowserProgram"),
                           bin("recorder"));
        QVERIFY(WebBrowser::open(m_page));
        QFile f(record);
        QTRY_VERIFY(f.exists() && f.size() > 0);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), "file:///tmp/a%20b.htm|");
    }

    void execArguments_data()
    {
        QTest::addColumn<QString>("exec");
        QTest::addColumn<QStringList>("arguments");
        const QString page = QStringLiteral("https://example.org/a");
        QTest::newRow("quoted program, every address")
            << "\"/opt/My Browser/run\" --new %U"
            << QStringList{"/opt/My Browser/run", "--new", page};
        QTest::newRow("codes that are dropped, address appended")
            << "browser %i %c --x=100%%" << QStringList{"browser", "--x=100%", page};
        QTest::newRow("escapes inside quotes, code kept there")
            << "browser \"say \\\"%u\\\"\" --app=%u"
            << QStringList{"browser", "say \"%u\"", "--app=" + page};
    }

    void execArguments()
    {
        QFETCH(QString, exec);
        QFETCH(QStringList, arguments);
        QCOMPARE(WebBrowser::execArguments(exec, QUrl(QStringLiteral("https://example.org/a"))),
                 arguments);
    }
};

MARQUILL_TEST_MAIN(TestWebBrowser)
#include "tst_web_browser.moc"
