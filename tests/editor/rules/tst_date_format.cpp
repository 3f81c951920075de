#include "editor/rules/date_format.h"
#include "resources/resource_tables.h"
#include "test_support.h"

// The date texts of the sixteen table rows, and stray "Date" values.
class TestDateFormat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rows_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QByteArray>("early"); // 2007-03-04, a Sunday
        QTest::addColumn<QByteArray>("late");  // 2026-12-16, a Wednesday
        QTest::newRow("0") << 0 << QByteArray("07/3/4") << QByteArray("26/12/16");
        QTest::newRow("1") << 1 << QByteArray("07/03/04") << QByteArray("26/12/16");
        QTest::newRow("2") << 2 << QByteArray("2007/3/4") << QByteArray("2026/12/16");
        QTest::newRow("3") << 3 << QByteArray("2007/03/04") << QByteArray("2026/12/16");
        QTest::newRow("4") << 4 << QByteArray("07年3月4日") << QByteArray("26年12月16日");
        QTest::newRow("5") << 5 << QByteArray("07年03月04日") << QByteArray("26年12月16日");
        QTest::newRow("6") << 6 << QByteArray("2007年3月4日") << QByteArray("2026年12月16日");
        QTest::newRow("7") << 7 << QByteArray("2007年03月04日") << QByteArray("2026年12月16日");
        QTest::newRow("8") << 8 << QByteArray("3/4/07") << QByteArray("12/16/26");
        QTest::newRow("9") << 9 << QByteArray("Mar 4, 2007") << QByteArray("Dec 16, 2026");
        QTest::newRow("10") << 10 << QByteArray("March 4, 2007") << QByteArray("December 16, 2026");
        QTest::newRow("11") << 11 << QByteArray("Sunday, March 4, 2007")
                            << QByteArray("Wednesday, December 16, 2026");
        QTest::newRow("12") << 12 << QByteArray("4/3/07") << QByteArray("16/12/26");
        QTest::newRow("13") << 13 << QByteArray("4 Mar 2007") << QByteArray("16 Dec 2026");
        QTest::newRow("14") << 14 << QByteArray("4 March 2007") << QByteArray("16 December 2026");
        QTest::newRow("15") << 15 << QByteArray("Sunday, 4 March 2007")
                            << QByteArray("Wednesday, 16 December 2026");
    }

    void rows()
    {
        QFETCH(int, row);
        QFETCH(QByteArray, early);
        QFETCH(QByteArray, late);
        QCOMPARE(Resources::dateFormats().size(), 16);
        QCOMPARE(DateFormat::dateText(row, QDateTime(QDate(2007, 3, 4), QTime(9, 5))), early);
        QCOMPARE(DateFormat::dateText(row, QDateTime(QDate(2026, 12, 16), QTime(23, 59))), late);
    }

    void namesIgnoreTheSystemLanguage()
    {
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
        QCOMPARE(DateFormat::dateText(11, QDateTime(QDate(2026, 12, 6), QTime())),
                 QByteArray("Sunday, December 6, 2026"));
        QLocale::setDefault(QLocale::c());
    }

    void strayValuesAreClamped()
    {
        const QDateTime when(QDate(2007, 3, 4), QTime());
        QCOMPARE(DateFormat::tableRow(-5), 0);
        QCOMPARE(DateFormat::tableRow(16), 15);
        QCOMPARE(DateFormat::dateText(99, when), QByteArray("Sunday, 4 March 2007"));
        QCOMPARE(DateFormat::dateText(-1, when), QByteArray("07/3/4"));
    }

    void otherConversions()
    {
        const QDateTime when(QDate(2007, 3, 4), QTime(9, 5, 7));
        QCOMPARE(DateFormat::format("%H:%M:%S %a %% %q %", when),
                 QByteArray("09:05:07 Sun % %q %"));
    }
};

MARQUILL_TEST_MAIN(TestDateFormat)
#include "tst_date_format.moc"
