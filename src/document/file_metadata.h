#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>
#include <sys/types.h>

// What surrounds a file's bytes: its owner, group, mode bits (set-user-ID,
// set-group-ID and sticky included), extended attributes and access control
// list. A save that replaces a file by a new one gives the new file all of
// it, or does not replace the file.
namespace FileMetadata {

struct Attribute
{
    QByteArray name;
    QByteArray value;
};

class Acl; // the access control list of a file, as libacl holds it

struct Metadata
{
    uid_t owner = 0;
    gid_t group = 0;
    mode_t mode = 0; // the permission bits with set-user-ID, set-group-ID and sticky
    // The extended attributes but the access control lists, which come in acl.
    QList<Attribute> attributes;
    // The access control list; null where the file system has none.
    std::shared_ptr<Acl> acl;
};

// Reads the metadata of an open file. False with the errno value in `error`
// when a part of it cannot be read.
bool read(int fd, Metadata& metadata, int& error);

// Gives a new file (open at `fd`, written by this process, its bytes not yet
// written) the owner, group, extended attributes and access control list of
// `metadata`. False, naming what could not be given in `what`, when the system
// refuses one of them (an ordinary user cannot give a file away, nor to a
// group the user is not in).
bool applyBeforeWriting(int fd, const Metadata& metadata, QString& what);
// Gives the file its mode bits, once its bytes are written (writing clears the
// set-user-ID and set-group-ID bits), and checks that the owner, group and mode
// bits are all as in `metadata`. False, naming what differs in `what`, when
// they are not.
bool applyAfterWriting(int fd, const Metadata& metadata, QString& what);

// Whether this process can write into a file with these mode bits and give
// them back afterwards: writing clears the set-user-ID and set-group-ID bits,
// and only the owner can set them again, the set-group-ID bit only while in
// the file's group. Root keeps them in any case.
bool canKeepModeAcrossWrite(const Metadata& metadata);

} // namespace FileMetadata
