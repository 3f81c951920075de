#include "test_support.h"

#include "core/settings_store.h"
#include "document/recent_file_list.h"

class TestRecentFileList : public QObject
{
    Q_OBJECT

private:
    QString m_startFolder;

    static QStringList numbered(int count)
    {
        QStringList files;
        for (int i = 1; i <= count; ++i)
            files << QStringLiteral("/home/u/f%1.htm").arg(i);
        return files;
    }

    static CRecentFileList listOf(const QStringList& mostRecentFirst)
    {
        CRecentFileList list;
        for (auto it = mostRecentFirst.crbegin(); it != mostRecentFirst.crend(); ++it)
            list.add(*it);
        return list;
    }

    static bool stored(int number)
    {
        return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tollbury"),
                         QStringLiteral("Marquill"))
            .contains(QStringLiteral("Recent File List/File%1").arg(number));
    }

private Q_SLOTS:
    void initTestCase() { m_startFolder = QDir::currentPath(); }
    void init() { TestSupport::clearSettings(); }
    void cleanup() { QDir::setCurrent(m_startFolder); }

    void addKeepsMostRecentFirst()
    {
        CRecentFileList list;
        list.add(QStringLiteral("/a/x.htm"));
        list.add(QStringLiteral("/a/y.htm"));
        list.add(QString());
        QCOMPARE(list.entries(), (QStringList{"/a/y.htm", "/a/x.htm"}));
        list.add(QStringLiteral("/a/x.htm"));
        QCOMPARE(list.entries(), (QStringList{"/a/x.htm", "/a/y.htm"}));
        // Linux file names differ by case.
        list.add(QStringLiteral("/a/X.htm"));
        QCOMPARE(list.entries(), (QStringList{"/a/X.htm", "/a/x.htm", "/a/y.htm"}));
    }

    void tenthEntryFallsOff()
    {
        CRecentFileList list = listOf(numbered(9));
        list.add(QStringLiteral("/new.htm"));
        QCOMPARE(list.count(), 9);
        QCOMPARE(list.entries().first(), QStringLiteral("/new.htm"));
        QCOMPARE(list.entries().last(), QStringLiteral("/home/u/f8.htm"));
        // Moving an entry up does not push any other out.
        list.add(QStringLiteral("/home/u/f8.htm"));
        QCOMPARE(list.count(), 9);
        QCOMPARE(list.entries().at(1), QStringLiteral("/new.htm"));
    }

    void removeAndClear()
    {
        CRecentFileList list = listOf(numbered(3));
        list.remove(1);
        list.remove(5);
        list.remove(-1);
        QCOMPARE(list.entries(), (QStringList{"/home/u/f1.htm", "/home/u/f3.htm"}));
        list.clear();
        QVERIFY(list.isEmpty());
        QCOMPARE(list.folderOfMostRecentFile(), QString());
    }

    void writeThenReadRestoresTheList()
    {
        const QStringList files = numbered(9);
        listOf(files).writeList();
        QCOMPARE(getProfileString("Recent File List", "File1"), files.first());
        QCOMPARE(getProfileString("Recent File List", "File9"), files.last());
        CRecentFileList read;
        read.readList();
        QCOMPARE(read.entries(), files);

        // A shorter list removes the values beyond its end.
        listOf(files.mid(0, 3)).writeList();
        QVERIFY(stored(3));
        for (int number = 4; number <= 9; ++number)
            QVERIFY2(!stored(number), qPrintable(QString::number(number)));
        read.readList();
        QCOMPARE(read.entries(), files.mid(0, 3));

        CRecentFileList().writeList();
        QVERIFY(!stored(1));
    }

    void readSkipsGapsAndRepeats()
    {
        writeProfileString("Recent File List", "File1", "/a.htm");
        writeProfileString("Recent File List", "File3", "/b.htm");
        writeProfileString("Recent File List", "File4", "/a.htm");
        writeProfileString("Recent File List", "File9", "/c.htm");
        CRecentFileList list;
        list.add(QStringLiteral("/old.htm"));
        list.readList();
        QCOMPARE(list.entries(), (QStringList{"/a.htm", "/b.htm", "/c.htm"}));
    }

    void displayName_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");

        QTest::newRow("in the folder") << "/opt/m/a.htm"
                                       << "/opt/m"
                                       << "a.htm"
                                       << "&1 a.htm";
        QTest::newRow("folder given with a slash") << "/opt/m/a.htm"
                                                   << "/opt/m/"
                                                   << "a.htm"
                                                   << "&1 a.htm";
        QTest::newRow("in a subfolder") << "/opt/m/s/a.htm"
                                        << "/opt/m"
                                        << "/opt/m/s/a.htm"
                                        << "&1 /opt/m/s/a.htm";
        QTest::newRow("folder name is a prefix") << "/opt/mx/a.htm"
                                                 << "/opt/m"
                                                 << "/opt/mx/a.htm"
                                                 << "&1 /opt/mx/a.htm";
        QTest::newRow("elsewhere") << "/home/u/a.htm"
                                   << "/opt/m"
                                   << "/home/u/a.htm"
                                   << "&1 /home/u/a.htm";
        QTest::newRow("no folder") << "/home/u/a.htm"
                                   << ""
                                   << "/home/u/a.htm"
                                   << "&1 /home/u/a.htm";
        QTest::newRow("root folder") << "/a.htm"
                                     << "/"
                                     << "a.htm"
                                     << "&1 a.htm";
        QTest::newRow("ampersands doubled") << "/home/R&D/a&b.htm"
                                            << "/opt/m"
                                            << "/home/R&D/a&b.htm"
                                            << "&1 /home/R&&D/a&&b.htm";
        const QString longPath = "/home/u/" + QString(300, QLatin1Char('d')) + "/a.htm";
        QTest::newRow("long path not shortened")
            << longPath << "/opt/m" << longPath << "&1 " + longPath;
    }

    void displayName()
    {
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QString, caption);
        const CRecentFileList list = listOf({path});
        QCOMPARE(list.displayName(0, folder), name);
        QCOMPARE(list.menuCaption(0, folder), caption);
    }

    void captionsAreNumbered()
    {
        const CRecentFileList list = listOf(numbered(9));
        QCOMPARE(list.menuCaption(0, "/home/u"), QStringLiteral("&1 f1.htm"));
        QCOMPARE(list.menuCaption(8, "/home/u"), QStringLiteral("&9 f9.htm"));
        QCOMPARE(list.menuCaption(9, "/home/u"), QString());
    }

    void folderOfMostRecentFile()
    {
        QCOMPARE(listOf({"/home/u/site/index.htm", "/x/y.htm"}).folderOfMostRecentFile(),
                 QStringLiteral("/home/u/site"));
        QCOMPARE(listOf({"/index.htm"}).folderOfMostRecentFile(), QStringLiteral("/"));
    }

    void workingFolderFollowsTheOption()
    {
        QTemporaryDir dir;
        const QString folder = QFileInfo(dir.path()).canonicalFilePath();
        const QString start = QDir::currentPath();
        const CRecentFileList list = listOf({folder + "/a.htm"});

        writeProfileInt("Options", "DefaultFolder", 0);
        QVERIFY(!list.setWorkingFolderToLastUsed());
        QCOMPARE(QDir::currentPath(), start);
        QVERIFY(!CRecentFileList().setWorkingFolderToLastUsed());

        TestSupport::clearSettings(); // the default is 1
        QVERIFY(!CRecentFileList().setWorkingFolderToLastUsed());
        QVERIFY(!listOf({folder + "/missing/a.htm"}).setWorkingFolderToLastUsed());
        QCOMPARE(QDir::currentPath(), start);
        QVERIFY(list.setWorkingFolderToLastUsed());
        QCOMPARE(QDir::currentPath(), folder);
    }
};

MARQUILL_TEST_MAIN(TestRecentFileList)
#include "tst_recent_file_list.moc"
