#pragma once

#include "document/document_text.h"
#include "document/edit_journal.h"
#include "document/journal_replay.h"

#include <QByteArray>
#include <QString>

// A journal left by an earlier run, as the next start finds it.
struct CFoundJournal
{
    QString file;                 // the journal's path
    QByteArray bytes;             // its bytes, which the records refer to
    EditJournal::Reading reading; // its header and the records that can be trusted
    bool unchanged = false;       // its edits lead back to its base: nothing to restore

    // Reads the journal at `file`; a file that cannot be read is damaged.
    static CFoundJournal read(const QString& file);

    // Whether its records can be restored as a whole; otherwise only the
    // trusted ones can, as a partial text (when there is a header).
    bool isWhole() const { return reading.isWhole(); }
    bool hasPart() const
    {
        return reading.hasHeader && reading.fault != EditJournal::Fault::NewVersion;
    }

    // The texts the edits may start from, in the order they are tried: the
    // compacted copy named in the header (beside the journal), then the
    // document's own file, read as opening it does, or decoded as the
    // journal records when the user had chosen another encoding.
    QList<JournalReplay::BaseLoader> bases() const;
    // Restores the trusted records into `target` from the first base that
    // matches the journal's digest.
    JournalReplay::Outcome restore(JournalReplay::EditTarget& target) const;
    // The same into a view, as a text loaded (not edits); the view is left
    // empty unless restored.
    JournalReplay::Outcome restoreInto(CDocumentText& view) const;
};
