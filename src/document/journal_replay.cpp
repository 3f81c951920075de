#include "document/journal_replay.h"

#include "document/journal_pieces.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <new>

namespace JournalReplay {
namespace {

constexpr qint64 kMinGap = 4096;
constexpr qint64 kMaxGap = 16 << 20;

// Passes a base on to the target, taking its digest and length on the way.
class DigestSink : public CTextSink
{
public:
    explicit DigestSink(EditTarget& target) : m_target(target) {}

    bool beginText(qint64 size) override
    {
        m_digest.reset();
        m_length = 0;
        if (m_target.beginText(size))
            return true;
        m_noRoom = true;
        return false;
    }
    bool appendText(QByteArrayView piece) override
    {
        m_digest.add(piece);
        m_length += piece.size();
        if (m_target.appendText(piece))
            return true;
        m_noRoom = true;
        return false;
    }

    bool matches(const EditJournal::Header& header) const
    {
        return m_length == header.baseLength && m_target.length() == header.baseLength &&
               m_digest.result() == header.baseDigest;
    }
    bool noRoom() const { return m_noRoom; }

private:
    EditTarget& m_target;
    EditJournal::TextDigest m_digest;
    qint64 m_length = 0;
    bool m_noRoom = false;
};

} // namespace

bool GapText::beginText(qint64 size)
{
    m_buffer = QByteArray();
    m_gapStart = 0;
    m_gapLength = 0;
    try {
        m_buffer.reserve(size);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool GapText::appendText(QByteArrayView piece)
{
    // While the base comes in, the gap stays empty at the end.
    try {
        m_buffer.append(piece);
    } catch (const std::bad_alloc&) {
        return false;
    }
    m_gapStart = m_buffer.size();
    return true;
}

bool GapText::growGap(qint64 needed)
{
    if (m_gapLength >= needed)
        return true;
    const qint64 gap = std::max({needed, kMinGap, std::min(length() / 16, kMaxGap)});
    const qint64 oldSize = m_buffer.size();
    const qint64 tail = oldSize - m_gapStart - m_gapLength;
    try {
        m_buffer.resize(oldSize + gap - m_gapLength);
    } catch (const std::bad_alloc&) {
        return false;
    }
    char* data = m_buffer.data();
    std::memmove(data + m_buffer.size() - tail, data + oldSize - tail, size_t(tail));
    m_gapLength = gap;
    return true;
}

void GapText::moveGap(qint64 position)
{
    char* data = m_buffer.data();
    if (position < m_gapStart) {
        const qint64 moved = m_gapStart - position;
        std::memmove(data + position + m_gapLength, data + position, size_t(moved));
    } else if (position > m_gapStart) {
        const qint64 moved = position - m_gapStart;
        std::memmove(data + m_gapStart, data + m_gapStart + m_gapLength, size_t(moved));
    }
    m_gapStart = position;
}

bool GapText::insertBytes(qint64 position, QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return true;
    if (!growGap(bytes.size()))
        return false;
    moveGap(position);
    std::memcpy(m_buffer.data() + m_gapStart, bytes.data(), size_t(bytes.size()));
    m_gapStart += bytes.size();
    m_gapLength -= bytes.size();
    return true;
}

void GapText::removeBytes(qint64 position, qint64 length)
{
    if (length <= 0)
        return;
    moveGap(position);
    m_gapLength += length;
}

QByteArray GapText::take()
{
    if (m_gapLength > 0) {
        moveGap(length());
        m_buffer.truncate(length());
    }
    m_gapStart = 0;
    m_gapLength = 0;
    return std::exchange(m_buffer, QByteArray());
}

Outcome restore(const EditJournal::Reading& journal, QByteArrayView journalBytes,
                const QList<BaseLoader>& bases, EditTarget& target)
{
    using EditJournal::Record;
    CJournalPieces pieces(journal.header.baseLength);
    for (const Record& record : journal.records) {
        if (record.kind == Record::Insert) {
            if (!pieces.insert(record.position, journalBytes.sliced(record.payload, record.length)))
                return Outcome::NoRoom;
        } else if (record.kind == Record::Delete) {
            pieces.remove(record.position, record.length);
        }
    }
    bool noRoom = false;
    for (const BaseLoader& load : bases) {
        DigestSink sink(target);
        const bool loaded = load(sink);
        if (loaded && sink.matches(journal.header))
            return pieces.applyTo(target) ? Outcome::Restored : Outcome::NoRoom;
        noRoom = noRoom || sink.noRoom();
    }
    return noRoom ? Outcome::NoRoom : Outcome::BaseMismatch;
}

BaseLoader bytesBase(const QByteArray& text)
{
    return [text](CTextSink& sink) {
        if (!sink.beginText(text.size()))
            return false;
        for (qint64 at = 0; at < text.size(); at += TextReader::kPieceSize) {
            if (!sink.appendText(QByteArrayView(text).sliced(
                    at, std::min<qint64>(TextReader::kPieceSize, text.size() - at))))
                return false;
        }
        return true;
    };
}

BaseLoader fileBase(const QString& path)
{
    return [path](CTextSink& sink) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || !sink.beginText(file.size()))
            return false;
        QByteArray piece;
        while (!file.atEnd()) {
            try {
                piece.resize(std::min<qint64>(TextReader::kPieceSize, file.size() - file.pos()));
            } catch (const std::bad_alloc&) {
                return false;
            }
            const qint64 n = file.read(piece.data(), piece.size());
            if (n <= 0 || !sink.appendText(QByteArrayView(piece).first(n)))
                return false;
        }
        return file.error() == QFileDevice::NoError;
    };
}

} // namespace JournalReplay
