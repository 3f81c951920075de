#include "editor/rules/text_search.h"

#include <cstring>

namespace TextSearch {
namespace {

char foldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

char otherCase(char c)
{
    if (c >= 'a' && c <= 'z')
        return static_cast<char>(c - 'a' + 'A');
    if (c >= 'A' && c <= 'Z')
        return static_cast<char>(c - 'A' + 'a');
    return c;
}

qint64 findExact(QByteArrayView haystack, QByteArrayView needle, qint64 from)
{
    const void* p = memmem(haystack.data() + from, static_cast<size_t>(haystack.size() - from),
                           needle.data(), static_cast<size_t>(needle.size()));
    return p ? static_cast<const char*>(p) - haystack.data() : -1;
}

const char* findByte(const char* from, const char* end, char c)
{
    const void* p =
        std::memchr(from, static_cast<unsigned char>(c), static_cast<size_t>(end - from));
    return p ? static_cast<const char*>(p) : end;
}

// Candidates are the positions holding the first letter in either case,
// found with memchr. The text is scanned in windows that grow from a small
// size, so that looking for the rarer spelling never runs far beyond the
// match: a replace-all runs one search per match.
qint64 findFolded(QByteArrayView haystack, QByteArrayView needle, qint64 from)
{
    const char first = needle.front();
    const char second = otherCase(first);
    const QByteArrayView rest = needle.sliced(1);
    const char* const begin = haystack.data();
    const char* const last = begin + haystack.size() - needle.size() + 1; // candidates below
    qint64 window = 256;
    for (const char* p = begin + from; p < last; window = qMin<qint64>(window * 2, 1 << 20)) {
        const char* const end = last - p > window ? p + window : last;
        const char* nextFirst = findByte(p, end, first);
        const char* nextSecond = second == first ? end : findByte(p, end, second);
        while (nextFirst < end || nextSecond < end) {
            const char* candidate = qMin(nextFirst, nextSecond);
            if (equalFoldingAscii(QByteArrayView(candidate + 1, rest.size()), rest))
                return candidate - begin;
            if (candidate == nextFirst)
                nextFirst = findByte(candidate + 1, end, first);
            else
                nextSecond = findByte(candidate + 1, end, second);
        }
        p = end;
    }
    return -1;
}

} // namespace

qint64 find(QByteArrayView haystack, QByteArrayView needle, bool matchCase, qint64 from)
{
    if (needle.isEmpty() || from < 0 || haystack.size() - from < needle.size())
        return -1;
    return matchCase ? findExact(haystack, needle, from) : findFolded(haystack, needle, from);
}

bool equalFoldingAscii(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && foldAscii(a[i]) != foldAscii(b[i]))
            return false;
    }
    return true;
}

bool isAscii(QByteArrayView text)
{
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

} // namespace TextSearch
