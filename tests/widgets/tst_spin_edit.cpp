#include "test_support.h"

#include "widgets/spin_edit.h"

#include <QStyleOptionSpinBox>

// The arrows of a spin edit box, clicked as the user clicks them.
class TestSpinEdit : public QObject
{
    Q_OBJECT

    static void clickArrow(CSpinEdit& edit, QStyle::SubControl arrow)
    {
        QStyleOptionSpinBox option;
        option.initFrom(&edit);
        option.subControls = arrow;
        const QRect rect = edit.style()->subControlRect(QStyle::CC_SpinBox, &option, arrow, &edit);
        QTest::mouseClick(&edit, Qt::LeftButton, {}, rect.center());
    }

private Q_SLOTS:
    void arrowsStepWithinTheRange_data()
    {
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("result");
        QTest::newRow("up inside") << 1 << 1999 << "5" << true << "6";
        QTest::newRow("down inside") << 1 << 1999 << "5" << false << "4";
        QTest::newRow("up at the top stays") << 0 << 99 << "99" << true << "99";
        QTest::newRow("up to the top itself") << 1 << 999 << "998" << true << "999";
        QTest::newRow("down at the bottom stays") << 0 << 99 << "0" << false << "0";
        QTest::newRow("trailing text dropped") << 0 << 99 << "12px" << true << "13";
        QTest::newRow("empty up") << 0 << 99 << "" << true << "1";
        QTest::newRow("empty up into a range from 1") << 1 << 1999 << "" << true << "1";
        QTest::newRow("no number up") << 0 << 99 << "abc" << true << "1";
        QTest::newRow("below: up from the bottom") << 1 << 1999 << "-5" << true << "2";
        QTest::newRow("below: down to the bottom") << 1 << 1999 << "-5" << false << "1";
        QTest::newRow("zero below 1: down") << 1 << 999 << "0" << false << "1";
        QTest::newRow("above: down from the top") << 0 << 99 << "150" << false << "98";
        QTest::newRow("above: up to the top") << 0 << 99 << "150" << true << "99";
        QTest::newRow("far below the int range") << 0 << 99 << "-99999999999999" << true << "1";
    }

    void arrowsStepWithinTheRange()
    {
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(QString, text);
        QFETCH(bool, up);
        QFETCH(QString, result);
        CSpinEdit edit;
        edit.setRange(minimum, maximum);
        edit.setText(text);
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        clickArrow(edit, up ? QStyle::SC_SpinBoxUp : QStyle::SC_SpinBoxDown);
        QCOMPARE(edit.text(), result);
    }
};

MARQUILL_TEST_MAIN(TestSpinEdit)
#include "tst_spin_edit.moc"
