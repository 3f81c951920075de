#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <functional>

// Decides when the preview draws, and what: the active document's page, read
// at the moment of drawing. An edit of the active document restarts a short
// quiet time; the page is drawn once it has passed, so typing never draws per
// key and the pane follows within a second of the last key. Another document
// becoming active is drawn at once. Nothing is read or drawn while the pane is
// hidden; showing it draws what changed meanwhile.
class CPreviewUpdater : public QObject
{
    Q_OBJECT

public:
    struct Page
    {
        QByteArray html; // the text as the editor holds it (UTF-8)
        QUrl url;        // the document's file URL; empty without a file
    };
    using Source = std::function<Page(QObject* document)>;

    static constexpr int kQuietMs = 500;

    explicit CPreviewUpdater(Source source, QObject* parent = nullptr, int quietMs = kQuietMs);

    // Whether the pane can be seen.
    void setShown(bool shown);
    // The document whose page the pane shows (nullptr: none).
    void setActiveDocument(QObject* document);
    // A document's text or file changed.
    void documentChanged(QObject* document);
    // Draws the active document again at once (the pane's settings changed).
    void redrawNow();

Q_SIGNALS:
    void drawPage(const QByteArray& html, const QUrl& url);
    void drawNoDocument();

private:
    void draw();

    Source m_source;
    QTimer m_quiet;
    QPointer<QObject> m_active;
    bool m_shown = false;
    bool m_stale = true; // the active document's page has changed since it was drawn
};
