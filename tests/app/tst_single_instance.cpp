#include "test_support.h"

#include "app/single_instance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QtEndian>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// The test program doubles as the second instance: started with
// kClientMode set, it hands kFile over and exits with 0 (taken),
// 3 (refused) or 2 (nobody answered).
namespace {

const char* const kClientMode = "MARQUILL_TEST_HANDOFF_CLIENT";
const char* const kFile = "MARQUILL_TEST_HANDOFF_FILE";
const char* const kSocket = "MARQUILL_TEST_HANDOFF_SOCKET";
constexpr int kClientTimeoutMs = 20000;

int runClient(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString file = qEnvironmentVariable(kFile);
    const QString socket = qEnvironmentVariable(kSocket);
    bool accepted = false;
    const bool answered = socket.isEmpty()
                              ? CSingleInstance::handOff(file, kClientTimeoutMs, &accepted)
                              : CSingleInstance::handOff(file, kClientTimeoutMs, &accepted, socket);
    return !answered ? 2 : accepted ? 0 : 3;
}

// Leaves a socket file behind the way a crashed instance does.
bool createStaleSocket(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (name.size() >= qsizetype(sizeof address.sun_path)) {
        ::close(fd);
        return false;
    }
    memcpy(address.sun_path, name.constData(), name.size());
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

QByteArray frame(const QByteArray& payload)
{
    QByteArray head(4, '\0');
    qToBigEndian<quint32>(quint32(payload.size()), head.data());
    return head + payload;
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private:
    // Records what the first instance was asked to do.
    struct Receiver
    {
        QStringList opened;
        int activations = 0;
        bool clientAnsweredFirst = true;
        QProcess* client = nullptr;

        void attach(CSingleInstance& instance)
        {
            QObject::connect(&instance, &CSingleInstance::activateRequested,
                             [this] { ++activations; });
            QObject::connect(&instance, &CSingleInstance::openFileRequested,
                             [this](const QString& path) {
                                 opened << path;
                                 // The second instance has had its answer and
                                 // ends while the file is still being opened.
                                 if (client && !client->waitForFinished(kClientTimeoutMs))
                                     clientAnsweredFirst = false;
                             });
        }
    };

    QProcess* startClient(const QString& file, const QString& folder,
                          const QString& socket = QString())
    {
        auto* process = new QProcess(this);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(kClientMode), QStringLiteral("1"));
        environment.insert(QString::fromLatin1(kFile), file);
        if (!socket.isEmpty())
            environment.insert(QString::fromLatin1(kSocket), socket);
        process->setProcessEnvironment(environment);
        process->setWorkingDirectory(folder);
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->setProgram(QCoreApplication::applicationFilePath());
        return process;
    }

    static QLocalSocket* serverSide(const CSingleInstance& instance)
    {
        const auto sockets = instance.findChildren<QLocalSocket*>();
        return sockets.isEmpty() ? nullptr : sockets.first();
    }

private Q_SLOTS:
    void socketLivesInThePrivateRuntimeFolder()
    {
        const QString path = CSingleInstance::defaultSocketPath();
        QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("MarquillOpenFile"));
        QCOMPARE(QFileInfo(path).absolutePath(),
                 QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
        struct stat st;
        QCOMPARE(::stat(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0700));
    }

    void onlyOnePrimary()
    {
        CSingleInstance first;
        QVERIFY(first.tryBecomePrimary());
        QVERIFY(first.isListening());
        CSingleInstance second;
        QVERIFY(!second.tryBecomePrimary());
        QVERIFY(!second.isListening());
    }

    // The client resolves a relative path against its own working folder and
    // exits once the first instance has taken the request.
    void relativePathResolvedByTheClient()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("site/sub")));
        CSingleInstance instance;
        QVERIFY(instance.tryBecomePrimary());
        Receiver receiver;
        receiver.attach(instance);

        QProcess* client = startClient(QStringLiteral("../page.htm"), dir.filePath("site/sub"));
        receiver.client = client;
        client->start();
        QTRY_COMPARE_WITH_TIMEOUT(client->state(), QProcess::NotRunning, kClientTimeoutMs + 10000);
        QCOMPARE(client->exitCode(), 0);
        QCOMPARE(receiver.opened, QStringList{dir.filePath(QStringLiteral("site/page.htm"))});
        QCOMPARE(receiver.activations, 1);
        QVERIFY(receiver.clientAnsweredFirst);
    }

    void activationWithoutAFile()
    {
        CSingleInstance instance;
        QVERIFY(instance.tryBecomePrimary());
        Receiver receiver;
        receiver.attach(instance);
        QProcess* client = startClient(QString(), QDir::tempPath());
        client->start();
        QTRY_COMPARE_WITH_TIMEOUT(client->state(), QProcess::NotRunning, kClientTimeoutMs + 10000);
        QCOMPARE(client->exitCode(), 0);
        QCOMPARE(receiver.activations, 1);
        QVERIFY(receiver.opened.isEmpty());
    }

    void staleSocketIsReplaced()
    {
        const QString path = CSingleInstance::defaultSocketPath();
        QVERIFY(createStaleSocket(path));
        QVERIFY(QFileInfo::exists(path));
        QVERIFY(!CSingleInstance::handOff(QString(), 2000));

        CSingleInstance instance;
        QVERIFY(instance.tryBecomePrimary());
        Receiver receiver;
        receiver.attach(instance);
        QProcess* client = startClient(QStringLiteral("/tmp/a.htm"), QDir::tempPath());
        client->start();
        QTRY_COMPARE_WITH_TIMEOUT(client->state(), QProcess::NotRunning, kClientTimeoutMs + 10000);
        QCOMPARE(client->exitCode(), 0);
        QCOMPARE(receiver.opened, QStringList{"/tmp/a.htm"});
    }

    void noInstanceOrAHungOneDoesNotHangTheClient()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sock"));
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!CSingleInstance::handOff(QStringLiteral("/a.htm"), 5000, nullptr, path));
        QVERIFY(timer.elapsed() < 5000);

        // A server that accepts but never answers (it runs in this very
        // thread, which handOff blocks).
        QLocalServer hung;
        QVERIFY(hung.listen(path));
        timer.restart();
        QVERIFY(!CSingleInstance::handOff(QStringLiteral("/a.htm"), 300, nullptr, path));
        QVERIFY(timer.elapsed() >= 250);
        QVERIFY(timer.elapsed() < 5000);
    }

    void requestArrivingInPieces()
    {
        CSingleInstance instance;
        QVERIFY(instance.tryBecomePrimary());
        Receiver receiver;
        receiver.attach(instance);
        QLocalSocket client;
        client.connectToServer(instance.socketPath());
        QVERIFY(client.waitForConnected(5000));
        const QByteArray request = frame("O/home/u/日本語.htm");

        client.write(request.left(2));
        client.flush();
        QTRY_VERIFY(serverSide(instance) && serverSide(instance)->bytesAvailable() == 2);
        client.write(request.mid(2, 5));
        client.flush();
        QTRY_COMPARE(serverSide(instance)->bytesAvailable(), 7);
        QVERIFY(receiver.opened.isEmpty());
        client.write(request.mid(7));
        client.flush();
        QTRY_VERIFY(client.bytesAvailable() > 0);
        QCOMPARE(client.readAll(), QByteArray("1"));
        QTRY_COMPARE(receiver.opened, QStringList{"/home/u/日本語.htm"});
    }

    void malformedRequestsAreDropped_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::newRow("too long") << QByteArray("\xff\xff\xff\xff", 4);
        QTest::newRow("empty") << QByteArray(4, '\0');
        QTest::newRow("unknown kind") << frame("X/a.htm");
        QTest::newRow("open without a path") << frame("O");
    }

    void malformedRequestsAreDropped()
    {
        QFETCH(QByteArray, request);
        CSingleInstance instance;
        QVERIFY(instance.tryBecomePrimary());
        Receiver receiver;
        receiver.attach(instance);
        QLocalSocket client;
        client.connectToServer(instance.socketPath());
        QVERIFY(client.waitForConnected(5000));
        client.write(request);
        client.flush();
        QTRY_COMPARE(client.state(), QLocalSocket::UnconnectedState);
        QCOMPARE(client.bytesAvailable(), 0);
        QCOMPARE(receiver.activations, 0);
        QVERIFY(receiver.opened.isEmpty());
    }

    void relativePathFromAnotherClientIsNotOpened()
    {
        CSingleInstance instance;
        QVERIFY(instance.tryBecomePrimary());
        Receiver receiver;
        receiver.attach(instance);
        QLocalSocket client;
        client.connectToServer(instance.socketPath());
        QVERIFY(client.waitForConnected(5000));
        client.write(frame("Opage.htm"));
        QTRY_VERIFY(client.bytesAvailable() > 0);
        QCOMPARE(client.readAll(), QByteArray("0"));
        QVERIFY(receiver.opened.isEmpty());
    }

    // Catches the listener given up when accepting fails for want of
    // descriptors: every later start would then become a second instance.
    void listenerSurvivesRunningOutOfDescriptors()
    {
        QTemporaryDir dir;
        CSingleInstance instance(dir.filePath(QStringLiteral("sock")));
        QVERIFY(instance.tryBecomePrimary());
        Receiver receiver;
        receiver.attach(instance);
        struct rlimit old;
        QCOMPARE(::getrlimit(RLIMIT_NOFILE, &old), 0);
        struct rlimit low = old;
        low.rlim_cur = qMin<rlim_t>(old.rlim_cur, 512);
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &low), 0);
        QList<int> filler;
        for (int fd; (fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;)
            filler.append(fd);
        ::close(filler.takeLast()); // the client's
        QLocalSocket client;
        client.connectToServer(instance.socketPath());
        const bool connected = client.waitForConnected(1000);
        QTest::qWait(3 * 200); // the first instance finds no descriptor to accept with
        const bool listening = instance.isListening();
        for (int fd : std::as_const(filler))
            ::close(fd);
        ::setrlimit(RLIMIT_NOFILE, &old);
        QVERIFY(connected);
        QVERIFY(listening);
        client.write(frame("A"));
        QTRY_VERIFY(client.bytesAvailable() > 0);
        QCOMPARE(client.readAll(), QByteArray("1"));
        QTRY_COMPARE(receiver.activations, 1);
    }

    // Catches a second start that takes over while the first instance runs
    // but cannot take its connection (its queue is full).
    void busyFirstInstanceIsNotReplaced()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sock"));
        CSingleInstance first(path);
        QVERIFY(first.tryBecomePrimary());
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        memcpy(address.sun_path, QFile::encodeName(path).constData(), size_t(path.size()));
        QList<int> queued;
        for (int i = 0; i < 1000; ++i) {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            queued.append(fd);
            if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
                break;
        }
        CSingleInstance second(path);
        const bool primary = second.tryBecomePrimary();
        for (int fd : std::as_const(queued))
            ::close(fd);
        QVERIFY(!primary);
        QVERIFY(!second.isListening());
        QVERIFY(first.isListening());
    }

    // Catches connections that pile up without limit, each holding a
    // descriptor: at most kMaxServed at once, idle ones dropped in time, and
    // the ones that waited served after them.
    void connectionsServedAtOnceAreCapped()
    {
        CSingleInstance instance;
        QVERIFY(instance.tryBecomePrimary());
        instance.setRequestTimeout(300);
        Receiver receiver;
        receiver.attach(instance);
        std::vector<std::unique_ptr<QLocalSocket>> idle;
        for (int i = 0; i < CSingleInstance::kMaxServed + 4; ++i) {
            idle.push_back(std::make_unique<QLocalSocket>());
            idle.back()->connectToServer(instance.socketPath());
            QVERIFY(idle.back()->waitForConnected(1000));
        }
        QTRY_COMPARE(instance.servedNow(), CSingleInstance::kMaxServed);
        QLocalSocket client;
        client.connectToServer(instance.socketPath());
        QVERIFY(client.waitForConnected(1000));
        client.write(frame("A"));
        QTRY_VERIFY_WITH_TIMEOUT(client.bytesAvailable() > 0, 10000);
        QCOMPARE(client.readAll(), QByteArray("1"));
        for (const auto& socket : idle)
            QTRY_COMPARE(socket->state(), QLocalSocket::UnconnectedState);
        QCOMPARE(receiver.activations, 1);
    }

    void otherUsersAreRefused()
    {
        if (::geteuid() != 0)
            QSKIP("needs root to run a client as another user");
        // A folder and socket open to everybody, so that only the peer check
        // stands between another user and the first instance.
        QTemporaryDir dir;
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
        const QString path = dir.filePath(QStringLiteral("sock"));
        CSingleInstance instance(path);
        QVERIFY(instance.tryBecomePrimary());
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0777) == 0);
        Receiver receiver;
        receiver.attach(instance);

        QProcess* stranger = startClient(QStringLiteral("/tmp/a.htm"), QStringLiteral("/"), path);
        const QByteArray program = QFile::encodeName(QCoreApplication::applicationFilePath());
        stranger->setChildProcessModifier([program] {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(120);
            // The test program may lie in a folder other users cannot enter.
            if (::access(program.constData(), X_OK) != 0)
                ::_exit(121);
        });
        stranger->start();
        QTRY_COMPARE_WITH_TIMEOUT(stranger->state(), QProcess::NotRunning,
                                  kClientTimeoutMs + 10000);
        if (stranger->error() == QProcess::FailedToStart || stranger->exitCode() == 121)
            QSKIP("another user cannot run the test program from this folder");
        QCOMPARE(stranger->exitCode(), 2);
        QCOMPARE(receiver.activations, 0);

        QProcess* owner = startClient(QStringLiteral("/tmp/a.htm"), QStringLiteral("/"), path);
        owner->start();
        QTRY_COMPARE_WITH_TIMEOUT(owner->state(), QProcess::NotRunning, kClientTimeoutMs + 10000);
        QCOMPARE(owner->exitCode(), 0);
        QCOMPARE(receiver.opened, QStringList{"/tmp/a.htm"});
    }
};

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet(kClientMode))
        return runClient(argc, argv);
    TestSupport::isolateSettings();
    QApplication app(argc, argv);
    TestSingleInstance test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_single_instance.moc"
