#pragma once

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
// that the user decides whether to save. Declining removes the copies only
// after a second confirmation; otherwise they wait for the next start. A
// copy that is cut short or damaged is reported and left aside, never
// restored in part.
class CRecoveryOffer
{
public:
    // Opens one recovered document; false when it could not be opened.
    using Restore = std::function<bool(const RecoveryCopy::Copy&)>;

    CRecoveryOffer(CRecoveryKeeper& keeper, QWidget* parent, Restore restore);
    // A normal end: copies kept back because their restored documents had no
    // copy of their own yet are removed now.
    ~CRecoveryOffer();

    void run();

    // The name a damaged copy is left aside under.
    static QString asideName(const QString& file);

private:
    struct Found
    {
        RecoveryCopy::Copy copy;
        QString file;
        size_t claim; // index into m_claimed
    };
    struct Refused
    {
        QString file;
        RecoveryCopy::Fault fault;
    };
    void readCopies();
    QString question() const;
    QString refusedText() const;
    void restoreAll();
    void declined();

    CRecoveryKeeper& m_keeper;
    QWidget* m_parent;
    Restore m_restore;
    std::vector<CRecoveryFolder::Leftover> m_claimed;
    QList<Found> m_found;
    QList<Refused> m_refused;
    std::vector<CRecoveryFolder::Leftover> m_kept; // removed at a normal end
};
