#include "core/settings_store.h"
#include "test_support.h"
#include "widgets/history_combo_box.h"
#include "widgets/history_list.h"
#include "widgets/target_history.h"

#include <QDialog>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

const QString kSection = QStringLiteral("History\\Test");

void storeSlots(const QString& section, const QStringList& values)
{
    for (int i = 0; i < values.size(); ++i)
        writeProfileString(section, HistoryList::valueName(QStringLiteral("History"), i),
                           values.at(i));
}

QStringList storedSlots(const QString& section, int count = 10)
{
    QStringList values;
    for (int i = 0; i < count; ++i)
        values.append(getProfileString(section,
                                       HistoryList::valueName(QStringLiteral("History"), i),
                                       QStringLiteral("<missing>")));
    return values;
}

QStringList padded(QStringList values, int count = 10)
{
    while (values.size() < count)
        values.append(QString());
    return values;
}

QStringList items(const QComboBox& box)
{
    QStringList result;
    for (int i = 0; i < box.count(); ++i)
        result.append(box.itemText(i));
    return result;
}

// A dialog holding one history box, as the element dialogs do.
struct HistoryDialog
{
    QDialog dialog;
    CHistoryComboBox* box;

    explicit HistoryDialog(bool sorted = false)
    {
        box = new CHistoryComboBox(&dialog, sorted);
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(box);
        box->LoadHistory(kSection);
    }
};

CTargetHistory::Slots slotsOf(const QStringList& values)
{
    CTargetHistory::Slots targets;
    for (int i = 0; i < values.size() && i < CTargetHistory::kSlots; ++i)
        targets[i] = values.at(i);
    return targets;
}

} // namespace

