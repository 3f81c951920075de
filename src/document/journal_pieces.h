#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

namespace JournalReplay {
class EditTarget;
}

// The text that a journal's edits make of their base, kept as a list of
// pieces: ranges of the base and ranges of the bytes inserted. Edits are
// found from the piece of the last edit, so that typing in one place costs
// what it changes. Since edits only insert bytes and remove ranges, the
// pieces of the base stay in their order, and the result can be carried out
// on the base in one pass from its start to its end: replaying a journal
// then costs the base's length once, however far apart its edits were.
class CJournalPieces
{
public:
    explicit CJournalPieces(qint64 baseLength);

    // Both expect a range within the text; false when the bytes cannot be held.
    bool insert(qint64 position, QByteArrayView bytes);
    void remove(qint64 position, qint64 length);
    qint64 length() const { return m_length; }
    // Whether the edits lead back to the base.
    bool isUnchanged() const;

    // Turns `target`, which holds the base, into the text: every removal and
    // insertion in the order of their positions. False when the target
    // cannot hold an insertion.
    bool applyTo(JournalReplay::EditTarget& target) const;

private:
    struct Piece
    {
        bool added;   // from the inserted bytes, else from the base
        qint64 start; // in the inserted bytes or in the base
        qint64 length;
    };

    // Makes a piece start at `position` (at most the text's length) and
    // returns its index; the cursor is left on it.
    size_t splitAt(qint64 position);
    // Moves the cursor to the piece holding `position` (or the end).
    void seek(qint64 position);

    std::vector<Piece> m_pieces;
    QByteArray m_added;
    qint64 m_baseLength;
    qint64 m_length;
    size_t m_cursor = 0;      // a piece index
    qint64 m_cursorStart = 0; // where that piece starts in the text
};
