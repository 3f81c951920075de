#include "document/saving_leftovers.h"

#include "core/file_names.h"
#include "document/content_digest.h"
#include "document/document_file.h"
#include "document/in_place_write.h"
#include "document/instance_lock.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>

#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace SavingLeftovers {
namespace {

constexpr qint64 kChunk = 1 << 20;

struct Note
{
    QString file;
    qint64 oldSize = -1;
    qint64 newSize = -1;
    QByteArray oldDigest;
    QByteArray newDigest;
    QDateTime started;
};

bool readNote(const QString& path, Note& note)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QJsonObject fields = QJsonDocument::fromJson(f.read(64 * 1024)).object();
    if (fields.value(QStringLiteral("version")).toInt() != 1)
        return false;
    note.file = FileNames::decode(
        QByteArray::fromBase64(fields.value(QStringLiteral("fileBytes")).toString().toLatin1()));
    note.oldSize = fields.value(QStringLiteral("oldSize")).toString().toLongLong();
    note.newSize = fields.value(QStringLiteral("newSize")).toString().toLongLong();
    note.oldDigest = fields.value(QStringLiteral("oldDigest")).toString().toLatin1();
    note.newDigest = fields.value(QStringLiteral("newDigest")).toString().toLatin1();
    note.started = QDateTime::fromString(fields.value(QStringLiteral("started")).toString(),
                                         Qt::ISODateWithMs);
    return !note.file.isEmpty() && note.oldSize >= 0 && note.newSize >= 0;
}

// The digest of the file's bytes; empty when it cannot be read.
QByteArray digestOf(const QString& file)
{
    const int fd = ::open(FileNames::encode(file).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return QByteArray();
    CContentDigest digest;
    QByteArray buffer(kChunk, Qt::Uninitialized);
    ssize_t got = 0;
    while ((got = ::read(fd, buffer.data(), size_t(buffer.size()))) > 0)
        digest.add(QByteArrayView(buffer.constData(), got));
    ::close(fd);
    return got < 0 ? QByteArray() : digest.hex();
}

Leftover::State stateOf(const Note& note)
{
    struct stat st;
    if (::stat(FileNames::encode(note.file).constData(), &st) != 0)
        return Leftover::State::Missing;
    if (st.st_size != note.newSize && st.st_size != note.oldSize)
        return Leftover::State::Unknown;
    const QByteArray digest = digestOf(note.file);
    if (!digest.isEmpty() && st.st_size == note.newSize && digest == note.newDigest)
        return Leftover::State::Finished;
    if (!digest.isEmpty() && st.st_size == note.oldSize && digest == note.oldDigest)
        return Leftover::State::Untouched;
    return Leftover::State::Unknown;
}

void removeFile(const QString& path)
{
    ::unlink(FileNames::encode(path).constData());
}

// A copy with no note that no writer holds: its write ended while the old
// bytes were still being kept, before the file was touched.
void removeIfOrphan(const QString& copy)
{
    const QString note = InPlaceWrite::noteFile(copy);
    if (QFile::exists(note) || QFile::exists(note + QStringLiteral(".tmp")))
        return;
    const std::unique_ptr<CInstanceLock> lock = CInstanceLock::tryLock(copy, false);
    // The writer puts the note in place before it lets the copy go.
    if (lock && !QFile::exists(note) && !QFile::exists(note + QStringLiteral(".tmp")))
        removeFile(copy);
}

} // namespace

std::vector<Leftover> claim(const QString& folder)
{
    std::vector<Leftover> found;
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& name : names) {
        const bool unfinishedNote = name.endsWith(QLatin1String(".info.tmp"));
        if (!unfinishedNote && !name.endsWith(QLatin1String(".info"))) {
            removeIfOrphan(dir.filePath(name));
            continue;
        }
        const QString notePath = dir.filePath(name);
        std::shared_ptr<CInstanceLock> lock = CInstanceLock::tryLock(notePath, false);
        if (!lock)
            continue; // that write is still under way
        const QString copy = notePath.left(notePath.lastIndexOf(QLatin1String(".info")));
        Note note;
        // A note that never got its name was made before the file was touched;
        // one without its copy is left by a write that was removing both
        // after it had ended.
        if (unfinishedNote || !readNote(notePath, note) || !QFile::exists(copy)) {
            removeFile(copy);
            removeFile(notePath);
            continue;
        }
        Leftover leftover{copy, note.file, note.started, stateOf(note), std::move(lock)};
        found.push_back(std::move(leftover));
    }
    return found;
}

bool putBack(const Leftover& leftover, QString& reason)
{
    QByteArray bytes;
    try {
        if (!DocumentFile::readBytes(leftover.copy, bytes, reason))
            return false;
        if (!DocumentFile::writeBytes(leftover.file, bytes, reason))
            return false;
    } catch (const std::bad_alloc&) {
        reason = DocumentFile::cannotReadMessage(leftover.copy, DocumentFile::outOfMemoryReason());
        return false;
    }
    remove(leftover);
    return true;
}

void remove(const Leftover& leftover)
{
    removeFile(leftover.copy);
    removeFile(InPlaceWrite::noteFile(leftover.copy));
}

} // namespace SavingLeftovers
