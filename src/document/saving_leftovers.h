#pragma once

#include <QDateTime>
#include <QString>

#include <memory>
#include <vector>

class CInstanceLock;

// The copies a write in place (InPlaceWrite) leaves in the saving folder when
// a crash, a kill or a power cut ends it before it is done. Each is claimed
// (no other start takes it meanwhile) and its file compared with what the
// write was to put there.
namespace SavingLeftovers {

struct Leftover
{
    enum class State {
        Finished,  // the file holds the new bytes: the write got to its end
        Untouched, // the file holds its old bytes: the write never began
        Unknown,   // anything else: cut half-way, or changed since
        Missing,   // the file is gone
    };

    QString copy; // the old bytes
    QString file; // the file that was being written
    QDateTime started;
    State state = State::Unknown;
    std::shared_ptr<CInstanceLock> claim;
};

// Claims the copies in `folder` whose writes no longer run. Notes and copies
// whose write had not yet begun, or whose note cannot be read, go at once (the
// file was not touched).
std::vector<Leftover> claim(const QString& folder);

// Writes the old bytes back over the file (a save like any other) and removes
// the copy. False with the reason when that fails; the copy stays.
bool putBack(const Leftover& leftover, QString& reason);
// Removes the copy and its note.
void remove(const Leftover& leftover);

} // namespace SavingLeftovers
