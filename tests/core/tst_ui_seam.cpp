#include "core/message_text.h"
#include "core/ui_seam.h"
#include "test_support.h"

#include <QLabel>
#include <QTimer>

// The real message box, as the user sees it when no test hook answers.
class TestUiSeam : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void messageShowsTagsAsTyped()
    {
        const QString text =
            QStringLiteral("挟むタグ : <span class=\"x\"> ～ </span> を取り込みました。");
        QString shown;
        Qt::TextFormat format = Qt::AutoText;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
                format = label->textFormat();
                shown = label->text();
            }
            box->done(QMessageBox::Ok);
        });
        UiSeam::messageBox(nullptr, text, QMessageBox::Information, QMessageBox::Ok);
        QCOMPARE(shown, text);
        QCOMPARE(format, Qt::PlainText);
    }

    // A path too wide for the message is cut in the middle, keeping its
    // start and its file name; other text is left as it is.
    void longPathsAreCutInTheMiddle_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("cut");
        const QString deep = QStringLiteral("/home/u/") + QStringLiteral("folder/").repeated(60);
        QTest::newRow("a short path") << "/tmp/a.htm\nこのファイルが見つかりません。" << false;
        QTest::newRow("a long path before a sentence")
            << deep + "name.htm への変更を保存しますか？" << true;
        QTest::newRow("a long path on a line of its own")
            << "保存できません。\n" + deep + "name.htm" << true;
        QTest::newRow("a long sentence without a path")
            << QStringLiteral("とても長い文章です。").repeated(40) << false;
    }
    void longPathsAreCutInTheMiddle()
    {
        QFETCH(QString, text);
        QFETCH(bool, cut);
        const QFontMetrics metrics(QApplication::font());
        const QString fitted = MessageText::fitted(text, metrics, 300);
        if (!cut) {
            QCOMPARE(fitted, text);
            return;
        }
        const QString path = fitted.section(QLatin1Char('\n'), -1).section(QLatin1Char(' '), 0, 0);
        QVERIFY2(metrics.horizontalAdvance(path) <= 300, qPrintable(path));
        QVERIFY(path.startsWith(QStringLiteral("/home/u/")));
        QVERIFY(path.endsWith(QStringLiteral("/name.htm")));
        QCOMPARE(fitted.section(QLatin1Char(' '), 1), text.section(QLatin1Char(' '), 1));
    }

    // Alt+S presses 保存, as Alt+Y and Alt+N press はい and いいえ.
    void saveHasAMnemonic()
    {
        QTimer::singleShot(0, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            box->activateWindow();
            if (QTest::qWaitForWindowActive(box))
                QTest::keyClick(box, Qt::Key_S, Qt::AltModifier);
            // The pressed button answers a moment later; a box that did not
            // take the key is closed without saving.
            QTimer::singleShot(5000, box, [box] { box->done(QMessageBox::Cancel); });
        });
        QCOMPARE(UiSeam::messageBox(nullptr, QStringLiteral("?"), QMessageBox::Warning,
                                    QMessageBox::Save | QMessageBox::Cancel, QMessageBox::Cancel),
                 QMessageBox::Save);
    }
};

MARQUILL_TEST_MAIN(TestUiSeam)
#include "tst_ui_seam.moc"
