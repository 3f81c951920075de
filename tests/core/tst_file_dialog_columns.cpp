#include "test_support.h"

#include "core/file_dialog_columns.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QTreeView>

// The file dialogs' columns: Japanese texts, and room for them whole.
class TestFileDialogColumns : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sizeText_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << qint64(0) << "0 バイト";
        QTest::newRow("bytes") << qint64(185) << "185 バイト";
        QTest::newRow("just under a kilobyte") << qint64(1023) << "1,023 バイト";
        QTest::newRow("kilobytes") << qint64(123456) << "120.6 KB";
        QTest::newRow("megabytes") << qint64(10485760) << "10.0 MB";
    }
    void sizeText()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, text);
        QCOMPARE(FileDialogColumns::sizeText(bytes), text);
    }

    void kindText_data()
    {
        QTest::addColumn<QString>("name"); // a trailing "/" makes a folder
        QTest::addColumn<QString>("text");
        QTest::newRow("folder") << "site.htm/"
                                << "フォルダー";
        QTest::newRow("htm") << "a.htm"
                             << "HTML ファイル";
        QTest::newRow("upper-case shtml") << "A.SHTML"
                                          << "HTML ファイル";
        QTest::newRow("text") << "memo.txt"
                              << "テキストファイル";
        QTest::newRow("other kind") << "logo.png"
                                    << "PNG ファイル";
        QTest::newRow("no extension") << "README"
                                      << "ファイル";
    }
    void kindText()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        if (name.endsWith(QLatin1Char('/')))
            QVERIFY(QDir().mkpath(path));
        else
            QVERIFY(QFile(path).open(QIODevice::WriteOnly));
        QCOMPARE(FileDialogColumns::kindText(QFileInfo(path)), text);
    }

    void dateText_data()
    {
        QTest::addColumn<QDateTime>("time");
        QTest::addColumn<QString>("text");
        QTest::newRow("morning") << QDateTime(QDate(2024, 5, 1), QTime(9, 5)) << "2024/05/01 9:05";
        QTest::newRow("evening") << QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59))
                                 << "1999/12/31 23:59";
        QTest::newRow("unknown") << QDateTime() << "";
    }
    void dateText()
    {
        QFETCH(QDateTime, time);
        QFETCH(QString, text);
        QCOMPARE(FileDialogColumns::dateText(time), text);
    }

    // Every size, kind and date the dialog lists fits its column, in the
    // Japanese form, and a long file name fits the name column.
    void columnsShowTheirTextsWhole()
    {
        QTemporaryDir dir;
        const QString longName = QStringLiteral("トップページ-2024年5月版.html");
        for (const QString& name : {longName, QStringLiteral("memo.txt")}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(123456, 'x'));
        }
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("images")));
        QFileDialog dialog(nullptr, QStringLiteral("開く"), dir.path());
        FileDialogColumns::prepare(dialog);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
        QVERIFY(view);
        const QModelIndex root = view->rootIndex();
        QTRY_COMPARE(view->model()->rowCount(root), 3);
        const QFontMetrics metrics = view->fontMetrics();
        QStringList cut;
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 4; ++column) {
                const QString text = view->model()->index(row, column, root).data().toString();
                const int room = view->header()->sectionSize(column) - (column == 0 ? 40 : 8);
                if (metrics.horizontalAdvance(text) > room)
                    cut << QStringLiteral("%1 (%2 > %3)")
                               .arg(text)
                               .arg(metrics.horizontalAdvance(text))
                               .arg(room);
            }
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1String(" / "))));
        dialog.reject();
    }
};

MARQUILL_TEST_MAIN(TestFileDialogColumns)
#include "tst_file_dialog_columns.moc"
