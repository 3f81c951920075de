#include "document/content_digest.h"

#include <cstring>

namespace {

constexpr uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr uint64_t kPrime3 = 0x165667B19E3779F9ULL;

uint64_t rotl(uint64_t x, int r)
{
    return (x << r) | (x >> (64 - r));
}

uint64_t load(const unsigned char* p)
{
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

uint64_t mix(uint64_t lane, uint64_t word)
{
    return rotl(lane + word * kPrime2, 31) * kPrime1;
}

} // namespace

void CContentDigest::round(const unsigned char* block)
{
    for (int i = 0; i < 4; ++i)
        m_lanes[i] = mix(m_lanes[i], load(block + 8 * i));
}

void CContentDigest::add(QByteArrayView bytes)
{
    auto p = reinterpret_cast<const unsigned char*>(bytes.data());
    qsizetype left = bytes.size();
    m_total += uint64_t(left);
    if (m_pendingSize > 0) {
        const int take = int(qMin<qsizetype>(left, 32 - m_pendingSize));
        std::memcpy(m_pending + m_pendingSize, p, size_t(take));
        m_pendingSize += take;
        p += take;
        left -= take;
        if (m_pendingSize < 32)
            return;
        round(m_pending);
        m_pendingSize = 0;
    }
    for (; left >= 32; p += 32, left -= 32)
        round(p);
    std::memcpy(m_pending, p, size_t(left));
    m_pendingSize = int(left);
}

QByteArray CContentDigest::hex() const
{
    uint64_t h = rotl(m_lanes[0], 1) + rotl(m_lanes[1], 7) + rotl(m_lanes[2], 12) +
                 rotl(m_lanes[3], 18) + m_total;
    for (int i = 0; i < m_pendingSize; ++i)
        h = rotl(h ^ (m_pending[i] * kPrime3), 11) * kPrime1;
    h ^= h >> 33;
    h *= kPrime2;
    h ^= h >> 29;
    h *= kPrime3;
    h ^= h >> 32;
    return QByteArray::number(qulonglong(h), 16).rightJustified(16, '0');
}

QByteArray CContentDigest::of(QByteArrayView bytes)
{
    CContentDigest digest;
    digest.add(bytes);
    return digest.hex();
}
