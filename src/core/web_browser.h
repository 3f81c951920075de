#pragma once

#include <QStringList>
#include <QUrl>
#include <functional>

class QWidget;

// Starts a web browser on a page: the browser preview, the help guide and the
// home page. A page must never go to the desktop's handler for HTML files,
// which may be an editor (this one among them). The browser is, in this
// order:
// - the program the user named on the options sheet (Options::kBrowserProgram);
// - the desktop's default web browser, the handler of http addresses
//   (`xdg-mime query default x-scheme-handler/http` and its desktop entry),
//   unless that is this program or a text editor;
// - a program of $BROWSER (a list separated by ":", "%s" standing for the
//   page), the variable Debian's sensible-browser reads;
// - the system's x-www-browser, on a graphical display;
// - any installed web browser (a desktop entry of the category WebBrowser).
namespace WebBrowser {

// How a page is started: a program and its arguments, the page among them.
// Empty program: no browser was found, and message says so and what to set.
struct Launch
{
    QString program;
    QStringList arguments;
    QString message;
};

// The browser for url, looked up as listed above. Nothing is started.
Launch launchFor(const QUrl& url);

// Starts the browser on url; false, with the message for the user, when none
// is found or it cannot be started.
bool open(const QUrl& url, QString* message = nullptr);

// open(), telling the user (parent: the message box's parent) why a page
// could not be shown.
bool show(QWidget* parent, const QUrl& url);

// The arguments of a desktop entry's Exec value for url: quoting undone, the
// field codes for files and addresses replaced by url (the address appended
// when there is none), the others dropped.
QStringList execArguments(const QString& exec, const QUrl& url);

// Test hook: receives the pages instead of the browser; an empty function
// removes it.
void setHook(std::function<bool(const QUrl&)> hook);

} // namespace WebBrowser
