#pragma once

// Helpers shared by the fuzz targets. Each target defines
// LLVMFuzzerTestOneInput (and LLVMFuzzerInitialize where it needs Qt's
// application object); the same source is linked either with libFuzzer
// (scripts/fuzz.sh) or with replay_main.cpp, which feeds it the files of its
// corpus as an ordinary test. A broken rule aborts, so that both report it.

#include <QByteArray>
#include <QByteArrayView>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace Fuzz {

// Cuts a fuzz input into the values a target needs: small numbers from the
// front, then pieces separated by a 0xFF byte, then the rest.
class Input
{
public:
    Input(const uint8_t* data, size_t size)
        : m_bytes(reinterpret_cast<const char*>(data), qsizetype(size))
    {
    }

    // A number in [0, limit) from the next byte; 0 once the input is used up.
    int number(int limit)
    {
        if (m_pos >= m_bytes.size() || limit <= 0)
            return 0;
        return uint8_t(m_bytes[m_pos++]) % limit;
    }
    bool flag() { return number(2) == 1; }

    // The bytes up to the next 0xFF (which is passed over), or the rest.
    QByteArray piece()
    {
        const qsizetype end = m_bytes.indexOf('\xff', m_pos);
        const qsizetype stop = end < 0 ? m_bytes.size() : end;
        const QByteArray out = m_bytes.sliced(m_pos, stop - m_pos).toByteArray();
        m_pos = end < 0 ? m_bytes.size() : end + 1;
        return out;
    }
    QByteArray rest()
    {
        const QByteArray out = m_bytes.sliced(m_pos).toByteArray();
        m_pos = m_bytes.size();
        return out;
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
};

// Reports a broken rule with the input's values and stops.
[[noreturn]] inline void fail(const char* rule, const QByteArray& detail = QByteArray())
{
    std::fprintf(stderr, "rule broken: %s\n%s\n", rule, detail.toHex(' ').constData());
    std::abort();
}

} // namespace Fuzz

#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition))                                                                          \
            Fuzz::fail(#condition, detail);                                                        \
    } while (false)
