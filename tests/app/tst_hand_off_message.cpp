#include "app/hand_off_message.h"
#include "test_support.h"

using HandOffMessage::Parse;

Q_DECLARE_METATYPE(HandOffMessage::Parse)

namespace {

QByteArray frame(quint32 length, const QByteArray& payload)
{
    QByteArray out(4, '\0');
    qToBigEndian<quint32>(length, out.data());
    return out + payload;
}

} // namespace

// Reading a later start's request, however it arrives.
class TestHandOffMessage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Catches a frame taken before it has fully arrived, a length off by
    // one at either limit, bytes of the next frame taken into the path, and
    // a relative path accepted (it would be opened against the wrong folder).
    void parses_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Parse>("parse");
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<bool>("accepted");
        const QByteArray open = HandOffMessage::encode("/home/user/見本.htm");
        QTest::newRow("activate") << HandOffMessage::encode({}) << Parse::Complete << QByteArray()
                                  << true;
        QTest::newRow("open") << open << Parse::Complete << QByteArray("/home/user/見本.htm")
                              << true;
        QTest::newRow("followed by more") << open + QByteArray("\0\0", 2) << Parse::Complete
                                          << QByteArray("/home/user/見本.htm") << true;
        QTest::newRow("relative path")
            << HandOffMessage::encode("a.htm") << Parse::Complete << QByteArray("a.htm") << false;
        QTest::newRow("length only") << open.left(4) << Parse::NeedMore << QByteArray() << false;
        QTest::newRow("last byte missing")
            << open.chopped(1) << Parse::NeedMore << QByteArray() << false;
        QTest::newRow("empty payload") << frame(0, {}) << Parse::Invalid << QByteArray() << false;
        QTest::newRow("longest payload")
            << frame(HandOffMessage::kMaxPayload, "O/") << Parse::NeedMore << QByteArray() << false;
        QTest::newRow("too long") << frame(HandOffMessage::kMaxPayload + 1, "O/") << Parse::Invalid
                                  << QByteArray() << false;
        QTest::newRow("open without path")
            << frame(1, "O") << Parse::Invalid << QByteArray() << false;
        QTest::newRow("activate with more")
            << frame(2, "A/") << Parse::Invalid << QByteArray() << false;
    }
    void parses()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Parse, parse);
        QFETCH(QByteArray, path);
        QFETCH(bool, accepted);
        HandOffMessage::Request request;
        QCOMPARE(HandOffMessage::parse(bytes, request), parse);
        if (parse != Parse::Complete)
            return;
        QCOMPARE(request.path, path);
        QCOMPARE(request.accepted, accepted);
        QCOMPARE(request.frameSize, 4 + 1 + path.size());
    }
};

MARQUILL_TEST_MAIN(TestHandOffMessage)
#include "tst_hand_off_message.moc"
