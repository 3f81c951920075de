#pragma once

#include <QByteArray>
#include <QUrl>

// Internet shortcut files (".url": an INI file whose [InternetShortcut]
// section holds the address as URL=...), such as the home-page file
// "marquill.url" shipped with the program.
namespace InternetShortcut {

// The web address (http or https) of a shortcut file's contents; an empty
// URL when the file names none. Only the first URL= line of the
// [InternetShortcut] section counts; section and key names ignore case.
QUrl address(const QByteArray& contents);

} // namespace InternetShortcut
