#include "commands/app_dialog_commands.h"
#include "core/ui_seam.h"
#include "dialogs/history_delete_dlg.h"
#include "document/recent_file_list.h"
#include "test_support.h"

#include <QListWidget>
#include <QPushButton>

// The recent-file history deletion: deleting in the list box, the
// selection and buttons that follow, and the list written back on OK only.
class TestHistoryDelete : public QObject
{
    Q_OBJECT

    static QStringList items(const CHistoryDeleteDlg& dialog)
    {
        QStringList list;
        auto* box = dialog.findChild<QListWidget*>(QStringLiteral("fileList"));
        for (int i = 0; i < box->count(); ++i)
            list << box->item(i)->text();
        return list;
    }

private Q_SLOTS:
    void init() { TestSupport::clearSettings(); }
    void cleanup() { UiSeam::setDialogHook({}); }

    // Steps over the list box: "s2" selects row 2, "d" presses 削除, "a"
    // presses すべて削除. Then the items, the selected row and whether
    // the two buttons are enabled.
    void deleting_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("remaining"); // file numbers left
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("buttons"); // 削除, すべて削除: 1 enabled, 0 not
        QTest::newRow("nothing selected") << 3 << ""
                                          << "012" << -1 << "01";
        QTest::newRow("delete without selection") << 3 << "d"
                                                  << "012" << -1 << "01";
        QTest::newRow("selected") << 3 << "s1"
                                  << "012" << 1 << "11";
        QTest::newRow("first: the new first") << 5 << "s0 d"
                                              << "1234" << 0 << "11";
        QTest::newRow("middle: the same row") << 5 << "s2 d"
                                              << "0134" << 2 << "11";
        QTest::newRow("last: the new last") << 5 << "s4 d"
                                            << "0123" << 3 << "11";
        QTest::newRow("the only one") << 1 << "s0 d"
                                      << "" << -1 << "00";
        QTest::newRow("twice") << 3 << "s1 d d"
                               << "0" << 0 << "11";
        QTest::newRow("all") << 4 << "s1 a"
                             << "" << -1 << "00";
        QTest::newRow("empty list") << 0 << ""
                                    << "" << -1 << "00";
    }
    void deleting()
    {
        QFETCH(int, files);
        QFETCH(QString, steps);
        QFETCH(QString, remaining);
        QFETCH(int, selected);
        QFETCH(QString, buttons);
        QStringList paths;
        for (int i = 0; i < files; ++i)
            paths << QStringLiteral("/w/%1.htm").arg(i);
        CHistoryDeleteDlg dialog(paths);
        auto* box = dialog.findChild<QListWidget*>(QStringLiteral("fileList"));
        auto* del = dialog.findChild<QPushButton*>(QStringLiteral("deleteButton"));
        auto* all = dialog.findChild<QPushButton*>(QStringLiteral("deleteAllButton"));
        for (const QString& step : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (step.startsWith(QLatin1Char('s')))
                box->item(step.mid(1).toInt())->setSelected(true);
            else if (step == QLatin1String("d"))
                QMetaObject::invokeMethod(del, "clicked");
            else
                all->click();
        }
        QString left;
        for (const QString& item : items(dialog))
            left += QFileInfo(item).baseName();
        const QList<QListWidgetItem*> chosen = box->selectedItems();
        const QString enabled =
            QString::number(del->isEnabled()) + QString::number(all->isEnabled());
        QCOMPARE(QStringList(
                     {left, QString::number(chosen.isEmpty() ? -1 : box->row(chosen[0])), enabled}),
                 QStringList({remaining, QString::number(selected), buttons}));
    }

    // OK writes the remaining files in their order; Cancel changes nothing.
    void confirming_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("OK") << true << QStringList({"/w/a.htm", "/w/c.htm"});
        QTest::newRow("Cancel") << false << QStringList({"/w/a.htm", "/w/b.htm", "/w/c.htm"});
    }
    void confirming()
    {
        QFETCH(bool, ok);
        QFETCH(QStringList, after);
        CRecentFileList recent;
        for (const char* path : {"/w/c.htm", "/w/b.htm", "/w/a.htm"})
            recent.add(QString::fromUtf8(path));
        UiSeam::setDialogHook([ok](QDialog& dialog) {
            auto* box = dialog.findChild<QListWidget*>(QStringLiteral("fileList"));
            box->item(1)->setSelected(true);
            dialog.findChild<QPushButton*>(QStringLiteral("deleteButton"))->click();
            if (!ok) {
                dialog.reject();
                return int(QDialog::Rejected);
            }
            dialog.accept();
            return int(QDialog::Accepted);
        });
        QCOMPARE(runHistoryDeletion(nullptr, recent), ok);
        QCOMPARE(recent.entries(), after);
    }
};

MARQUILL_TEST_MAIN(TestHistoryDelete)
#include "tst_history_delete.moc"
