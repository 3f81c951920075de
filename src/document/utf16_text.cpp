#include "document/utf16_text.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Length of the valid UTF-8 character starting at p (n bytes left) and its
// code point; 0 when no valid character starts there.
int decodeChar(const uchar* p, qint64 n, char32_t& codePoint)
{
    const uchar c = p[0];
    int length;
    char32_t minimum;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2, codePoint = c & 0x1F, minimum = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        length = 3, codePoint = c & 0x0F, minimum = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4, codePoint = c & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (n < length)
        return 0;
    for (int k = 1; k < length; ++k) {
        if ((p[k] & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (p[k] & 0x3F);
    }
    if (codePoint < minimum || (codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF)
        return 0;
    return length;
}

// Bytes and UTF-16 units of the character at p: (1, 1) for ASCII and for a
// byte that starts no valid character.
struct Step
{
    int bytes;
    int units;
};
Step stepAt(const uchar* p, qint64 n)
{
    if (p[0] < 0x80)
        return {1, 1};
    char32_t codePoint;
    const int length = decodeChar(p, n, codePoint);
    if (length == 0)
        return {1, 1};
    return {length, codePoint >= 0x10000 ? 2 : 1};
}

// Whether the 8 bytes at p are all ASCII.
bool asciiWord(const uchar* p)
{
    quint64 word;
    std::memcpy(&word, p, sizeof word);
    return (word & 0x8080808080808080ULL) == 0;
}

} // namespace

CUtf16Text::CUtf16Text(QByteArrayView utf8) : m_bytes(utf8), m_byteSize(utf8.size())
{
    const auto* p = reinterpret_cast<const uchar*>(utf8.data());
    const qint64 n = utf8.size();
    // A character never takes more UTF-16 units than bytes.
    m_text.resize(n);
    char16_t* out = reinterpret_cast<char16_t*>(m_text.data());
    m_marks.reserve(static_cast<size_t>(n / kStep + 2));
    qint64 i = 0;
    qsizetype u = 0;
    for (qint64 k = 0; i < n; ++k) {
        // The characters that start before limit belong to this stretch; the
        // last may reach past it, so the next mark lies at or after limit.
        const qint64 limit = qMin(n, (k + 1) * kStep);
        Mark mark{i, u, true};
        while (i < limit) {
            if (limit - i >= 8 && asciiWord(p + i)) {
                for (int b = 0; b < 8; ++b)
                    out[u + b] = p[i + b];
                i += 8;
                u += 8;
                continue;
            }
            const uchar c = p[i];
            if (c < 0x80) {
                out[u++] = c;
                ++i;
                continue;
            }
            mark.ascii = false;
            char32_t codePoint;
            const int length = decodeChar(p + i, n - i, codePoint);
            if (length == 0) {
                out[u++] = kReplacement;
                ++i;
            } else if (codePoint >= 0x10000) {
                out[u++] = static_cast<char16_t>(0xD7C0 + (codePoint >> 10));
                out[u++] = static_cast<char16_t>(0xDC00 | (codePoint & 0x3FF));
                i += length;
            } else {
                out[u++] = static_cast<char16_t>(codePoint);
                i += length;
            }
        }
        m_marks.push_back(mark);
    }
    m_marks.push_back({n, u, true});
    m_text.resize(u);
}

QString CUtf16Text::decode(QByteArrayView utf8)
{
    return CUtf16Text(utf8).m_text;
}

qint64 CUtf16Text::advance(QByteArrayView utf8, qint64 pos, qint64 count)
{
    const auto* p = reinterpret_cast<const uchar*>(utf8.data());
    pos = qBound<qint64>(0, pos, utf8.size());
    for (; count > 0 && pos < utf8.size(); --count)
        pos += stepAt(p + pos, utf8.size() - pos).bytes;
    return pos;
}

qsizetype CUtf16Text::indexOfByte(qint64 pos) const
{
    if (pos <= 0)
        return 0;
    if (pos >= m_byteSize)
        return m_text.size();
    const Mark& mark = m_marks[static_cast<size_t>(pos / kStep)];
    // A position before the mark lies inside a character begun in the
    // stretch before; the next character starts at the mark.
    if (pos <= mark.byte)
        return mark.index;
    if (mark.ascii)
        return mark.index + (pos - mark.byte);
    const auto* p = reinterpret_cast<const uchar*>(m_bytes.data());
    qint64 byte = mark.byte;
    qsizetype index = mark.index;
    while (byte < pos) {
        const Step step = stepAt(p + byte, m_byteSize - byte);
        byte += step.bytes;
        index += step.units;
    }
    return index;
}

qint64 CUtf16Text::byteOfIndex(qsizetype index) const
{
    if (index <= 0)
        return 0;
    if (index >= m_text.size())
        return m_byteSize;
    // The last mark at or before the index.
    auto after = std::upper_bound(m_marks.begin(), m_marks.end(), index,
                                  [](qsizetype i, const Mark& m) { return i < m.index; });
    const Mark& mark = *(after - 1);
    if (mark.ascii)
        return mark.byte + (index - mark.index);
    const auto* p = reinterpret_cast<const uchar*>(m_bytes.data());
    qint64 byte = mark.byte;
    qsizetype at = mark.index;
    for (;;) {
        const Step step = stepAt(p + byte, m_byteSize - byte);
        if (at + step.units > index)
            return byte;
        byte += step.bytes;
        at += step.units;
    }
}
