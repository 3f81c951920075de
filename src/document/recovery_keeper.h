#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QThreadPool>

#include <memory>

class CMyRichEditDoc;
class CRecoveryFolder;
class CRecoveryJournal;

// Keeps a journal of the unsaved edits of every watched document
// (CRecoveryJournal), so that a crash, a kill or a power cut loses at most
// the last moment of typing. The journals are written on one worker thread,
// so typing never waits for the disk; a journal goes when its document is
// saved, closed or its changes are given up, and all of this instance's
// files go when the keeper ends (a normal quit). A write that fails is
// tried again later and never disturbs editing. The option "Recovery" (key
// "Options", default 1) turns the journals off.
class CRecoveryKeeper : public QObject
{
    Q_OBJECT

public:
    // Journals go to `folder` under a new instance id.
    explicit CRecoveryKeeper(const QString& folder, QObject* parent = nullptr);
    // Waits for the writes under way, then removes this instance's files.
    ~CRecoveryKeeper() override;

    QString folder() const { return m_folderPath; }
    QString instance() const { return m_instance; }

    // Starts keeping a journal of `doc` until it is destroyed.
    void watch(CMyRichEditDoc* doc);
    // Brings every journal up to date at once and waits until it is
    // written. False when one of them could not be written.
    bool flush();

    // The longest time from an edit to the write of its record.
    void setWriteDelay(int ms);
    // When journals are compacted (CRecoveryJournal::setCompaction).
    void setCompaction(qint64 fixedBytes, int divisor, qint64 records, int pauseMs);
    // The journal of a watched document (tests and benchmarks).
    CRecoveryJournal* journalOf(const CMyRichEditDoc* doc) const;

    // Whether the option is on.
    static bool enabled();

Q_SIGNALS:
    // A journal could not be written; said once per run of failures.
    void writeFailed(CMyRichEditDoc* doc, const QString& error);

private:
    std::shared_ptr<CRecoveryFolder> m_folder; // used on the worker thread only
    QString m_folderPath;
    QString m_instance;
    QString m_bootId;
    QThreadPool m_worker;
    QHash<const CMyRichEditDoc*, CRecoveryJournal*> m_journals;
    int m_nextSerial = 1;
    int m_writeDelayMs = -1;
    struct Compaction
    {
        qint64 fixedBytes;
        int divisor;
        qint64 records;
        int pauseMs;
    };
    std::unique_ptr<Compaction> m_compaction;
};
