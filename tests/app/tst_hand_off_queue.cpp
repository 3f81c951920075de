#include "test_support.h"

#include "app/hand_off_queue.h"

#include <QEventLoop>

// Files handed over by later starts: opened in turn, the failures reported
// together, one message at a time.
class TestHandOffQueue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void failureText_data()
    {
        QTest::addColumn<int>("failures");
        QTest::addColumn<QString>("text");
        QTest::newRow("one") << 1 << "e1";
        QTest::newRow("two") << 2 << "e1\n\ne2";
        QTest::newRow("as many as are listed") << 5 << "e1\n\ne2\n\ne3\n\ne4\n\ne5";
        QTest::newRow("more than are listed")
            << 7 << "e1\n\ne2\n\ne3\n\ne4\n\ne5\n\nほかに 2 個のファイルを開けませんでした。";
    }

    void failureText()
    {
        QFETCH(int, failures);
        QFETCH(QString, text);
        QStringList errors;
        for (int i = 1; i <= failures; ++i)
            errors << QStringLiteral("e%1").arg(i);
        QCOMPARE(CHandOffQueue::failureText(errors), text);
    }

    // Paths starting with "x" cannot be opened. `later` arrives once `before`
    // has been opened, `during` while the first message is up; every message
    // is recorded by the failures it names.
    void failuresShareOneMessageAtATime_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("later");
        QTest::addColumn<QStringList>("during");
        QTest::addColumn<QStringList>("opened");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("all opened") << QStringList{"a", "b"} << QStringList{} << QStringList{}
                                    << QStringList{"a", "b"} << QStringList{};
        QTest::newRow("one failure") << QStringList{"a", "x1"} << QStringList{} << QStringList{}
                                     << QStringList{"a"} << QStringList{"x1"};
        QTest::newRow("failures together")
            << QStringList{"x1", "a", "x2"} << QStringList{} << QStringList{} << QStringList{"a"}
            << QStringList{"x1\n\nx2"};
        QTest::newRow("more while the message is up")
            << QStringList{"x1"} << QStringList{} << QStringList{"x2", "b", "x3"}
            << QStringList{"b"} << QStringList{"x1", "x2\n\nx3"};
        QTest::newRow("only openings while the message is up")
            << QStringList{"x1"} << QStringList{} << QStringList{"b"} << QStringList{"b"}
            << QStringList{"x1"};
        QTest::newRow("a burst spread over time")
            << QStringList{"x1"} << QStringList{"a", "x2"} << QStringList{} << QStringList{"a"}
            << QStringList{"x1\n\nx2"};
        QStringList many;
        for (int i = 0; i < 300; ++i)
            many << QStringLiteral("x%1").arg(i);
        QTest::newRow("three hundred failures")
            << many << QStringList{} << QStringList{} << QStringList{}
            << QStringList{"x0\n\nx1\n\nx2\n\nx3\n\nx4\n\n"
                           "ほかに 295 個のファイルを開けませんでした。"};
    }

    void failuresShareOneMessageAtATime()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, later);
        QFETCH(QStringList, during);
        QFETCH(QStringList, opened);
        QFETCH(QStringList, messages);
        QStringList openedPaths;
        QStringList shown;
        int depth = 0;
        int deepest = 0;
        CHandOffQueue* queue = nullptr;
        CHandOffQueue q(
            [&](const QString& path, QString* error) {
                if (path.startsWith(QLatin1Char('x'))) {
                    *error = path;
                    return false;
                }
                openedPaths << path;
                return true;
            },
            [&](const QString& text) {
                deepest = qMax(deepest, ++depth);
                shown << text;
                // The message is modal: requests keep coming in meanwhile.
                if (shown.size() == 1) {
                    for (const QString& path : during)
                        queue->enqueue(path);
                    QTRY_COMPARE(queue->pending(), 0);
                }
                --depth;
            });
        queue = &q;
        for (const QString& path : before)
            q.enqueue(path);
        QTRY_COMPARE(q.pending(), 0);
        for (const QString& path : later)
            q.enqueue(path);
        QTRY_VERIFY(q.isIdle());
        QCOMPARE(shown, messages);
        QCOMPARE(deepest, messages.isEmpty() ? 0 : 1);
        QCOMPARE(openedPaths, opened);
    }
};

MARQUILL_TEST_MAIN(TestHandOffQueue)
#include "tst_hand_off_queue.moc"
