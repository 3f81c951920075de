// The list dialog driven through its controls: the list it builds, the
// enabling of markers and numberings, the sample pictures and the
// remembered kind, marker and numbering.

#include "test_support.h"

#include "core/settings_store.h"
#include "dialogs/html/sample_pictures.h"
#include "dialogs/list_dlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString kSection = QStringLiteral("History\\List");

QRadioButton* radio(QDialog& dlg, const QString& name)
{
    auto* button = dlg.findChild<QRadioButton*>(name);
    if (!button)
        qFatal("no radio button %s", qPrintable(name));
    return button;
}

void pressOk(QDialog& dlg)
{
    dlg.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

QImage previewImage(QDialog& dlg)
{
    return dlg.findChild<QLabel*>(QStringLiteral("preview"))->pixmap().toImage();
}

} // namespace

class TestListDlg : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { TestSupport::clearSettings(); }
    void result_data();
    void result();
    void enablingFollowsKind();
    void pictureForEveryChoice();
    void choicesRememberedOnOkOnly();
    void rememberedValuesOutOfRange_data();
    void rememberedValuesOutOfRange();
    void focusOnOkWhenItemsGiven();
};

void TestListDlg::result_data()
{
    QTest::addColumn<QString>("items");
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("expected");

    QTest::newRow("defaults, empty line skipped")
        << "a\n\nb" << QStringList{} << "<UL TYPE=circle>\r\n<LI>a\r\n<LI>b\r\n</UL>\r\n";
    QTest::newRow("empty items") << "" << QStringList{} << "<UL TYPE=circle>\r\n</UL>\r\n";
    QTest::newRow("disk") << "x" << QStringList{"marker2"}
                          << "<UL TYPE=disk>\r\n<LI>x\r\n</UL>\r\n";
    QTest::newRow("ordered upper roman") << "x\ny" << QStringList{"kind1", "numbering1"}
                                         << "<OL TYPE=\"I\">\r\n<LI>x\r\n<LI>y\r\n</OL>\r\n";
    QTest::newRow("marker chosen, then ordered")
        << "x" << QStringList{"marker1", "kind1"} << "<OL TYPE=\"1\">\r\n<LI>x\r\n</OL>\r\n";
    QTest::newRow("definition with blank line")
        << "t1\n\nd1\nt2\nd2" << QStringList{"kind2"}
        << "<DL>\r\n<DT>t1\r\n<DD>d1\r\n<DT>t2\r\n<DD>d2\r\n</DL>\r\n";
    QTest::newRow("definition, odd count") << "t1\nd1\nt2" << QStringList{"kind2"}
                                           << "<DL>\r\n<DT>t1\r\n<DD>d1\r\n<DT>t2\r\n</DL>\r\n";
    QTest::newRow("selection with CR LF")
        << "見出し\r\n本文\r\n"
        << QStringList{} << "<UL TYPE=circle>\r\n<LI>見出し\r\n<LI>本文\r\n</UL>\r\n";
    QTest::newRow("non-breaking spaces and tabs kept")
        << QStringLiteral("a\u00A0b\tc\n\u3000d") << QStringList{}
        << QStringLiteral("<UL TYPE=circle>\r\n<LI>a\u00A0b\tc\r\n<LI>\u3000d\r\n</UL>\r\n");
}

void TestListDlg::result()
{
    QFETCH(QString, items);
    QFETCH(QStringList, clicks);
    QFETCH(QString, expected);
    CListDlg dlg;
    dlg.setItems(items);
    for (const QString& name : clicks)
        radio(dlg, name)->click();
    pressOk(dlg);
    QCOMPARE(dlg.resultText(), expected);
}

void TestListDlg::enablingFollowsKind()
{
    CListDlg dlg;
    QCOMPARE(dlg.windowTitle(), QStringLiteral("リストの作成"));
    auto check = [&](bool markers, bool numberings) {
        for (int i = 0; i < 3; ++i)
            QCOMPARE(radio(dlg, QStringLiteral("marker%1").arg(i))->isEnabled(), markers);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(radio(dlg, QStringLiteral("numbering%1").arg(i))->isEnabled(), numberings);
    };
    check(true, false);
    radio(dlg, QStringLiteral("kind1"))->click();
    check(false, true);
    radio(dlg, QStringLiteral("kind2"))->click();
    check(false, false);
    radio(dlg, QStringLiteral("kind0"))->click();
    check(true, false);
}

