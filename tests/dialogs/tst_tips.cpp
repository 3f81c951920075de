#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "dialogs/one_point_dlg.h"
#include "dialogs/tips_reader.h"
#include "test_support.h"

#include <QBuffer>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

// The tips of the day: the reader's rules over the file's lines, and the
// dialog's position, time stamp and start-up choice in the settings.
class TestTips : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeTips(const QByteArray& bytes, const QString& name = QStringLiteral("tips.txt"))
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return QString();
        f.write(bytes);
        return path;
    }

    static QString tipOf(const COnePointDlg& dialog)
    {
        return dialog.findChild<QLabel*>(QStringLiteral("tipText"))->text();
    }

private Q_SLOTS:
    void init() { TestSupport::clearSettings(); }
    void cleanup() { UiSeam::setMessageHook({}); }

    // The next tip from a position: skipped lines, line ends, pieces of
    // long lines, going round at the end, and files without a tip.
    void readsTheNextTip_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<qint64>("from");
        QTest::addColumn<QString>("tip"); // empty: no tip found
        QTest::addColumn<qint64>("after");
        QTest::newRow("first line") << QByteArray("one\ntwo\n") << qint64(0) << "one" << qint64(4);
        QTest::newRow("second line") << QByteArray("one\ntwo\n") << qint64(4) << "two" << qint64(8);
        QTest::newRow("skipped lines")
            << QByteArray("; note\n\n tab\n\tx\n\r\nthree\n") << qint64(0) << "three" << qint64(24);
        QTest::newRow("CR LF dropped")
            << QByteArray("a tip\r\nb\r\n") << qint64(0) << "a tip" << qint64(7);
        QTest::newRow("last line without line end")
            << QByteArray("x\ny") << qint64(2) << "y" << qint64(3);
        QTest::newRow("round to the first at the end")
            << QByteArray("one\ntwo\n") << qint64(8) << "one" << qint64(4);
        QTest::newRow("round past skipped lines")
            << QByteArray(";c\nfirst\n;d\n") << qint64(9) << "first" << qint64(9);
        QTest::newRow("long line in pieces")
            << QByteArray(1200, 'a') + '\n'
            << qint64(0) << QString(999, QLatin1Char('a')) << qint64(999);
        QTest::newRow("rest of the long line")
            << QByteArray(1200, 'a') + '\n'
            << qint64(999) << QString(201, QLatin1Char('a')) << qint64(1201);
        QTest::newRow("pieces end between characters")
            << QByteArray(997, 'a') + "あい\n"
            << qint64(0) << QString(997, QLatin1Char('a')) << qint64(997);
        QTest::newRow("no tip at all")
            << QByteArray(";a\n\n ;b\n") << qint64(3) << QString() << qint64(-1);
        QTest::newRow("empty file") << QByteArray() << qint64(0) << QString() << qint64(-1);
    }
    void readsTheNextTip()
    {
        QFETCH(QByteArray, file);
        QFETCH(qint64, from);
        QFETCH(QString, tip);
        QFETCH(qint64, after);
        QBuffer buffer(&file);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        buffer.seek(from);
        const TipsReader::Tip read = TipsReader::readNextTip(buffer);
        QCOMPARE(read.found ? read.text : QString(), tip);
        if (read.found)
            QCOMPARE(buffer.pos(), after);
    }

    void timeStampForm_data()
    {
        QTest::addColumn<QDateTime>("time");
        QTest::addColumn<QString>("stamp");
        QTest::newRow("1980") << QDateTime(QDate(1980, 1, 2), QTime(2, 3, 55))
                              << "Wed Jan 02 02:03:55 1980";
        QTest::newRow("2026") << QDateTime(QDate(2026, 12, 6), QTime(23, 59, 0))
                              << "Sun Dec 06 23:59:00 2026";
    }
    void timeStampForm()
    {
        QFETCH(QDateTime, time);
        QFETCH(QString, stamp);
        QCOMPARE(TipsReader::timeStamp(time), stamp);
    }

    // Each dialog continues after the tip the last one showed; "次を表示"
    // goes round to the first tip after the last.
    void showingsContinueAndGoRound()
    {
        const QString path = writeTips("one\n;x\ntwo\n");
        QStringList shown;
        {
            COnePointDlg dialog(path);
            shown << tipOf(dialog);
            QVERIFY(!getProfileString("Tip", "TimeStamp").isEmpty());
        }
        QCOMPARE(getProfileInt("Tip", "FilePos", -1), 4);
        {
            COnePointDlg dialog(path);
            shown << tipOf(dialog);
            dialog.findChild<QPushButton*>(QStringLiteral("nextButton"))->click();
            shown << tipOf(dialog);
        }
        QCOMPARE(shown, QStringList({"one", "two", "one"}));
    }

    // A file with another time stamp than the stored one starts again at
    // its first tip.
    void newFileStartsFromTheFirstTip()
    {
        const QString path = writeTips("one\ntwo\n");
        writeProfileInt("Tip", "FilePos", 4);
        writeProfileString("Tip", "TimeStamp", QStringLiteral("Mon Jan 01 00:00:00 1990"));
        COnePointDlg dialog(path);
        QCOMPARE(tipOf(dialog), QStringLiteral("one"));
    }

    // Files that give no tip: a message in place of the tip, no next tip,
    // and no endless reading.
    void fileWithoutTips_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("tip");
        QTest::newRow("missing") << false << QByteArray()
                                 << "ヒントのファイルは指定されたディレクトリに存在しません。";
        QTest::newRow("empty") << true << QByteArray() << "ヒントのファイルにヒントがありません。";
        QTest::newRow("only skipped lines")
            << true << QByteArray("; a\n\n\tb\n") << "ヒントのファイルにヒントがありません。";
    }
    void fileWithoutTips()
    {
        QFETCH(bool, exists);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, tip);
        const QString path =
            exists ? writeTips(bytes, QStringLiteral("none.txt")) : m_dir.filePath("missing.txt");
        COnePointDlg dialog(path);
        QCOMPARE(tipOf(dialog), tip);
        QVERIFY(!dialog.findChild<QPushButton*>(QStringLiteral("nextButton"))->isEnabled());
    }

    void missingFileWritesNoPosition()
    {
        {
            COnePointDlg dialog(m_dir.filePath(QStringLiteral("missing.txt")));
        }
        QCOMPARE(getProfileInt("Tip", "FilePos", -1), -1);
        QCOMPARE(getProfileString("Tip", "TimeStamp", QStringLiteral("none")),
                 QStringLiteral("none"));
    }

    // The start-up choice is stored by "閉じる" only, never by Esc; showing
    // the next tip keeps the box as the user left it.
    void startUpChoice_data()
    {
        QTest::addColumn<bool>("checked");
        QTest::addColumn<bool>("next");
        QTest::addColumn<bool>("close"); // false: Esc
        QTest::addColumn<int>("stored"); // -1: not written
        QTest::newRow("unchecked, closed") << false << false << true << 1;
        QTest::newRow("checked, closed") << true << false << true << 0;
        QTest::newRow("unchecked, next, closed") << false << true << true << 1;
        QTest::newRow("unchecked, Esc") << false << false << false << -1;
    }
    void startUpChoice()
    {
        QFETCH(bool, checked);
        QFETCH(bool, next);
        QFETCH(bool, close);
        QFETCH(int, stored);
        COnePointDlg dialog(writeTips("one\ntwo\n"));
        dialog.show();
        dialog.findChild<QCheckBox*>(QStringLiteral("startUpCheck"))->setChecked(checked);
        if (next)
            dialog.findChild<QPushButton*>(QStringLiteral("nextButton"))->click();
        if (close)
            dialog.findChild<QPushButton*>(QStringLiteral("closeButton"))->click();
        else
            QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(getProfileInt("Tip", "StartUp", -1), stored);
    }
};

MARQUILL_TEST_MAIN(TestTips)
#include "tst_tips.moc"
