#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

// A fast 64-bit digest of bytes given in pieces, to tell whether a file still
// holds what was written to it. Not for secrets: it only tells apart texts
// that differ by accident (a write cut short, another program's change).
class CContentDigest
{
public:
    void add(QByteArrayView bytes);
    // 16 hexadecimal digits; the same bytes give the same digest however
    // they were split into pieces.
    QByteArray hex() const;

    static QByteArray of(QByteArrayView bytes);

private:
    void round(const unsigned char* block);

    uint64_t m_lanes[4] = {0x9E3779B185EBCA87ULL, 0xC2B2AE3D27D4EB4FULL, 0x165667B19E3779F9ULL,
                           0x85EBCA77C2B2AE63ULL};
    unsigned char m_pending[32] = {};
    int m_pendingSize = 0;
    uint64_t m_total = 0;
};
