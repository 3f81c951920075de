#include "document/recovery_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QUuid>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// "<id>.lock", "<id>-<n>.copy" and "<id>-<n>.copy.tmp".
const QRegularExpression& fileNamePattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^([0-9a-f]{32})(?:\\.lock|-[0-9]+\\.copy(\\.tmp)?)$"));
    return pattern;
}

QString failure(const QString& what, int error)
{
    return QStringLiteral("%1 (%2)").arg(what, qt_error_string(error));
}

// Creates the folder when missing; accepts it only as a real folder of this
// user, and keeps it to the user alone.
bool ensureFolder(const QString& path, QString* error)
{
    QDir().mkpath(path);
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (::lstat(name.constData(), &st) != 0) {
        *error = failure(QStringLiteral("回復用フォルダを作れません"), errno);
        return false;
    }
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) {
        *error = QStringLiteral("回復用フォルダが利用者自身のフォルダではありません");
        return false;
    }
    if ((st.st_mode & 0777) != 0700 && ::chmod(name.constData(), 0700) != 0) {
        *error = failure(QStringLiteral("回復用フォルダの権限を変えられません"), errno);
        return false;
    }
    return true;
}

// Makes a rename in the folder last through a power cut.
void syncFolder(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool writeAll(int fd, QByteArrayView bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

} // namespace

QString CRecoveryFolder::defaultPath()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/Marquill/recovery");
}

QString CRecoveryFolder::newInstanceId()
{
    return QUuid::createUuid().toString(QUuid::Id128);
}

QString CRecoveryFolder::bootId()
{
    QFile f(QStringLiteral("/proc/sys/kernel/random/boot_id"));
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(f.readAll().trimmed());
}

CRecoveryFolder::CRecoveryFolder(const QString& path, const QString& instance)
    : m_path(path), m_instance(instance)
{
}

CRecoveryFolder::~CRecoveryFolder() = default;

QString CRecoveryFolder::copyFile(int serial) const
{
    return QStringLiteral("%1/%2-%3.copy").arg(m_path, m_instance).arg(serial);
}

bool CRecoveryFolder::prepare(QString* error)
{
    if (m_lock)
        return true;
    if (!ensureFolder(m_path, error))
        return false;
    m_lock = CInstanceLock::tryLock(
        m_path + QLatin1Char('/') + m_instance + QStringLiteral(".lock"), true);
    if (!m_lock) {
        *error = failure(QStringLiteral("回復用のロックファイルを作れません"), errno);
        return false;
    }
    m_lock->writeNote(QByteArray::number(QCoreApplication::applicationPid()) + ' ' +
                      bootId().toLatin1() + '\n');
    return true;
}

bool CRecoveryFolder::write(int serial, const QByteArrayList& parts, QString* error)
{
    const std::unique_ptr<Writer> writer = beginWrite(serial, error);
    if (!writer)
        return false;
    for (const QByteArray& part : parts) {
        if (!writer->append(part, error))
            return false;
    }
    return writer->commit(error);
}

std::unique_ptr<CRecoveryFolder::Writer> CRecoveryFolder::beginWrite(int serial, QString* error)
{
    if (!prepare(error))
        return nullptr;
    const QByteArray temporary = QFile::encodeName(copyFile(serial) + QStringLiteral(".tmp"));
    const int fd =
        ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        *error = failure(QStringLiteral("回復用ファイルを作れません"), errno);
        return nullptr;
    }
    std::unique_ptr<Writer> writer(new Writer(this, serial, fd));
    if (::fchmod(fd, 0600) != 0) {
        *error = failure(QStringLiteral("回復用ファイルを書き込めません"), errno);
        return nullptr;
    }
    return writer;
}

CRecoveryFolder::Writer::Writer(CRecoveryFolder* folder, int serial, int fd)
    : m_folder(folder), m_serial(serial), m_fd(fd)
{
}

CRecoveryFolder::Writer::~Writer()
{
    if (m_fd < 0)
        return;
    close();
    ::unlink(QFile::encodeName(m_folder->copyFile(m_serial) + QStringLiteral(".tmp")).constData());
}

void CRecoveryFolder::Writer::close()
{
    ::close(m_fd);
    m_fd = -1;
}

bool CRecoveryFolder::Writer::append(QByteArrayView bytes, QString* error)
{
    if (m_fd >= 0 && writeAll(m_fd, bytes))
        return true;
    *error = failure(QStringLiteral("回復用ファイルを書き込めません"), m_fd < 0 ? EBADF : errno);
    return false;
}

bool CRecoveryFolder::Writer::commit(QString* error)
{
    const QString target = m_folder->copyFile(m_serial);
    const QByteArray temporary = QFile::encodeName(target + QStringLiteral(".tmp"));
    bool ok = m_fd >= 0 && ::fsync(m_fd) == 0;
    const int writeError = m_fd < 0 ? EBADF : errno;
    if (m_fd >= 0) {
        ok = ::close(m_fd) == 0 && ok;
        m_fd = -1;
    }
    if (ok && ::rename(temporary.constData(), QFile::encodeName(target).constData()) == 0) {
        syncFolder(m_folder->path());
        return true;
    }
    *error = failure(QStringLiteral("回復用ファイルを書き込めません"), ok ? errno : writeError);
    ::unlink(temporary.constData());
    return false;
}

void CRecoveryFolder::remove(int serial)
{
    const QString file = copyFile(serial);
    QFile::remove(file);
    QFile::remove(file + QStringLiteral(".tmp"));
}

void CRecoveryFolder::removeAll()
{
    const QDir dir(m_path);
    const QStringList names = dir.entryList({m_instance + QStringLiteral("-*")},
                                            QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names)
        QFile::remove(dir.filePath(name));
    if (m_lock)
        m_lock->removeFile();
    m_lock.reset();
}

void CRecoveryFolder::Leftover::discard()
{
    for (const QString& file : std::as_const(m_copies))
        QFile::remove(file);
    if (m_lock)
        m_lock->removeFile();
    m_lock.reset();
}

std::vector<CRecoveryFolder::Leftover> CRecoveryFolder::claimLeftovers(const QString& path,
                                                                       const QString& ownInstance)
{
    // Only a folder of this user's own holds copies to offer.
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISDIR(st.st_mode) ||
        st.st_uid != ::geteuid())
        return {};
    const QDir dir(path);
    // Every instance that left a file, with its copies and unfinished writes.
    QMap<QString, QStringList> copies;
    QMap<QString, QStringList> unfinished;
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& name : names) {
        const QRegularExpressionMatch m = fileNamePattern().match(name);
        if (!m.hasMatch() || m.captured(1) == ownInstance)
            continue;
        QStringList& copyList = copies[m.captured(1)];
        if (name.endsWith(QLatin1String(".copy")))
            copyList.append(dir.filePath(name));
        else if (name.endsWith(QLatin1String(".tmp")))
            unfinished[m.captured(1)].append(dir.filePath(name));
    }
    std::vector<Leftover> claimed;
    for (auto it = copies.cbegin(); it != copies.cend(); ++it) {
        auto lock = CInstanceLock::tryLock(dir.filePath(it.key() + QStringLiteral(".lock")), true);
        if (!lock)
            continue; // that instance still runs
        for (const QString& file : unfinished.value(it.key()))
            QFile::remove(file);
        if (it.value().isEmpty()) {
            lock->removeFile();
            continue;
        }
        Leftover left;
        left.m_instance = it.key();
        left.m_copies = it.value();
        left.m_lock = std::move(lock);
        claimed.push_back(std::move(left));
    }
    return claimed;
}
