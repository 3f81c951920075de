#include "editor/rules/tag_scan.h"

#include <algorithm>

namespace TagScan {

StyleRunWriter::StyleRunWriter(qint64 start, Flush flush, qint64 pieceSize)
    : m_flush(std::move(flush)), m_buffer(static_cast<size_t>(std::max<qint64>(pieceSize, 1))),
      m_bufferStart(start)
{
}

void StyleRunWriter::run(qint64 start, qint64 end, char style)
{
    if (start > position())
        put(start - position(), Default);
    if (end > start)
        put(end - start, style);
}

void StyleRunWriter::put(qint64 length, char style)
{
    while (length > 0) {
        const qint64 room = qint64(m_buffer.size() - m_used);
        const qint64 n = std::min(room, length);
        std::memset(m_buffer.data() + m_used, style, static_cast<size_t>(n));
        m_used += static_cast<size_t>(n);
        length -= n;
        if (m_used == m_buffer.size())
            flush();
    }
}

void StyleRunWriter::flush()
{
    if (m_used == 0)
        return;
    m_flush(m_bufferStart, m_buffer.data(), qint64(m_used));
    m_bufferStart += qint64(m_used);
    m_used = 0;
}

void styleRange(const char* text, qint64 length, const StyleRunWriter::Flush& flush)
{
    StyleRunWriter writer(0, flush);
    Scanner scanner;
    scanner.scan(text, 0, length, [&](qint64 s, qint64 e, char style) { writer.run(s, e, style); });
    writer.fillTo(length);
    writer.flush();
}

} // namespace TagScan
