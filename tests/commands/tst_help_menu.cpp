#include "app/marquill_app.h"
#include "commands/help_menu.h"
#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "core/web_browser.h"
#include "frame/document_manager.h"
#include "frame/main_frame.h"
#include "resources/command_ids.h"
#include "test_support.h"

// The help guide and the home page, found among the program's installed
// files (here: the data folder of the isolated settings) and handed to the
// web browser.
class TestHelpMenu : public QObject
{
    Q_OBJECT

private:
    QList<QUrl> m_opened;
    QStringList m_messages;

    static QString dataFile(const QString& name)
    {
        return qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/marquill/") + name;
    }

    // Puts what the row names at the data folder's path: "file" with the
    // given contents, "folder", or nothing.
    static void place(const QString& name, const QString& what, const QByteArray& contents = {})
    {
        const QString path = dataFile(name);
        QDir(dataFile(QString())).removeRecursively();
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (what == QLatin1String("folder")) {
            QDir().mkpath(path);
        } else if (what == QLatin1String("file")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(contents);
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        // Copies of Marquill installed on this machine stay out of the lookup.
        qputenv("XDG_DATA_DIRS", qgetenv("XDG_DATA_HOME"));
    }

    void init()
    {
        m_opened.clear();
        m_messages.clear();
        WebBrowser::setHook([this](const QUrl& url) {
            m_opened.append(url);
            return true;
        });
        UiSeam::setMessageHook(
            [this](const QString& text, QMessageBox::Icon, QMessageBox::StandardButtons) {
                m_messages.append(text);
                return QMessageBox::Ok;
            });
        UiSeam::setDialogHook([](QDialog&) { return int(QDialog::Rejected); });
    }

    void cleanup()
    {
        WebBrowser::setHook({});
        UiSeam::setMessageHook({});
        UiSeam::setDialogHook({});
        QDir(dataFile(QString())).removeRecursively();
    }

    void guide_data()
    {
        QTest::addColumn<QString>("lies");
        QTest::addColumn<bool>("opened");
        QTest::addColumn<QString>("message"); // start of the message shown, empty: none

        QTest::newRow("installed") << "file" << true << "";
        QTest::newRow("missing") << "" << false
                                 << "ヘルプ ファイル help/index.html が見つかりません。";
        QTest::newRow("a folder in its place")
            << "folder" << false << "ヘルプ ファイル help/index.html が見つかりません。";
    }

    void guide()
    {
        QFETCH(QString, lies);
        QFETCH(bool, opened);
        QFETCH(QString, message);
        place(QStringLiteral("help/index.html"), lies, "<!DOCTYPE html>");
        QCOMPARE(HelpMenu::openGuide(nullptr), opened);
        const QList<QUrl> expected{
            QUrl::fromLocalFile(dataFile(QStringLiteral("help/index.html")))};
        QCOMPARE(m_opened, opened ? expected : QList<QUrl>());
        QCOMPARE(m_messages.value(0).section(QLatin1Char('\n'), 0, 0), message);
    }

    // F1, Shift+F1 and the help menu's topic search, with or without a
    // document open.
    void everyHelpCommandOpensTheGuide_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<bool>("withDocument");
        QTest::newRow("topic search") << int(Cmd::HelpFinder) << false;
        QTest::newRow("default help") << int(Cmd::DefaultHelp) << false;
        QTest::newRow("F1") << int(Cmd::Help) << true;
        QTest::newRow("Shift+F1") << int(Cmd::ContextHelp) << true;
    }

    void everyHelpCommandOpensTheGuide()
    {
        QFETCH(int, id);
        QFETCH(bool, withDocument);
        place(QStringLiteral("help/index.html"), QStringLiteral("file"));
        CMarquillApp app;
        QVERIFY(app.initInstance({QStringLiteral("marquill")}));
        if (withDocument)
            QVERIFY(app.documentManager()->fileNew());
        QVERIFY(app.mainFrame()->routeCommand(id));
        QCOMPARE(m_opened.size(), 1);
        app.documentManager()->closeAllDocumentsWithoutAsking();
        delete app.mainFrame();
    }

    void homePage_data()
    {
        QTest::addColumn<QString>("lies");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("opened");  // empty: nothing opened
        QTest::addColumn<QString>("message"); // a part of it; empty: none

        const QByteArray shortcut("[InternetShortcut]\r\nURL=https://example.org/marquill/\r\n");
        QTest::newRow("address") << "file" << shortcut << "https://example.org/marquill/"
                                 << "";
        QTest::newRow("the user's own, beside the settings")
            << "own" << QByteArray("[InternetShortcut]\nURL=https://example.org/own/\n")
            << "https://example.org/own/"
            << "";
        QTest::newRow("no shortcut file: put one beside the settings")
            << "" << QByteArray() << "" << settingsFolder() + " に置いてください。";
        QTest::newRow("a folder in its place") << "folder" << QByteArray() << ""
                                               << "marquill.url";
        QTest::newRow("no address") << "file" << QByteArray("[InternetShortcut]\r\n") << ""
                                    << "アドレスがありません";
        QTest::newRow("not a web address")
            << "file" << QByteArray("[InternetShortcut]\nURL=file:///bin/sh\n") << ""
            << "アドレスがありません";
    }

    void homePage()
    {
        QFETCH(QString, lies);
        QFETCH(QByteArray, contents);
        QFETCH(QString, opened);
        QFETCH(QString, message);
        const QString own = QDir(settingsFolder()).filePath(QStringLiteral("marquill.url"));
        QFile::remove(own);
        if (lies == QLatin1String("own")) {
            // An installed shortcut lies there too: the user's own comes first.
            place(QStringLiteral("marquill.url"), QStringLiteral("file"),
                  "[InternetShortcut]\nURL=https://example.org/installed/\n");
            QDir().mkpath(settingsFolder());
            QFile f(own);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(contents);
        } else {
            place(QStringLiteral("marquill.url"), lies, contents);
        }
        HelpMenu::openHomePage(nullptr);
        QCOMPARE(m_opened.value(0).toString(), opened);
        QCOMPARE(m_messages.size(), message.isEmpty() ? 0 : 1);
        QVERIFY2(m_messages.value(0).contains(message), qPrintable(m_messages.value(0)));
        QFile::remove(own);
    }
};

MARQUILL_TEST_MAIN(TestHelpMenu)
#include "tst_help_menu.moc"
