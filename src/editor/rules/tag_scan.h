#pragma once

#include <QtGlobal>

#include <cstring>
#include <functional>
#include <type_traits>
#include <vector>

// The tag colouring rule over bytes. A `<` opens a tag (a later `<` before the
// `>` moves the tag's start, leaving the earlier one as ordinary text); the
// `>` that follows closes it, and the tag from `<` to `>` takes the tag style.
// Inside a finished tag, double-quote characters pair up from the left and
// each pair with what lies between takes the quote style; an unpaired one
// stays in the tag style. A `>` outside a tag, comments, entities and script
// text get no special treatment.
namespace TagScan {

// Style numbers, shared with the view's styles.
enum Style : char { Default = 0, Tag = 1, Quote = 2 };

// Scans a text in consecutive pieces (so a long run can report progress and
// stop between pieces). The text pointer passed to every call must show the
// same bytes, since a tag begun in one piece is finished in a later one.
class Scanner
{
public:
    // Scans text[from, to), continuing the previous call's state. Calls
    // sink(start, end, style) for every tag or quote run finished in this
    // piece, in text order and without overlap; the runs between them keep
    // the default style.
    template <typename Sink> void scan(const char* text, qint64 from, qint64 to, Sink&& sink);
    // The same scan, reporting each finished tag whole: onTag(start, end)
    // for the tag text[start, end), from its `<` to its `>`. An onTag that
    // returns a bool ends the scan by returning false.
    template <typename OnTag>
    void scanTags(const char* text, qint64 from, qint64 to, OnTag&& onTag);

    // Positions before this can no longer change style: everything before a
    // pending `<`, or the end of the text scanned so far.
    qint64 settledUpTo(qint64 scannedTo) const { return m_inTag ? m_tagStart : scannedTo; }
    bool inTag() const { return m_inTag; }
    qint64 tagStart() const { return m_tagStart; }

private:
    template <typename Sink>
    static void emitTag(const char* text, qint64 start, qint64 end, Sink& sink);

    bool m_inTag = false;
    qint64 m_tagStart = 0;
};

// Last index of c in text[from, to), or -1.
inline qint64 lastIndexOf(const char* text, qint64 from, qint64 to, char c)
{
#if defined(__GLIBC__)
    const void* p = memrchr(text + from, c, static_cast<size_t>(to - from));
    return p ? static_cast<const char*>(p) - text : -1;
#else
    for (qint64 i = to - 1; i >= from; --i) {
        if (text[i] == c)
            return i;
    }
    return -1;
#endif
}

template <typename Sink> void Scanner::scan(const char* text, qint64 from, qint64 to, Sink&& sink)
{
    scanTags(text, from, to, [&](qint64 start, qint64 end) { emitTag(text, start, end, sink); });
}

template <typename OnTag>
void Scanner::scanTags(const char* text, qint64 from, qint64 to, OnTag&& onTag)
{
    qint64 i = from;
    while (i < to) {
        if (!m_inTag) {
            const void* lt = std::memchr(text + i, '<', static_cast<size_t>(to - i));
            if (!lt)
                return;
            m_inTag = true;
            m_tagStart = static_cast<const char*>(lt) - text;
            i = m_tagStart + 1;
            continue;
        }
        const void* gtp = std::memchr(text + i, '>', static_cast<size_t>(to - i));
        const qint64 gt = gtp ? static_cast<const char*>(gtp) - text : to;
        const qint64 later = lastIndexOf(text, i, gt, '<');
        if (later >= 0)
            m_tagStart = later;
        if (!gtp)
            return;
        m_inTag = false;
        i = gt + 1;
        if constexpr (std::is_same_v<decltype(onTag(qint64(), qint64())), bool>) {
            if (!onTag(m_tagStart, i))
                return;
        } else {
            onTag(m_tagStart, i);
        }
    }
}

template <typename Sink>
void Scanner::emitTag(const char* text, qint64 start, qint64 end, Sink& sink)
{
    qint64 pos = start;
    for (;;) {
        const void* q1 = std::memchr(text + pos, '"', static_cast<size_t>(end - pos));
        if (!q1)
            break;
        const qint64 open = static_cast<const char*>(q1) - text;
        const void* q2 = std::memchr(text + open + 1, '"', static_cast<size_t>(end - open - 1));
        if (!q2)
            break;
        const qint64 close = static_cast<const char*>(q2) - text;
        if (open > pos)
            sink(pos, open, Tag);
        sink(open, close + 1, Quote);
        pos = close + 1;
    }
    if (end > pos)
        sink(pos, end, Tag);
}

// Turns ordered style runs into consecutive style bytes, default where no run
// lies, handed out in pieces of at most a fixed size. Keeps memory bounded
// whatever the length of the styled text.
class StyleRunWriter
{
public:
    using Flush = std::function<void(qint64 start, const char* styles, qint64 length)>;

    StyleRunWriter(qint64 start, Flush flush, qint64 pieceSize = 64 * 1024);

    // A run [start, end) in the given style; runs come in text order and
    // start at or after position(). The gap before it is default.
    void run(qint64 start, qint64 end, char style);
    // Default style up to pos.
    void fillTo(qint64 pos) { run(pos, pos, Default); }
    // Hands out what is still buffered.
    void flush();
    // End of the styles written or buffered so far.
    qint64 position() const { return m_bufferStart + qint64(m_used); }

private:
    void put(qint64 length, char style);

    Flush m_flush;
    std::vector<char> m_buffer;
    size_t m_used = 0;
    qint64 m_bufferStart;
};

// Styles a whole range [0, length) of text at once: the runs of a finished
// scan of that text (a trailing unfinished tag stays default).
void styleRange(const char* text, qint64 length, const StyleRunWriter::Flush& flush);

} // namespace TagScan
