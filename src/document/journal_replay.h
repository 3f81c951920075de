#pragma once

#include "document/edit_journal.h"
#include "document/text_reader.h"

#include <QByteArray>
#include <QList>

#include <functional>

// Puts a document's text back from its journal: the base text, checked
// against the journal's digest, then the journal's edits carried out on it.
// The journal is read whole before anything is restored (EditJournal::read),
// so that a journal that cannot be trusted is refused before any edit is
// made; only a caller that asks for the partial text gets the trusted
// records of a damaged journal.
namespace JournalReplay {

// A text the edits are carried out on: the restored document's text, which
// first receives its base through the CTextSink calls.
class EditTarget : public CTextSink
{
public:
    // False when the bytes cannot be held; the text is then as it was.
    virtual bool insertBytes(qint64 position, QByteArrayView bytes) = 0;
    virtual void removeBytes(qint64 position, qint64 length) = 0;
    virtual qint64 length() const = 0;
};

// A text in memory with a gap at the place of the last edit, so that edits
// from its start to its end cost the text's length once. Holds the text and a
// gap of at most a sixteenth of it.
class GapText : public EditTarget
{
public:
    bool beginText(qint64 size) override;
    bool appendText(QByteArrayView piece) override;
    bool insertBytes(qint64 position, QByteArrayView bytes) override;
    void removeBytes(qint64 position, qint64 length) override;
    qint64 length() const override { return m_buffer.size() - m_gapLength; }

    // The text, handed over; the object is left empty.
    QByteArray take();

private:
    void moveGap(qint64 position);
    bool growGap(qint64 needed);

    QByteArray m_buffer;
    qint64 m_gapStart = 0;
    qint64 m_gapLength = 0;
};

// Loads one candidate for the base text into the sink; false when it cannot
// be read (a missing file, a file that cannot be decoded).
using BaseLoader = std::function<bool(CTextSink& sink)>;

enum class Outcome {
    Restored,
    BaseMismatch, // no candidate holds the text the edits start from
    NoRoom,       // the text cannot be held
};

// Loads the first of `bases` whose text has the journal's digest into
// `target`, then carries out the records of `journal` (read from
// `journalBytes`) on it, in one pass from the start of the text to its end
// (CJournalPieces). The target's text is undefined unless Restored.
Outcome restore(const EditJournal::Reading& journal, QByteArrayView journalBytes,
                const QList<BaseLoader>& bases, EditTarget& target);

// The text of a base held in memory, as a candidate.
BaseLoader bytesBase(const QByteArray& text);
// The file at `path`, read as it is, in pieces, as a candidate: a compacted copy.
BaseLoader fileBase(const QString& path);

} // namespace JournalReplay
