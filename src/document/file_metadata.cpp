#include "document/file_metadata.h"

#include <acl/libacl.h>
#include <cerrno>
#include <sys/acl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace FileMetadata {

class Acl
{
public:
    explicit Acl(acl_t acl) : m_acl(acl) {}
    ~Acl() { acl_free(m_acl); }
    Acl(const Acl&) = delete;
    Acl& operator=(const Acl&) = delete;
    acl_t get() const { return m_acl; }

private:
    acl_t m_acl;
};

namespace {

// The access control lists travel through libacl, not as raw attributes.
bool isAclAttribute(const QByteArray& name)
{
    return name == "system.posix_acl_access" || name == "system.posix_acl_default";
}

// Calls a listing or reading function of the attribute interface until its
// buffer is large enough; returns the bytes, or false with errno set.
template <typename Call> bool grow(QByteArray& buffer, Call call)
{
    for (int attempt = 0; attempt < 8; ++attempt) {
        const ssize_t needed = call(nullptr, 0);
        if (needed < 0)
            return false;
        buffer.resize(needed);
        if (needed == 0)
            return true;
        const ssize_t got = call(buffer.data(), size_t(buffer.size()));
        if (got >= 0) {
            buffer.resize(got);
            return true;
        }
        if (errno != ERANGE)
            return false;
    }
    errno = ERANGE;
    return false;
}

bool inGroup(gid_t group)
{
    if (::getegid() == group)
        return true;
    const int count = ::getgroups(0, nullptr);
    if (count <= 0)
        return false;
    QList<gid_t> groups(count);
    const int got = ::getgroups(count, groups.data());
    return got > 0 && groups.mid(0, got).contains(group);
}

} // namespace

bool read(int fd, Metadata& metadata, int& error)
{
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        error = errno;
        return false;
    }
    metadata.owner = st.st_uid;
    metadata.group = st.st_gid;
    metadata.mode = st.st_mode & 07777;
    metadata.attributes.clear();
    QByteArray names;
    if (!grow(names, [fd](char* b, size_t n) { return ::flistxattr(fd, b, n); })) {
        if (errno != ENOTSUP) {
            error = errno;
            return false;
        }
        names.clear();
    }
    for (const QByteArray& name : names.split('\0')) {
        if (name.isEmpty() || isAclAttribute(name))
            continue;
        Attribute attribute{name, QByteArray()};
        if (!grow(attribute.value, [fd, &name](char* b, size_t n) {
                return ::fgetxattr(fd, name.constData(), b, n);
            })) {
            if (errno == ENODATA)
                continue; // removed meanwhile
            error = errno;
            return false;
        }
        metadata.attributes.append(attribute);
    }
    metadata.acl.reset();
    if (acl_t acl = acl_get_fd(fd)) {
        metadata.acl = std::make_shared<Acl>(acl);
    } else if (errno != ENOTSUP) {
        error = errno;
        return false;
    }
    return true;
}

bool applyBeforeWriting(int fd, const Metadata& metadata, QString& what)
{
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        what = QStringLiteral("所有者");
        return false;
    }
    if ((st.st_uid != metadata.owner || st.st_gid != metadata.group) &&
        ::fchown(fd, metadata.owner, metadata.group) != 0) {
        what = st.st_uid != metadata.owner ? QStringLiteral("所有者") : QStringLiteral("グループ");
        return false;
    }
    for (const Attribute& attribute : metadata.attributes) {
        if (::fsetxattr(fd, attribute.name.constData(), attribute.value.constData(),
                        size_t(attribute.value.size()), 0) != 0) {
            what = QStringLiteral("拡張属性 %1").arg(QString::fromUtf8(attribute.name));
            return false;
        }
    }
    // The new file may have taken an access control list from its folder's
    // default; the file it replaces decides, even when it has none beyond its
    // mode bits.
    if (metadata.acl && acl_set_fd(fd, metadata.acl->get()) != 0) {
        what = QStringLiteral("アクセス制御リスト (ACL)");
        return false;
    }
    return true;
}

bool applyAfterWriting(int fd, const Metadata& metadata, QString& what)
{
    struct stat st;
    if (::fstat(fd, &st) != 0 ||
        ((st.st_mode & 07777) != metadata.mode && ::fchmod(fd, metadata.mode) != 0) ||
        ::fstat(fd, &st) != 0) {
        what = QStringLiteral("アクセス権");
        return false;
    }
    if (st.st_uid != metadata.owner || st.st_gid != metadata.group) {
        what = st.st_uid != metadata.owner ? QStringLiteral("所有者") : QStringLiteral("グループ");
        return false;
    }
    // Without the right to keep them, the system drops the set-user-ID and
    // set-group-ID bits silently.
    if ((st.st_mode & 07777) != metadata.mode) {
        what = QStringLiteral("アクセス権");
        return false;
    }
    return true;
}

bool canKeepModeAcrossWrite(const Metadata& metadata)
{
    if (::geteuid() == 0)
        return true;
    // The system drops the set-group-ID bit of a group-executable file, or
    // of one whose group the writer is not in; the set-user-ID bit always.
    const bool inFileGroup = inGroup(metadata.group);
    const bool dropsGroupBit =
        (metadata.mode & S_ISGID) && ((metadata.mode & S_IXGRP) || !inFileGroup);
    if (!(metadata.mode & S_ISUID) && !dropsGroupBit)
        return true;
    return metadata.owner == ::geteuid() && (!(metadata.mode & S_ISGID) || inFileGroup);
}

} // namespace FileMetadata
