#include "document/journal_pieces.h"

#include "document/journal_replay.h"

#include <new>

CJournalPieces::CJournalPieces(qint64 baseLength) : m_baseLength(baseLength), m_length(baseLength)
{
    if (baseLength > 0)
        m_pieces.push_back({false, 0, baseLength});
}

void CJournalPieces::seek(qint64 position)
{
    while (m_cursor > 0 && position < m_cursorStart) {
        --m_cursor;
        m_cursorStart -= m_pieces[m_cursor].length;
    }
    while (m_cursor < m_pieces.size() && position >= m_cursorStart + m_pieces[m_cursor].length) {
        m_cursorStart += m_pieces[m_cursor].length;
        ++m_cursor;
    }
}

size_t CJournalPieces::splitAt(qint64 position)
{
    seek(position);
    if (m_cursor == m_pieces.size() || position == m_cursorStart)
        return m_cursor;
    Piece& piece = m_pieces[m_cursor];
    const qint64 before = position - m_cursorStart;
    const Piece rest{piece.added, piece.start + before, piece.length - before};
    piece.length = before;
    m_pieces.insert(m_pieces.begin() + qsizetype(m_cursor) + 1, rest);
    ++m_cursor;
    m_cursorStart = position;
    return m_cursor;
}

bool CJournalPieces::insert(qint64 position, QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return true;
    const qint64 start = m_added.size();
    try {
        m_added.append(bytes);
        const size_t at = splitAt(position);
        Piece* previous = at > 0 ? &m_pieces[at - 1] : nullptr;
        if (previous && previous->added && previous->start + previous->length == start) {
            // Typing on: the bytes follow the previous piece's.
            previous->length += bytes.size();
            m_cursorStart += bytes.size();
        } else {
            m_pieces.insert(m_pieces.begin() + qsizetype(at), Piece{true, start, bytes.size()});
        }
    } catch (const std::bad_alloc&) {
        m_added.truncate(start);
        return false;
    }
    m_length += bytes.size();
    return true;
}

void CJournalPieces::remove(qint64 position, qint64 length)
{
    if (length <= 0)
        return;
    const size_t first = splitAt(position);
    const size_t end = splitAt(position + length);
    m_pieces.erase(m_pieces.begin() + qsizetype(first), m_pieces.begin() + qsizetype(end));
    m_cursor = first;
    m_cursorStart = position;
    m_length -= length;
}

bool CJournalPieces::isUnchanged() const
{
    if (m_pieces.empty())
        return m_baseLength == 0;
    const Piece& only = m_pieces.front();
    return m_pieces.size() == 1 && !only.added && only.start == 0 && only.length == m_baseLength;
}

bool CJournalPieces::applyTo(JournalReplay::EditTarget& target) const
{
    qint64 basePosition = 0; // the next base byte not yet kept or removed
    qint64 out = 0;          // where the target's text stands
    for (const Piece& piece : m_pieces) {
        if (piece.added) {
            if (!target.insertBytes(out, QByteArrayView(m_added).sliced(piece.start, piece.length)))
                return false;
        } else {
            if (piece.start > basePosition)
                target.removeBytes(out, piece.start - basePosition);
            basePosition = piece.start + piece.length;
        }
        out += piece.length;
    }
    if (basePosition < m_baseLength)
        target.removeBytes(out, m_baseLength - basePosition);
    return true;
}