class TestHistory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        TestSupport::clearSettings();
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void valueNames()
    {
        QCOMPARE(HistoryList::valueName(QStringLiteral("History"), 0), QStringLiteral("History00"));
        QCOMPARE(HistoryList::valueName(QStringLiteral("History"), 9), QStringLiteral("History09"));
        QCOMPARE(HistoryList::valueName(QStringLiteral("Item"), 42), QStringLiteral("Item42"));
    }

    void listUpdate_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("after");
        const QStringList none;
        QTest::newRow("first entry") << none << "a" << QStringList{"a"};
        QTest::newRow("empty text keeps the order")
            << QStringList{"b", "a"} << "" << QStringList{"b", "a"};
        QTest::newRow("blank text is a text") << QStringList{"a"} << " " << QStringList{" ", "a"};
        QTest::newRow("new text goes first")
            << QStringList{"b", "a"} << "c" << QStringList{"c", "b", "a"};
        QTest::newRow("older entry moves up")
            << QStringList{"a", "b", "c"} << "c" << QStringList{"c", "a", "b"};
        QTest::newRow("last spelling wins")
            << QStringList{"index.html", "b"} << "Index.html" << QStringList{"Index.html", "b"};
        QTest::newRow("first entry respelt")
            << QStringList{"abc", "x"} << "ABC" << QStringList{"ABC", "x"};
        QTest::newRow("non-ASCII case folded")
            << QStringList{"x", "ÄRGER"} << "ärger" << QStringList{"ärger", "x"};
        QTest::newRow("one duplicate removed, looked for from the second entry")
            << QStringList{"x", "X", "y"} << "x" << QStringList{"x", "x", "y"};
        QTest::newRow("full list grows, cut on write")
            << QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"} << "new"
            << QStringList{"new", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    }
    void listUpdate()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, text);
        QFETCH(QStringList, after);
        QCOMPARE(HistoryList::withNewEntry(before, text), after);
    }

    void slotsCompactedAndPadded()
    {
        QCOMPARE(HistoryList::compacted({"", "x", "", "y", ""}), (QStringList{"x", "y"}));
        QCOMPARE(HistoryList::slotValues({"a", "b"}, 4), (QStringList{"a", "b", "", ""}));
        QCOMPARE(HistoryList::slotValues({"a", "b", "c"}, 2), (QStringList{"a", "b"}));
    }

    void loadShowsTheMostRecentEntry()
    {
        storeSlots(kSection, {"first", "second"});
        HistoryDialog d;
        QCOMPARE(items(*d.box), (QStringList{"first", "second"}));
        QCOMPARE(d.box->currentText(), QStringLiteral("first"));
        QVERIFY(d.box->isEditable());
    }

    void emptyHistoryLoadsEmpty()
    {
        HistoryDialog d;
        QCOMPARE(d.box->count(), 0);
        QCOMPARE(d.box->currentText(), QString());
    }

    void gapsLoadCompactedAndSaveCompacted()
    {
        storeSlots(kSection, {"", "x"});
        {
            HistoryDialog d;
            QCOMPARE(items(*d.box), QStringList{"x"});
            d.box->setEditText(QStringLiteral("new"));
        }
        QCOMPARE(storedSlots(kSection), padded({"new", "x"}));
    }

    void maximumAbove99IsRefused()
    {
        storeSlots(kSection, {"a"});
        CHistoryComboBox box;
        box.addItem(QStringLiteral("kept"));
        QVERIFY(!box.LoadHistory(kSection, QStringLiteral("History"), 100));
        QCOMPARE(items(box), QStringList{"kept"});
        QVERIFY(box.LoadHistory(kSection, QStringLiteral("History"), 99));
        QCOMPARE(items(box), QStringList{"a"});
    }

    void cancelStillSavesOnce()
    {
        storeSlots(kSection, {"old"});
        HistoryDialog d;
        d.dialog.show();
        d.box->setEditText(QStringLiteral("typed"));
        d.dialog.reject();
        QCOMPARE(storedSlots(kSection), padded({"typed", "old"}));

        // The save happened when the dialog closed, not again when it goes.
        storeSlots(kSection, {"changed elsewhere"});
        d.box->setEditText(QStringLiteral("later"));
        d.box->saveHistory();
        QCOMPARE(storedSlots(kSection).first(), QStringLiteral("changed elsewhere"));
    }

    void eachShowingSavesAgain()
    {
        HistoryDialog d;
        d.dialog.show();
        d.box->setEditText(QStringLiteral("one"));
        d.dialog.accept();
        d.dialog.show();
        d.box->setEditText(QStringLiteral("two"));
        d.dialog.accept();
        QCOMPARE(storedSlots(kSection), padded({"two", "one"}));
    }

    void dialogDestroyedWithoutShowingSaves()
    {
        {
            HistoryDialog d;
            d.box->setEditText(QStringLiteral("never shown"));
        }
        QCOMPARE(storedSlots(kSection), padded({"never shown"}));
    }

    void emptyTextLeavesTheSlotsAlone()
    {
        storeSlots(kSection, {"", "b", "", "a"});
        {
            HistoryDialog d;
            d.box->setEditText(QString());
        }
        QCOMPARE(storedSlots(kSection, 4), (QStringList{"", "b", "", "a"}));
        QCOMPARE(storedSlots(kSection).at(4), QStringLiteral("<missing>"));
    }

    void eleventhEntryPushesOutTheOldest()
    {
        QStringList ten;
        for (int i = 0; i < 10; ++i)
            ten.append(QStringLiteral("e%1").arg(i));
        storeSlots(kSection, ten);
        {
            HistoryDialog d;
            d.box->setEditText(QStringLiteral("newest"));
        }
        QStringList expected = ten.mid(0, 9);
        expected.prepend(QStringLiteral("newest"));
        QCOMPARE(storedSlots(kSection), expected);
    }

    void choosingAnEntryMovesItFirst()
    {
        storeSlots(kSection, {"a", "b", "c"});
        {
            HistoryDialog d;
            d.box->setCurrentIndex(2);
            QCOMPARE(d.box->currentText(), QStringLiteral("c"));
        }
        QCOMPARE(storedSlots(kSection), padded({"c", "a", "b"}));
    }

    void returnAddsNoItem()
    {
        storeSlots(kSection, {"a"});
        HistoryDialog d;
        d.dialog.show();
        d.box->lineEdit()->setText(QStringLiteral("typed"));
        QTest::keyClick(d.box->lineEdit(), Qt::Key_Return);
        QCOMPARE(items(*d.box).mid(0, 1), QStringList{"a"});
        d.dialog.reject();
    }

    void sortedBoxShowsAlphabeticallyStoresNewestFirst()
    {
        QStringList stored{"zeta",  "Alpha", "mid",   "beta", "omega",
                           "kappa", "gamma", "delta", "eta",  "theta"};
        storeSlots(kSection, stored);
        {
            HistoryDialog d(true);
            QCOMPARE(items(*d.box), (QStringList{"Alpha", "beta", "delta", "eta", "gamma", "kappa",
                                                 "mid", "omega", "theta", "zeta"}));
            d.box->setEditText(QStringLiteral("new"));
        }
        // The new text first, then the others alphabetically; the last one
        // alphabetically falls off.
        QCOMPARE(storedSlots(kSection), (QStringList{"new", "Alpha", "beta", "delta", "eta",
                                                     "gamma", "kappa", "mid", "omega", "theta"}));
    }

    void predefinedTargets_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");
        QTest::newRow("blank") << QString::fromUtf8("_blank  (新規ウィンドウ)") << "_blank";
        QTest::newRow("self") << QString::fromUtf8("_self    (自分自身)") << "_self";
        QTest::newRow("top") << QString::fromUtf8("_top     (すべてのフレームを解除)") << "_top";
        QTest::newRow("parent") << QString::fromUtf8("_parent (フレームを１段解除)") << "_parent";
        QTest::newRow("bare name is a user target") << "_blank"
                                                    << "";
        QTest::newRow("other spacing") << QString::fromUtf8("_blank (新規ウィンドウ)") << "";
        QTest::newRow("other case") << QString::fromUtf8("_BLANK  (新規ウィンドウ)") << "";
    }
    void predefinedTargets()
    {
        QFETCH(QString, text);
        QFETCH(QString, name);
        QCOMPARE(TargetHistory::predefinedName(text), name);
    }

    void targetSlotUpdate_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("new enters at 0")
            << QStringList{"a", "b"} << "c" << QStringList{"c", "a", "b"};
        QTest::newRow("slot 0 unchanged") << QStringList{"a", "b"} << "a" << QStringList{"a", "b"};
        QTest::newRow("slot 2 moves to 0")
            << QStringList{"a", "b", "c", "d"} << "c" << QStringList{"c", "a", "b", "d"};
        QTest::newRow("case-sensitive")
            << QStringList{"frame1"} << "Frame1" << QStringList{"Frame1", "frame1"};
        QTest::newRow("empty text") << QStringList{"a"} << "" << QStringList{"a"};
        QTest::newRow("predefined item")
            << QStringList{"a"} << QString::fromUtf8("_top     (すべてのフレームを解除)")
            << QStringList{"a"};
        QTest::newRow("bare name enters")
            << QStringList{"a"} << "_blank" << QStringList{"_blank", "a"};
        QTest::newRow("full: slot 9 lost")
            << QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"} << "n"
            << QStringList{"n", "0", "1", "2", "3", "4", "5", "6", "7", "8"};
        QTest::newRow("full: slot 9 moves up")
            << QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"} << "9"
            << QStringList{"9", "0", "1", "2", "3", "4", "5", "6", "7", "8"};
        QTest::newRow("gap kept below the moved slot")
            << QStringList{"a", "", "b", "", "c"} << "c" << QStringList{"c", "a", "", "b", ""};
    }
    void targetSlotUpdate()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, text);
        QFETCH(QStringList, after);
        CTargetHistory::Slots targets = slotsOf(before);
        TargetHistory::update(targets, text);
        QCOMPARE(targets, slotsOf(after));
    }

    void targetBoxItems()
    {
        QComboBox box;
        box.setEditable(true);
        CTargetHistory history;
        history.setTargets(slotsOf({"main", "", "side"}));
        history.fillComboBox(&box);
        QStringList expected{"main", "side", ""};
        expected += CTargetHistory::predefinedItems();
        QCOMPARE(items(box), expected);
        QCOMPARE(CTargetHistory::predefinedItems(),
                 (QStringList{QString::fromUtf8("_blank  (新規ウィンドウ)"),
                              QString::fromUtf8("_self    (自分自身)"),
                              QString::fromUtf8("_top     (すべてのフレームを解除)"),
                              QString::fromUtf8("_parent (フレームを１段解除)")}));
    }

    void targetAcceptWritesAllTenSlots()
    {
        const QString section = QStringLiteral("History\\Target");
        storeSlots(section, {"", "old"});
        CTargetHistory history;
        history.load();
        QCOMPARE(history.targets()[1], QStringLiteral("old"));
        QCOMPARE(history.accept(QString::fromUtf8("_blank  (新規ウィンドウ)")),
                 QStringLiteral("_blank"));
        QCOMPARE(storedSlots(section), padded({"", "old"}));

        CTargetHistory again;
        again.load();
        QCOMPARE(again.accept(QStringLiteral("old")), QStringLiteral("old"));
        QCOMPARE(storedSlots(section), padded({"old", ""}));
    }
};

MARQUILL_TEST_MAIN(TestHistory)
#include "tst_history.moc"
