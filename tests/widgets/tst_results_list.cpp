#include "test_support.h"
#include "widgets/results_list.h"

#include <QClipboard>
#include <QSignalSpy>

class TestResultsList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void copiedLines();
    void enterOpensEntryOnly();
};

// Ctrl+A then Ctrl+C gives one grep-form line per entry, never a line for a
// file row, with entries added in two batches kept in their file's group.
// Catches: a file row copied as an entry, a group split in two by a later
// batch, a path holding "%1" mangled by chained argument substitution, and
// line or column counted from 0.
void TestResultsList::copiedLines()
{
    CResultsList list;
    list.addEntries(QStringLiteral("/site/a %1.htm"), {{3, 7, 2, QStringLiteral("\t<p>見出し")}});
    list.addEntries(QStringLiteral("/site/b.htm"), {{1, 1, 1, QStringLiteral("x")}});
    list.addEntries(QStringLiteral("/site/a %1.htm"), {{12, 1, 0, QStringLiteral("%2 end")}});
    QCOMPARE(list.fileCount(), 2);
    QCOMPARE(list.entryCount(), 3);
    list.show();
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&list, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("/site/a %1.htm:3:7: \t<p>見出し\n"
                                                               "/site/a %1.htm:12:1: %2 end\n"
                                                               "/site/b.htm:1:1: x\n"));
}

// Catches: Enter on a file row reported as an activation of some entry, and
// the activation losing the match's length.
void TestResultsList::enterOpensEntryOnly()
{
    CResultsList list;
    list.addEntries(QStringLiteral("/s/p.htm"), {{4, 9, 5, QStringLiteral("line")}});
    list.show();
    list.setFocus();
    QSignalSpy spy(&list, &CResultsList::entryActivated);
    list.setCurrentIndex(list.model()->index(0, 0));
    QTest::keyClick(&list, Qt::Key_Return);
    QCOMPARE(spy.count(), 0);
    list.selectFirstEntry();
    QTest::keyClick(&list, Qt::Key_Return);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0), (QVariantList{QStringLiteral("/s/p.htm"), 4, 9, 5}));
}

MARQUILL_TEST_MAIN(TestResultsList)
#include "tst_results_list.moc"
