#include "document/recovery_folder.h"

#include "document/file_errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QUuid>

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// "<id>.lock", "<id>-<n>.journal", "<id>-<n>-<k>.base", "<id>-<n>.copy",
// each of the last three also with ".tmp" (a write under way).
const QRegularExpression& fileNamePattern()
{
    static const QRegularExpression pattern(QStringLiteral(
        "^([0-9a-f]{32})(?:\\.lock|-[0-9]+(?:\\.journal|\\.copy|-[0-9]+\\.base)(\\.tmp)?)$"));
    return pattern;
}

QString failure(const QString& what, int error)
{
    return QStringLiteral("%1。%2").arg(what, FileErrors::reasonFor(error));
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

void CRecoveryFolder::Leftover::keep(const QString& file)
{
    for (QStringList* files : {&m_journals, &m_copies, &m_bases})
        files->removeAll(file);
}

void CRecoveryFolder::Leftover::discard()
{
    for (const QStringList* files : {&m_journals, &m_copies, &m_bases})
        for (const QString& file : *files)
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
    // Every instance that left a file, with its journals, copies, compacted
    // copies and unfinished writes.
    std::map<QString, Leftover> found;
    QMap<QString, QStringList> unfinished;
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& name : names) {
        const QRegularExpressionMatch m = fileNamePattern().match(name);
        if (!m.hasMatch() || m.captured(1) == ownInstance)
            continue;
        Leftover& left = found[m.captured(1)];
        const QString file = dir.filePath(name);
        if (!m.captured(2).isEmpty())
            unfinished[m.captured(1)].append(file);
        else if (name.endsWith(QLatin1String(".journal")))
            left.m_journals.append(file);
        else if (name.endsWith(QLatin1String(".copy")))
            left.m_copies.append(file);
        else if (name.endsWith(QLatin1String(".base")))
            left.m_bases.append(file);
    }
    std::vector<Leftover> claimed;
    for (auto& [instance, left] : found) {
        auto lock = CInstanceLock::tryLock(dir.filePath(instance + QStringLiteral(".lock")), true);
        if (!lock)
            continue; // that instance still runs
        for (const QString& file : unfinished.value(instance))
            QFile::remove(file);
        if (left.m_journals.isEmpty() && left.m_copies.isEmpty()) {
            // Compacted copies without their journal hold nothing to offer.
            for (const QString& file : std::as_const(left.m_bases))
                QFile::remove(file);
            lock->removeFile();
            continue;
        }
        left.m_instance = instance;
        left.m_lock = std::move(lock);
        claimed.push_back(std::move(left));
    }
    return claimed;
}
