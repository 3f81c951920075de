#pragma once

#include "document/recovery_copy.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QThreadPool>

#include <memory>

class CMyRichEditDoc;
class CRecoveryFolder;
class CRecoveryDocumentCopy;

// Keeps a recovery copy of every watched document while it has unsaved
// changes, so that a crash, a kill or a power cut loses at most the last
// moment of typing.
//
// The first change after a copy was taken starts one short timer (it is
// not restarted by later changes, so steady typing cannot put the copy off).
// When it fires the text is copied out of the view on this thread, which is
// a plain memory copy, and written on a worker thread, so typing never waits
// for the disk. The text of a large document is not copied whole but read
// in pieces, one per turn of the event loop, each asked for once the worker
// has written the one before, so that only a piece at a time is held twice.
// A change while it is read drops that copy (the one on disk stays) and the
// copy is taken again later, whole when it is late by then. The copy goes when the document is
// saved, closed or its changes are given up, and all of this instance's copies go when the keeper
// ends (a normal quit). A write that fails is tried again later and is never reported while the
// user edits. The option "Recovery" (key "Options", default 1) turns the copies off.
class CRecoveryKeeper : public QObject
{
    Q_OBJECT

public:
    // Copies go to `folder` under a new instance id.
    explicit CRecoveryKeeper(const QString& folder, QObject* parent = nullptr);
    // Waits for the writes under way, then removes this instance's files.
    ~CRecoveryKeeper() override;

    QString folder() const;
    QString instance() const;

    // Starts keeping copies of `doc` until it is destroyed.
    void watch(CMyRichEditDoc* doc);
    // Takes the copies that are due now, without waiting for their timers,
    // and waits until every write has finished. False when one of them
    // could not be written.
    bool flush();

    // The longest time from a change to the start of its copy's write, and
    // the pause before a failed write is tried again (milliseconds).
    void setIntervals(int copyMs, int retryMs);
    int copyInterval() const { return m_copyMs; }
    int retryInterval() const { return m_retryMs; }
    // Texts longer than `threshold` bytes are read in pieces of `pieceBytes`.
    void setStreaming(qint64 threshold, qint64 pieceBytes);

    // Whether the option is on.
    static bool enabled();

    // Called back on this thread when a write has finished.
    void writeFinished(int serial, quint64 generation, bool ok, const QString& error);

    // A copy being written in pieces, as the worker thread sees it.
    struct StreamedWrite;
    enum class StreamStep { Begin, Piece, Commit, Drop };

Q_SIGNALS:
    // A copy has been written (ok) or failed; for whoever shows the state.
    void copyWritten(CMyRichEditDoc* doc, bool ok);
    // A copy read in pieces has `done` of its `total` bytes on their way.
    void copyProgress(CMyRichEditDoc* doc, qint64 done, qint64 total);

private:
    friend class CRecoveryDocumentCopy;
    // Signs a copy as this instance's.
    void stamp(RecoveryCopy::Copy& copy) const;
    // Queues a write of `copy` on the worker thread.
    void submitWrite(int serial, quint64 generation, RecoveryCopy::Copy copy);
    // Queues the removal of a copy behind the writes already queued.
    void submitRemoval(int serial);
    // Queues one step of a copy written in pieces; every step but Drop is
    // answered with streamStepDone(), on this thread.
    void submitStreamStep(int serial, quint64 stream, std::shared_ptr<StreamedWrite> write,
                          StreamStep step, QByteArray piece = QByteArray());
    void streamStepDone(int serial, quint64 stream, bool ok, const QString& error);

    std::shared_ptr<CRecoveryFolder> m_folder; // used on the worker thread only
    QString m_folderPath;
    QString m_instance;
    QString m_bootId;
    QThreadPool m_worker;
    QHash<int, CRecoveryDocumentCopy*> m_copies;
    int m_nextSerial = 1;
    int m_copyMs = 1000;
    int m_retryMs = 5000;
    qint64 m_streamThreshold = 8 * 1024 * 1024;
    qint64 m_pieceBytes = 4 * 1024 * 1024;
    bool m_warned = false;
};
