#pragma once

#include "document/edit_journal.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class QThreadPool;

// Writes one document's journal (EditJournal) as the user edits.
//
// Each edit only formats its record into memory on the calling thread. The
// first record after a write starts a short timer (later ones do not
// restart it, so steady typing cannot put the write off); when it fires the
// records go to the worker thread, which appends them to the file and
// syncs it to disk. Typing never waits for the disk: a kill loses at most
// the records of that moment, a power cut those the disk had not yet
// synced, both well within a second.
//
// A new journal is written to a temporary file, synced and renamed into
// place, so the file always starts with a whole header; a journal that
// starts from a compacted copy is put in place only once the copy is. When a
// write fails,
// the file is cut back to its last whole record, failed() is emitted and
// edits are no longer recorded until the journal is started again (from a
// new base, since the edits in between are lost to it).
class CJournalWriter : public QObject
{
    Q_OBJECT

public:
    // Writes `file` through `worker`, which runs one task at a time.
    CJournalWriter(QThreadPool& worker, const QString& file, QObject* parent = nullptr);
    // Closes the file; it stays on disk (discard() removes it).
    ~CJournalWriter() override;

    QString file() const { return m_file; }
    // Run on the worker before a journal or a copy is made (the folder made
    // and locked); a failure fails that write.
    void setPrepare(std::function<bool(QString* error)> prepare);

    // Starts the journal afresh from `header`, replacing any earlier one.
    void start(const EditJournal::Header& header);
    // Whether edits are being recorded: started, and no write has failed since.
    bool isRecording() const { return m_recording; }

    void insert(qint64 position, QByteArrayView bytes);
    void remove(qint64 position, qint64 length);
    void changeFields(const EditJournal::Fields& fields);

    // A compacted copy of the text, written in pieces on the worker thread:
    // beginCopy() names its file, addToCopy() appends each piece, and
    // finishCopy() puts it in place with a new journal starting from it
    // (`header` names it), recording on there. Should any step fail, the
    // present journal and its base stay, and recording goes on there, which
    // stays right since its edits lead to the same text. dropCopy() gives a
    // copy up.
    void beginCopy(const QString& file);
    void addToCopy(const QByteArray& piece);
    void finishCopy(const EditJournal::Header& header);
    void dropCopy();
    // The bytes handed to addToCopy() that the worker has not written yet.
    qint64 copyBytesQueued() const;

    // Removes the journal and its copy from disk and stops recording.
    void discard();
    // Writes and syncs what has been recorded, waiting until that is done.
    // False when the journal is not recording or a write has failed.
    bool flush();

    // The most time from an edit to the write of its record (milliseconds).
    void setWriteDelay(int ms) { m_timer.setInterval(ms); }
    int writeDelay() const { return m_timer.interval(); }

    // The journal's size in bytes and the records in it since it was started.
    qint64 size() const { return m_size; }
    qint64 recordCount() const { return m_records; }

    // The state shared with the worker thread.
    struct FileState;
    struct Link;

Q_SIGNALS:
    // The records recorded so far are about to go to the worker: the last
    // moment to record more with them.
    void aboutToWrite();
    // A write failed; the journal stops at its last whole record.
    void failed(const QString& error);

private:
    void recorded(qsizetype before);
    void submitPending();
    void writeFailed(quint64 generation, const QString& error);

    QThreadPool& m_worker;
    QString m_file;
    std::shared_ptr<FileState> m_state; // used on the worker thread only
    std::shared_ptr<Link> m_link;       // lets the worker's answers find this object
    QTimer m_timer;
    QByteArray m_pending;
    quint64 m_generation = 0;
    bool m_recording = false;
    qint64 m_size = 0;
    qint64 m_records = 0;
};
