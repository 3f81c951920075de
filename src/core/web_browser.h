#pragma once

#include <QStringList>
#include <QUrl>
#include <functional>

// Starts the web browser on a page. The desktop's handler for a file's type
// may be an editor (Marquill itself is one for HTML), so pages that must show
// in a browser go to the browser Debian's sensible-browser picks: the user's
// $BROWSER, else the system's x-www-browser. Without either, the desktop's
// handler opens the page.
namespace WebBrowser {

// Where a page goes: a program started with the page's address after its
// arguments, or, when program is empty, the desktop's handler.
struct Launcher
{
    QString program;
};

// The choice, from the environment's BROWSER and DISPLAY values and a lookup
// of programs on the search path (returning the full path, empty when absent).
Launcher choose(const QString& browserVariable, const QString& display,
                const std::function<QString(const QString&)>& findProgram);

// Hands url to the browser; false when nothing could be started.
bool open(const QUrl& url);

// Test hook: receives the pages instead of the browser; an empty function
// removes it.
void setHook(std::function<bool(const QUrl&)> hook);

} // namespace WebBrowser
