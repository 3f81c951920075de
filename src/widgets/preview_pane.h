#pragma once

#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <functional>

class CWebPreview;
class QLabel;
class QStackedLayout;

// The preview pane's content: the page drawn by the browser engine, or a
// sentence in its place (no document, or why the engine cannot draw). The
// engine is loaded the first time a page is to be drawn, never before, and
// not while a modal dialog is open: the engine gives the window a new native
// window, which would cover the dialog (a question at start-up) and leave
// it out of sight. The page then waits for the dialog to close.
class CPreviewPane : public QWidget
{
    Q_OBJECT

public:
    explicit CPreviewPane(QWidget* parent = nullptr);

    // Draws html (UTF-8) as the page at pageUrl, the document's file URL
    // (empty for a document without a file).
    void showPage(const QByteArray& html, const QUrl& pageUrl);
    // No page: the pane says there is no document.
    void showNoDocument();
    // Scripts and loads from the network, from the next page drawn on.
    void setTrusted(bool trusted);
    // Where a followed link goes; the web browser unless set otherwise.
    void setLinkHandler(std::function<void(const QUrl&)> handler);

    // The sentence shown instead of a page; empty while a page shows.
    QString message() const;
    // The engine's view once loaded, else nullptr.
    QWidget* pageView() const;

protected:
    bool event(QEvent* event) override;

private:
    bool ensureEngine();
    void showMessage(const QString& text);

    QStackedLayout* m_stack = nullptr;
    QLabel* m_message = nullptr;
    CWebPreview* m_preview = nullptr;
    bool m_triedEngine = false;
    QTimer m_waitForDialog; // the first page waits for a modal dialog to close
    QByteArray m_waitingHtml;
    QUrl m_waitingUrl;
    bool m_trusted = false;
    std::function<void(const QUrl&)> m_linkHandler;
};
