#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QtPlugin>
#include <functional>

class QWidget;

// A page view drawn by a browser engine. The engine (Qt WebEngine) lives in a
// plugin of its own that is loaded only when a preview is first shown
// (WebPreviewLoader), so the program never needs it to start.
class CWebPreview
{
public:
    virtual ~CWebPreview() = default;

    // The widget that shows the page; owned by the preview's parent widget.
    virtual QWidget* widget() = 0;

    // Draws html (UTF-8) as the page at pageUrl, the document's own file
    // (file:///...), so that relative links and images resolve against its
    // folder; an empty pageUrl for a page without a file. Drawing the same
    // pageUrl again keeps the place the view was scrolled to. Nothing is
    // written anywhere: the text is served from memory.
    virtual void showPage(const QByteArray& html, const QUrl& pageUrl) = 0;

    // Whether the page may run scripts and load from the network (off by
    // default: a page being written is not yet trusted). Takes effect from
    // the next showPage.
    virtual void setTrusted(bool trusted) = 0;

    // Receives the address of every link the user follows (file:/// for the
    // page's own files); the view itself never leaves the page.
    virtual void setLinkHandler(std::function<void(const QUrl&)> handler) = 0;

    // Receives a Japanese sentence saying why the page cannot be drawn (the
    // engine's page process could not start or died); an empty text once it
    // draws again.
    virtual void setFailureHandler(std::function<void(const QString&)> handler) = 0;
};

// What the plugin offers: one preview per call.
class CWebPreviewFactory
{
public:
    virtual ~CWebPreviewFactory() = default;
    // Why no preview can be made here (a part of the engine is missing), in
    // Japanese; empty when one can.
    virtual QString unavailable() const = 0;
    virtual CWebPreview* createPreview(QWidget* parent) = 0;
};

#define CWebPreviewFactory_iid "com.tollbury.Marquill.WebPreviewFactory/1"
Q_DECLARE_INTERFACE(CWebPreviewFactory, CWebPreviewFactory_iid)
