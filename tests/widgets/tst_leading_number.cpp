#include "test_support.h"
#include "widgets/leading_number.h"

// The number the spin boxes step and the element dialogs read from a text.
class TestLeadingNumber : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void leadingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("digits") << "120" << 120;
        QTest::newRow("blanks first") << "  \t7" << 7;
        QTest::newRow("negative") << "-1" << -1;
        QTest::newRow("plus") << "+4" << 4;
        QTest::newRow("trailing text") << "12px" << 12;
        QTest::newRow("not a number") << "abc" << 0;
        QTest::newRow("sign alone") << "-" << 0;
        QTest::newRow("full-width digits") << "１２" << 0;
        QTest::newRow("too large") << "99999999999999" << 2147483647;
        QTest::newRow("too small") << "-99999999999999" << int(-2147483647 - 1);
    }
    void leadingNumber()
    {
        QFETCH(QString, text);
        QFETCH(int, number);
        QCOMPARE(::leadingNumber(text), number);
    }

    void startsWithNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("number");
        QTest::newRow("empty") << "" << false;
        QTest::newRow("zero") << "0" << true;
        QTest::newRow("blanks and sign") << " \t-5" << true;
        QTest::newRow("sign alone") << "+" << false;
        QTest::newRow("sign then blank") << "- 5" << false;
        QTest::newRow("letters first") << "px12" << false;
        QTest::newRow("full-width digit") << "１" << false;
    }
    void startsWithNumber()
    {
        QFETCH(QString, text);
        QFETCH(bool, number);
        QCOMPARE(::startsWithNumber(text), number);
    }
};

MARQUILL_TEST_MAIN(TestLeadingNumber)
#include "tst_leading_number.moc"
