#pragma once

#include "core/command_target.h"
#include "document/disk_state.h"
#include "document/document_file.h"
#include "document/found_journal.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

class CDocumentText;

// A document whose text lives in its one view. It knows its file (path and
// title), its text encoding on disk, and delegates the modified state to the
// view's own flag. Loading and saving go through the document file layer;
// failures come back as messages for the caller to show.
class CMyRichEditDoc : public QObject, public CCommandTarget
{
    Q_OBJECT

public:
    explicit CMyRichEditDoc(QObject* parent = nullptr);
    ~CMyRichEditDoc() override;

    // The document base carries no commands of its own.
    const CCommandMap& commandMap() const override;

    // The view holding the text, set once before anything is loaded; null
    // once its window is gone (a document that could not be read outlives
    // its window for a while).
    CDocumentText* view() const { return m_viewWidget ? m_view : nullptr; }
    void setView(CDocumentText* view);
    // The widget showing the text: the parent of the document's messages.
    QWidget* viewWidget() const;

    // Full path of the file; empty for an untitled document.
    QString pathName() const { return m_path; }
    // The document's folder: its path up to and including the last separator;
    // empty for an untitled document.
    QString folder() const;
    // File name, or "無題"; followed by " *" while modified.
    QString title() const { return m_title; }
    // The title without the mark " *" it carries while modified.
    QString titleWithoutMark() const;
    void setTitle(const QString& title);

    bool isModified() const;
    virtual void setModifiedFlag(bool modified);
    // Called by the view on every edit of the text (not on loading): marks
    // the document modified.
    void noteTextEdited();

    // Creates an empty document. Returns false on failure.
    virtual bool onNewDocument();
    // Loads path into the view. On failure returns false and sets errorMessage.
    virtual bool onOpenDocument(const QString& path, QString* errorMessage);
    // Puts back unsaved work kept from an earlier run: the text with its
    // encoding, the file it belongs to (empty: untitled), the line end typing
    // inserts and the UTF-8 characters the file held (savedUtf8Characters).
    // The file itself is not read; the document is left modified, so that
    // the user decides whether to save. False when the text cannot be held.
    bool onRecoverDocument(const DocumentFile::Text& text, const QString& path,
                           const QByteArray& lineEnd, const QByteArray& savedUtf8Characters);
    // The same from a journal an earlier run left: its base and its trusted
    // edits, with the file, encoding and line end it records last. A
    // partial text (a damaged journal's) is restored untitled, so that it
    // is never saved over the file without the user choosing to.
    JournalReplay::Outcome onRecoverJournal(const CFoundJournal& journal, bool partial);
    // Writes the view's text to path (safely: a temporary file renamed over
    // the original), encoded once in the document's encoding. On success the
    // path and title follow and the modified flag is cleared; on failure
    // nothing changes and errorMessage says why.
    virtual bool onSaveDocument(const QString& path, QString* errorMessage);

    // The name of an untitled document.
    static QString untitledName();
    // The encoding the file is stored in (empty: the text's own bytes).
    QString encoding() const { return m_encoding; }
    // Stores the text in another encoding from the next save on (empty: the
    // text's own bytes, UTF-8, or with unconverted set the file's own bytes).
    void setEncoding(const QString& encoding, bool unconverted = false);
    // Whether the text is the file's own bytes, which are not UTF-8 and which
    // no encoding reproduced: the file is open without conversion.
    bool isUnconverted() const { return m_unconverted; }
    // The encoding as the user sees it: its name, "UTF-8", or "変換なし".
    QString encodingLabel() const;
    // Whether saving the text as it stands would write UTF-8 characters into
    // an unconverted file that did not hold them when it was read or saved.
    bool wouldMixInUtf8() const;
    // The UTF-8 characters an unconverted text held when it was read or last
    // saved (TextDecoding::utf8Characters); empty for a converted text.
    QByteArray savedUtf8Characters() const { return m_savedUtf8Characters; }
    // Reads the file again, decoded in encoding (a name of the short list).
    // On failure nothing changes and errorMessage says why.
    bool reloadAs(const QString& encoding, QString* errorMessage);
    // Reads the file again, recognised as opening recognises it. On failure
    // nothing changes and errorMessage says why.
    bool reload(QString* errorMessage);

    // How the file on disk changed since the document last read or wrote it.
    DiskChange diskChange() const { return ::diskChange(m_diskState, DiskState::of(m_path)); }
    // The file's state as the document read or wrote it last.
    const DiskState& knownDiskState() const { return m_diskState; }
    // Takes the file's state now as the one the document holds (after the user
    // chose to keep the document's text over a change on disk, it stays as it
    // was: a later save still asks).
    void recordDiskState();

Q_SIGNALS:
    void titleChanged(const QString& title);
    void pathChanged(const QString& path);
    // A file has been read into the view (onOpenDocument succeeded), or
    // recovered text put into it.
    void opened();
    // The encoding or the unconverted state changed.
    void encodingChanged();
    // The text changed (every edit, not loading).
    void edited();
    // The modified flag was set or cleared.
    void modifiedChanged(bool modified);
    // The document has read or written its file (recordDiskState).
    void diskStateRecorded();

protected:
    void setPathName(const QString& path);
    // The view's text as the file's bytes in the document's encoding (or in
    // `encoding`), made from the text in place: a text kept as it is is
    // shared, not copied, and is valid only until the text changes. False,
    // naming the first character that does not fit, when the encoding cannot
    // hold the text.
    bool encodeText(QByteArray& fileBytes, QString& badCharacter) const;
    bool encodeText(const QString& encoding, QByteArray& fileBytes, QString& badCharacter) const;
    // Writes bytes made by encodeText() to path; afterwards as onSaveDocument.
    bool saveBytes(const QString& path, const QByteArray& fileBytes, QString* errorMessage);

private:
    // Puts a decoded file's text into the view; false when it cannot be held.
    bool takeText(const DocumentFile::Text& text);
    // After a successful write: the new path and title, not modified.
    void savedTo(const QString& path);
    // Puts a text read again from the file in place of the view's; on failure
    // the text stays as it was.
    bool replaceText(const DocumentFile::Text& text, QString* errorMessage);

private:
    CDocumentText* m_view = nullptr;
    QPointer<QWidget> m_viewWidget; // whether m_view still lives
    QString m_path;
    QString m_title;
    QString m_encoding; // encoding of the file; empty: the bytes as they are
    bool m_unconverted = false;
    // The UTF-8 characters an unconverted text held when it was read or
    // last saved (TextDecoding::utf8Characters).
    QByteArray m_savedUtf8Characters;
    DiskState m_diskState;
};