void TestListDlg::pictureForEveryChoice()
{
    CListDlg dlg;
    QList<QImage> seen;
    auto expectPicture = [&](int kind, int marker, int numbering) {
        const QImage image = previewImage(dlg);
        QCOMPARE(image, SamplePictures::list(kind, marker, numbering).toImage());
        QVERIFY(!seen.contains(image));
        seen.append(image);
    };
    expectPicture(0, 0, 0);
    for (int m : {1, 2}) {
        radio(dlg, QStringLiteral("marker%1").arg(m))->click();
        expectPicture(0, m, 0);
    }
    radio(dlg, QStringLiteral("kind1"))->click();
    expectPicture(1, 2, 0);
    for (int n = 1; n < 5; ++n) {
        radio(dlg, QStringLiteral("numbering%1").arg(n))->click();
        expectPicture(1, 2, n);
    }
    radio(dlg, QStringLiteral("kind2"))->click();
    expectPicture(2, 2, 4);
    QCOMPARE(seen.size(), 9);
}

void TestListDlg::choicesRememberedOnOkOnly()
{
    {
        CListDlg dlg;
        radio(dlg, QStringLiteral("kind1"))->click();
        radio(dlg, QStringLiteral("numbering3"))->click();
        radio(dlg, QStringLiteral("marker2"))->click(); // disabled: no effect
        dlg.reject();
    }
    QCOMPARE(getProfileInt(kSection, QStringLiteral("Kind"), -1), -1);
    {
        CListDlg dlg;
        QVERIFY(radio(dlg, QStringLiteral("kind0"))->isChecked());
        radio(dlg, QStringLiteral("marker1"))->click();
        radio(dlg, QStringLiteral("kind1"))->click();
        radio(dlg, QStringLiteral("numbering3"))->click();
        pressOk(dlg);
        QCOMPARE(dlg.resultText(), QStringLiteral("<OL TYPE=\"A\">\r\n</OL>\r\n"));
    }
    QCOMPARE(getProfileInt(kSection, QStringLiteral("Kind"), -1), 1);
    QCOMPARE(getProfileInt(kSection, QStringLiteral("OrderType"), -1), 3);
    QCOMPARE(getProfileInt(kSection, QStringLiteral("UnorderType"), -1), 1);
    CListDlg again;
    QVERIFY(radio(again, QStringLiteral("kind1"))->isChecked());
    QVERIFY(radio(again, QStringLiteral("numbering3"))->isChecked());
    QVERIFY(radio(again, QStringLiteral("marker1"))->isChecked());
    QCOMPARE(previewImage(again), SamplePictures::list(1, 1, 3).toImage());
}

void TestListDlg::rememberedValuesOutOfRange_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("order");
    QTest::addColumn<int>("unorder");
    QTest::addColumn<QString>("expected");
    QTest::newRow("kind 3") << 3 << 0 << 2 << "<UL TYPE=disk>\r\n</UL>\r\n";
    QTest::newRow("kind -1") << -1 << 0 << 0 << "<UL TYPE=circle>\r\n</UL>\r\n";
    QTest::newRow("numbering 5") << 1 << 5 << 0 << "<OL TYPE=\"1\">\r\n</OL>\r\n";
    QTest::newRow("marker 99") << 0 << 0 << 99 << "<UL TYPE=circle>\r\n</UL>\r\n";
}

// A stored value outside the buttons' range opens with the first button of
// its group checked, and the list follows what the buttons show.
void TestListDlg::rememberedValuesOutOfRange()
{
    QFETCH(int, kind);
    QFETCH(int, order);
    QFETCH(int, unorder);
    QFETCH(QString, expected);
    writeProfileInt(kSection, QStringLiteral("Kind"), kind);
    writeProfileInt(kSection, QStringLiteral("OrderType"), order);
    writeProfileInt(kSection, QStringLiteral("UnorderType"), unorder);
    CListDlg dlg;
    const ListChoices c = dlg.choices();
    QVERIFY(c.kind >= 0 && c.kind < kListKinds);
    QVERIFY(c.orderedNumbering >= 0 && c.orderedNumbering < kOrderedNumberings);
    QVERIFY(c.unorderedMarker >= 0 && c.unorderedMarker < kUnorderedMarkers);
    pressOk(dlg);
    QCOMPARE(dlg.resultText(), expected);
}

void TestListDlg::focusOnOkWhenItemsGiven()
{
    {
        CListDlg dlg;
        dlg.setItems(QStringLiteral("a"));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QCOMPARE(dlg.focusWidget(),
                 dlg.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok));
        dlg.reject();
    }
    CListDlg dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QCOMPARE(dlg.focusWidget(), dlg.findChild<QPlainTextEdit*>(QStringLiteral("items")));
    dlg.reject();
}

MARQUILL_TEST_MAIN(TestListDlg)
#include "tst_list_dlg.moc"
