#pragma once

#include "document/edit_journal.h"
#include "document/journal_replay.h"

#include <QByteArray>
#include <QString>

#include <functional>

// A journal left by an earlier run, as the next start finds it.
struct FoundJournal
{
    QString file;                 // the journal's path
    QByteArray bytes;             // its bytes, which the records refer to
    EditJournal::Reading reading; // its header and the records that can be trusted
    bool unchanged = false;       // its edits lead back to its base: nothing to restore

    // Reads the journal at `file`; a file that cannot be read is damaged.
    static FoundJournal read(const QString& file);

    // Whether its records can be restored as a whole; otherwise only the
    // trusted ones can, as a partial text (when there is a header).
    bool isWhole() const { return reading.isWhole(); }
    bool hasPart() const
    {
        return reading.hasHeader && reading.fault != EditJournal::Fault::NewVersion;
    }

    // Reads a document's file as opening it does, into the sink.
    using FileReader = std::function<bool(const QString& path, TextSink& sink)>;
    // The texts the edits may start from, in the order they are tried: the
    // compacted copy named in the header (beside the journal), then the
    // document's own file.
    QList<JournalReplay::BaseLoader> bases(const FileReader& readFile) const;
    // Restores the trusted records into `target` from the first base that
    // matches the journal's digest.
    JournalReplay::Outcome restore(JournalReplay::EditTarget& target,
                                   const FileReader& readFile) const;
};
