#pragma once

#include "core/command_target.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class CDocumentText;
class QWidget;

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

    // The view holding the text, set once before anything is loaded.
    CDocumentText* view() const { return m_view; }
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
    // Writes the view's text to path (safely: a temporary file renamed over
    // the original). On success the path and title follow and the modified
    // flag is cleared; on failure nothing changes and errorMessage says why.
    virtual bool onSaveDocument(const QString& path, QString* errorMessage);

    // The name of an untitled document.
    static QString untitledName();
    // The legacy encoding the file is stored in (empty: the text's own bytes).
    QString encoding() const { return m_encoding; }
    // Stores the text in another encoding from the next save on (empty: UTF-8).
    void setEncoding(const QString& encoding) { m_encoding = encoding; }

Q_SIGNALS:
    void titleChanged(const QString& title);
    void pathChanged(const QString& path);
    // A file has been read into the view (onOpenDocument succeeded).
    void opened();

protected:
    void setPathName(const QString& path);

private:
    CDocumentText* m_view = nullptr;
    QString m_path;
    QString m_title;
    QString m_encoding; // legacy encoding of the file; empty: the bytes as they are
};
