#include "test_support.h"

#include "app/marquill_app.h"

// Which argument of the command line names the file to open.
class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void commandLineFile_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("file");
        QTest::newRow("no arguments") << QStringList{"marquill"} << QString();
        QTest::newRow("one file") << QStringList{"marquill", "a.htm"} << QString("a.htm");
        QTest::newRow("switches before the file")
            << QStringList{"marquill", "-x", "--y", "a.htm", "b.htm"} << QString("a.htm");
        QTest::newRow("only switches") << QStringList{"marquill", "-x.htm"} << QString();
        QTest::newRow("dash-led name after --")
            << QStringList{"marquill", "--", "-x.htm"} << QString("-x.htm");
        QTest::newRow("a second -- is a file after --")
            << QStringList{"marquill", "--", "--", "a.htm"} << QString("--");
        QTest::newRow("file before -- wins")
            << QStringList{"marquill", "a.htm", "--", "-b.htm"} << QString("a.htm");
        QTest::newRow("nothing after --") << QStringList{"marquill", "-x", "--"} << QString();
        QTest::newRow("program name is not a file") << QStringList{"a.htm"} << QString();
    }

    void commandLineFile()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, file);
        QCOMPARE(CMarquillApp::commandLineFile(arguments), file);
    }
};

MARQUILL_TEST_MAIN(TestCommandLine)
#include "tst_command_line.moc"
