#pragma once

#include "document/found_journal.h"
#include "document/recovery_copy.h"
#include "document/recovery_folder.h"

#include <QList>
#include <QString>

#include <functional>
#include <vector>

class CRecoveryKeeper;
class QWidget;

// At start-up: the unsaved work left by instances that no longer run (a
// crash, a kill, a power cut). It asks once whether to restore it, listing
// the files, and opens what it restores in document windows, modified, so
// that the user decides whether to save. Declining removes the journals only
// after a second confirmation; otherwise they wait for the next start.
//
// A journal that is cut short or damaged is reported and kept aside, never
// restored in part; the edits before the damage are offered separately, as
// untitled documents. A journal whose base has changed since (its file
// edited elsewhere) is reported and kept aside too. A journal of a later
// version is left where it is, and so is a file too large to be read.
// Whole copies that an earlier version kept are offered like journals.
class CRecoveryOffer
{
public:
    // Opens a document from a journal (partial: only its trusted records,
    // untitled).
    using RestoreJournal = std::function<JournalReplay::Outcome(const CFoundJournal&, bool)>;
    // Opens a document from a copy; false when it could not be opened.
    using RestoreCopy = std::function<bool(const RecoveryCopy::Copy&)>;

    CRecoveryOffer(CRecoveryKeeper& keeper, QWidget* parent, RestoreJournal restoreJournal,
                   RestoreCopy restoreCopy);
    // A normal end: files kept back because their restored documents had no
    // journal of their own yet are removed now.
    ~CRecoveryOffer();

    void run();

    // The name a refused file is left aside under.
    static QString asideName(const QString& file);

private:
    struct Found
    {
        CFoundJournal journal; // a journal, unless its file is empty
        RecoveryCopy::Copy copy;
        QString file;
        size_t claim; // index into m_claimed
        QString name() const;
        QDateTime when() const;
    };
    struct Refused
    {
        QString file;
        QString reason;
    };
    void readFiles();
    void readJournal(size_t claim, const QString& file);
    bool keptTooLarge(size_t claim, const QString& file);
    void keepInPlace(size_t claim, const QString& file);
    QString question() const;
    static QString refusedText(const QList<Refused>& refused);
    void restoreAll();
    void declined();
    void offerParts();
    void putAside(const CFoundJournal& journal);

    CRecoveryKeeper& m_keeper;
    QWidget* m_parent;
    RestoreJournal m_restoreJournal;
    RestoreCopy m_restoreCopy;
    std::vector<CRecoveryFolder::Leftover> m_claimed;
    QList<Found> m_found;
    QList<Found> m_parts; // damaged journals with trusted edits
    QList<Refused> m_refused;
    QList<Refused> m_mismatched;
    std::vector<CRecoveryFolder::Leftover> m_kept; // removed at a normal end
};
