#include "test_support.h"

#include <QElapsedTimer>
#include <QProcess>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

// Two real starts of the program: the second hands its file to the first and
// exits once the first has taken it.
class TestHandOff : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;
    QProcess m_first;

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.filePath(QStringLiteral("run")));
        return env;
    }

    int runSecond(const QStringList& args, const QString& folder)
    {
        QProcess second;
        second.setProcessEnvironment(environment());
        second.setWorkingDirectory(folder);
        second.start(QStringLiteral(MARQUILL_BINARY), args);
        if (!second.waitForFinished(60000))
            return -1;
        return second.exitCode();
    }

    QString write(const QString& relative, const QByteArray& bytes)
    {
        const QString path = m_home.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
        return path;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QDir().mkpath(m_home.filePath(QStringLiteral("run")));
        QFile::setPermissions(m_home.filePath(QStringLiteral("run")), QFileDevice::ReadOwner |
                                                                          QFileDevice::WriteOwner |
                                                                          QFileDevice::ExeOwner);
        write(QStringLiteral("a/first.htm"), "<P>first</P>");
        m_first.setProcessEnvironment(environment());
        m_first.setWorkingDirectory(m_home.filePath(QStringLiteral("a")));
        m_first.start(QStringLiteral(MARQUILL_BINARY), {QStringLiteral("first.htm")});
        QVERIFY(m_first.waitForStarted());
        const QString socket = m_home.filePath(QStringLiteral("run/MarquillOpenFile"));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(socket), 20000);
        QCOMPARE(m_first.state(), QProcess::Running);
    }

    void cleanupTestCase()
    {
        m_first.terminate();
        if (!m_first.waitForFinished(5000))
            m_first.kill();
    }

    void secondStartWithARelativePathOpensThatFile()
    {
        // The file exists only below the second start's folder; the first
        // instance runs elsewhere, so resolving there would fail.
        write(QStringLiteral("b/sub/second.htm"), "second");
        QCOMPARE(
            runSecond({QStringLiteral("sub/second.htm")}, m_home.filePath(QStringLiteral("b"))), 0);
        QCOMPARE(m_first.state(), QProcess::Running);
    }

    void aFileAlreadyOpenIsOnlyActivated()
    {
        QCOMPARE(runSecond({m_home.filePath(QStringLiteral("a/first.htm"))}, m_home.path()), 0);
    }

    // Files that cannot be opened are reported by the first instance; the
    // later starts have their answer at once, even while that message is up.
    void missingFilesAreAnsweredAtOnce()
    {
        for (int i = 0; i < 5; ++i) {
            QElapsedTimer timer;
            timer.start();
            QCOMPARE(
                runSecond({m_home.filePath(QStringLiteral("gone%1.htm").arg(i))}, m_home.path()),
                0);
            QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
        }
        write(QStringLiteral("c/after.htm"), "after");
        QCOMPARE(runSecond({QStringLiteral("c/after.htm")}, m_home.path()), 0);
        QCOMPARE(m_first.state(), QProcess::Running);
    }

    // Catches a file name that is not UTF-8 read as Qt reads the command line
    // (U+FFFD in place of its bytes): the file would be "not found". The first
    // instance opens it under its own bytes, which enter the recent files.
    void shiftJisNameOnTheCommandLine()
    {
        const QByteArray name = QFile::encodeName(m_home.path()) + "/\x83y\x81[\x83W.htm";
        QFile file;
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT, 0644);
        QVERIFY(fd >= 0 && file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
        file.write("<P>page</P>");
        file.close();
        QProcess second;
        second.setProcessEnvironment(environment());
        // The shell passes the bytes as they are; QProcess would make them UTF-8.
        second.start(
            QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"),
             QStringLiteral("exec \"$0\" \"$(printf '%s/\\203y\\201[\\203W.htm' \"$1\")\""),
             QStringLiteral(MARQUILL_BINARY), m_home.path()});
        QVERIFY(second.waitForFinished(60000));
        QCOMPARE(second.exitCode(), 0);
        const QString settings = m_home.filePath(QStringLiteral("config/Tollbury/Marquill.conf"));
        QTRY_COMPARE_WITH_TIMEOUT(
            QSettings(settings, QSettings::IniFormat).value("Recent File List/File1").toByteArray(),
            name, 20000);
        ::unlink(name.constData());
    }

    void secondStartWithoutAFileOnlyActivates()
    {
        QCOMPARE(runSecond({}, m_home.path()), 0);
        QCOMPARE(m_first.state(), QProcess::Running);
    }

    // A first instance that does not answer (stopped here) is reported by
    // the second start within seconds, not after a minute of silence.
    void aSilentFirstInstanceIsReported()
    {
        QCOMPARE(::kill(pid_t(m_first.processId()), SIGSTOP), 0);
        QProcess second;
        second.setProcessEnvironment(environment());
        second.setReadChannel(QProcess::StandardError);
        second.start(QStringLiteral(MARQUILL_BINARY), {m_home.filePath(QStringLiteral("x.htm"))});
        // Half a minute without a word would be the old silent wait.
        QByteArray said;
        while (!QString::fromLocal8Bit(said).contains(QStringLiteral("応答しません。")) &&
               second.waitForReadyRead(30000))
            said += second.readAllStandardError();
        second.kill(); // its message box waits for a click
        second.waitForFinished();
        ::kill(pid_t(m_first.processId()), SIGCONT);
        QVERIFY2(QString::fromLocal8Bit(said).contains(QStringLiteral("応答しません。")),
                 said.constData());
    }
};

MARQUILL_TEST_MAIN(TestHandOff)
#include "tst_handoff.moc"
