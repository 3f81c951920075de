#pragma once

#include "document/edit_journal.h"
#include "document/journal_writer.h"
#include "document/text_edit_observer.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>

class CDocumentText;
class CMyRichEditDoc;
class QThreadPool;

// Where and as whom a document's journal is written.
struct RecoveryJournalPlace
{
    QThreadPool* worker = nullptr; // runs one task at a time
    QString folder;                // the recovery folder, prepared
    QString name;                  // "<instance>-<serial>"
    QString instance;
    qint64 pid = 0;
    QString bootId;
    std::function<bool(QString* error)> prepare; // makes the folder ready, on the worker
};

// The recovery journal of one document (EditJournal): started at the first
// edit after the document was opened or saved, from that text, and kept up
// to date with every edit by a writer that never makes typing wait.
//
// The digest of the text the journal starts from is taken a piece per turn
// of the event loop once a text is loaded or saved, and finished at once
// should an edit come first. When the journal grows past a size in
// proportion to the text, or past a number of records, the text is copied
// once typing pauses, a piece per turn of the event loop, and the journal
// starts again from that copy; an edit meanwhile gives that copy up, and the
// journal simply goes on. Edits that could not be recorded (a write failed,
// recovery was switched on with changes already made) are made good the
// same way: the next copy starts a journal that holds them.
class CRecoveryJournal : public QObject, public CTextEditObserver
{
    Q_OBJECT

public:
    CRecoveryJournal(const RecoveryJournalPlace& place, CMyRichEditDoc* doc,
                     QObject* parent = nullptr);
    ~CRecoveryJournal() override;

    QString journalFile() const { return m_writer.file(); }

    void textChanging() override;
    void textInserted(qint64 position, QByteArrayView bytes) override;
    void textDeleting(qint64 position, qint64 length) override;
    void textLoaded() override;

    // The document was saved or its changes given up (false), or changed.
    void modifiedChanged(bool modified);
    // The document's file, encoding or line end changed.
    void fieldsChanged();
    // Stops keeping the journal and removes it (the document was closed, or
    // recovery was switched off).
    void discard();
    // Brings the journal up to date at once (copying the text when a copy is
    // due) and waits until it is written. False when nothing is kept for a
    // modified document, or a write failed.
    bool flush();

    // A journal grows to `fixedBytes` plus a `divisor`th of the text, or to
    // `records` records, before it is compacted after a pause of `pauseMs`.
    void setCompaction(qint64 fixedBytes, int divisor, qint64 records, int pauseMs);
    void setWriteDelay(int ms) { m_writer.setWriteDelay(ms); }
    // Pieces read per turn of the event loop, for the digest and the copy.
    void setPieceBytes(qint64 bytes) { m_pieceBytes = std::max<qint64>(1, bytes); }

    bool isRecording() const { return m_writer.isRecording(); }
    bool isCopying() const { return m_copy.has_value(); }

Q_SIGNALS:
    // A write failed (once per run of failures); for whoever reports it.
    void writeFailed(const QString& error);

private:
    struct Copy
    {
        QString file;
        qint64 length = 0;
        qint64 done = 0;
        EditJournal::TextDigest digest;
    };

    EditJournal::Fields fields() const;
    EditJournal::Header header() const;
    bool enabled();
    // Before an edit: whether it is to be recorded.
    bool recordEdit();
    void recorded();
    void restartDigest();
    void digestStep();
    bool finishDigest();
    void startCopy();
    void copyStep();
    void dropCopy();
    bool copyAll();

    RecoveryJournalPlace m_place;
    QPointer<CMyRichEditDoc> m_doc;
    CDocumentText* m_view;
    QPointer<QWidget> m_viewWidget; // whether m_view still lives
    CJournalWriter m_writer;
    // The base: the text as loaded or saved, while no edit has been lost.
    EditJournal::TextDigest m_digest;
    qint64 m_digested = 0;
    qint64 m_baseLength = -1; // -1: the digest is not finished
    QByteArray m_baseDigest;
    bool m_lost = false; // edits made that no journal holds: a copy is due
    QTimer m_digestTimer;
    // Compaction.
    std::optional<Copy> m_copy;
    int m_copies = 0;
    QTimer m_copyTimer;
    QTimer m_pause;
    bool m_copyDue = false;
    qint64 m_fixedBytes = 1 << 20;
    int m_divisor = 4;
    qint64 m_maxRecords = 100000;
    qint64 m_pieceBytes = 4 << 20;
    // The option, read again at most once a second.
    QElapsedTimer m_enabledRead;
    bool m_enabled = true;
    bool m_warned = false;
};
