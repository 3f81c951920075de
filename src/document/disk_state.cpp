#include "document/disk_state.h"

#include "core/file_names.h"

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

DiskState DiskState::of(const QString& path)
{
    DiskState state;
    const QByteArray name = FileNames::encode(path);
    struct stat st;
    if (::lstat(name.constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
        state.symbolicLink = true;
        QByteArray target(PATH_MAX, Qt::Uninitialized);
        const ssize_t length = ::readlink(name.constData(), target.data(), size_t(target.size()));
        state.linkTarget = target.left(qMax<ssize_t>(length, 0));
    }
    if (::stat(name.constData(), &st) != 0)
        return state;
    state.exists = true;
    state.device = st.st_dev;
    state.inode = st.st_ino;
    state.size = st.st_size;
    state.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return state;
}

DiskChange diskChange(const DiskState& known, const DiskState& now)
{
    if (!known.exists && !known.symbolicLink)
        return DiskChange::None;
    if (now.symbolicLink && !known.symbolicLink)
        return DiskChange::ReplacedByLink;
    if (!now.exists)
        return DiskChange::Removed;
    if (now.device != known.device || now.inode != known.inode || now.size != known.size ||
        now.modifiedNs != known.modifiedNs || now.linkTarget != known.linkTarget)
        return DiskChange::Changed;
    return DiskChange::None;
}
