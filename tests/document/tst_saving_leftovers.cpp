// A save written in place and cut short by a kill: the file's old bytes are
// found at the next start and can be put back.

#include "test_support.h"

#include "app/saving_leftover_offer.h"
#include "core/ui_seam.h"
#include "document/in_place_write.h"
#include "document/saving_leftovers.h"

#include <QProcess>
#include <QThread>

#include <csignal>

namespace {

// Set in the child that writes in place until it is killed: the file, and
// the cache folder it shares with the test.
constexpr char kWriterVariable[] = "MARQUILL_WRITE_IN_PLACE";
constexpr char kCacheVariable[] = "MARQUILL_WRITER_CACHE";
constexpr qsizetype kSize = 24 * 1024 * 1024;

QByteArray filled(char first)
{
    QByteArray bytes(kSize, Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char(first + i % 23);
    return bytes;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QStringList kept()
{
    return QDir(InPlaceWrite::backupFolder()).entryList(QDir::Files | QDir::Hidden);
}

bool noteWritten()
{
    return !QDir(InPlaceWrite::backupFolder()).entryList({QStringLiteral("*.info")}).isEmpty();
}

} // namespace

class TestSavingLeftovers : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_file;
    QByteArray m_old = filled('a');
    QByteArray m_new = filled('A');

    // Starts a writer of the new bytes over the file in place, and kills it
    // as soon as the old bytes are kept (or, `whileKeeping`, as soon as their
    // copy is begun). True when it left a copy behind (a writer that got to
    // its end first leaves none).
    bool killWhileWriting(bool whileKeeping = false)
    {
        QProcess writer;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(kWriterVariable), m_file);
        environment.insert(QString::fromLatin1(kCacheVariable),
                           qEnvironmentVariable("XDG_CACHE_HOME"));
        writer.setProcessEnvironment(environment);
        writer.start(QCoreApplication::applicationFilePath(), {});
        if (!writer.waitForStarted())
            return false;
        QElapsedTimer waited;
        waited.start();
        while (!(whileKeeping ? !kept().isEmpty() : noteWritten()) &&
               writer.state() == QProcess::Running && waited.elapsed() < 30000)
            QThread::usleep(200);
        ::kill(pid_t(writer.processId()), SIGKILL);
        writer.waitForFinished();
        return !kept().isEmpty();
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString target = qEnvironmentVariable(kWriterVariable);
        if (!target.isEmpty()) {
            qputenv("XDG_CACHE_HOME", qgetenv(kCacheVariable));
            QString reason;
            InPlaceWrite::write(target, filled('A'), reason);
            for (;;)
                ::pause();
        }
        m_file = m_dir.filePath(QStringLiteral("page.htm"));
    }

    void init()
    {
        UiSeam::setMessageHook({});
        QDir(InPlaceWrite::backupFolder()).removeRecursively();
        QVERIFY(writeAll(m_file, m_old));
    }

    // Catches a kill during a write in place that leaves the file half new
    // and half old with no way back: the old bytes must be on disk, found at
    // the next start and put back whole, whatever moment the kill came at.
    void killedWriteCanBePutBack()
    {
        int cutShort = 0;
        for (int run = 0; run < 3; ++run) {
            QVERIFY(writeAll(m_file, m_old));
            if (!killWhileWriting()) {
                QVERIFY(readAll(m_file) == m_new);
                continue;
            }
            ++cutShort;
            const QByteArray now = readAll(m_file);
            std::vector<SavingLeftovers::Leftover> found =
                SavingLeftovers::claim(InPlaceWrite::backupFolder());
            QCOMPARE(found.size(), size_t(1));
            QCOMPARE(found[0].file, m_file);
            using State = SavingLeftovers::Leftover::State;
            QCOMPARE(found[0].state, now == m_new   ? State::Finished
                                     : now == m_old ? State::Untouched
                                                    : State::Unknown);
            QString reason;
            QVERIFY2(SavingLeftovers::putBack(found[0], reason), qPrintable(reason));
            QVERIFY(readAll(m_file) == m_old);
            QCOMPARE(kept(), QStringList());
        }
        QVERIFY2(cutShort > 0, "every writer finished before it could be killed");
    }

    // Catches a copy cut short before its note was written, which no start
    // would ever find: it stays in the cache for good.
    void killedWhileKeepingTheOldBytesLeavesNothing()
    {
        QVERIFY(killWhileWriting(true));
        if (noteWritten())
            QSKIP("the writer got past keeping the old bytes before it was killed");
        QVERIFY(readAll(m_file) == m_old);
        QCOMPARE(SavingLeftovers::claim(InPlaceWrite::backupFolder()).size(), size_t(0));
        QCOMPARE(kept(), QStringList());
    }

    void offer_data()
    {
        QTest::addColumn<QByteArray>("fileAfterKill");
        QTest::addColumn<QList<int>>("answers"); // to the questions, in turn
        QTest::addColumn<bool>("putBack");
        QTest::addColumn<bool>("copyKept");

        const QByteArray mixed = filled('A').left(kSize / 2) + filled('a').mid(kSize / 2);
        const int yes = QMessageBox::Yes;
        const int no = QMessageBox::No;
        QTest::newRow("mixed, put back") << mixed << QList<int>{yes} << true << false;
        QTest::newRow("mixed, removed") << mixed << QList<int>{no, yes} << false << false;
        QTest::newRow("mixed, kept for later") << mixed << QList<int>{no, no} << false << true;
        QTest::newRow("removed file, made again")
            << QByteArray() << QList<int>{yes} << true << false;
        QTest::newRow("write had finished") << filled('A') << QList<int>{} << false << false;
        QTest::newRow("write had not begun") << filled('a') << QList<int>{} << false << false;
    }

    // Catches a left-over copy that is never mentioned, one that is put back
    // or removed without a yes, and one no longer needed that stays forever.
    void offer()
    {
        QFETCH(QByteArray, fileAfterKill);
        QFETCH(QList<int>, answers);
        QFETCH(bool, putBack);
        QFETCH(bool, copyKept);
        bool left = false;
        for (int attempt = 0; attempt < 5 && !left; ++attempt) {
            QVERIFY(writeAll(m_file, m_old));
            left = killWhileWriting();
        }
        QVERIFY2(left, "every writer finished before it could be killed");
        if (fileAfterKill.isEmpty())
            QVERIFY(QFile::remove(m_file));
        else
            QVERIFY(writeAll(m_file, fileAfterKill));
        QList<int> asked;
        UiSeam::setMessageHook(
            [&](const QString&, QMessageBox::Icon, QMessageBox::StandardButtons) {
                asked.append(answers.value(asked.size(), QMessageBox::Cancel));
                return QMessageBox::StandardButton(asked.last());
            });
        SavingLeftoverOffer::run(nullptr, InPlaceWrite::backupFolder());
        QCOMPARE(asked, answers);
        QVERIFY(readAll(m_file) == (putBack ? m_old : fileAfterKill));
        QCOMPARE(kept().size(), copyKept ? 2 : 0);
    }
};

MARQUILL_TEST_MAIN(TestSavingLeftovers)
#include "tst_saving_leftovers.moc"
