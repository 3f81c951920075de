#pragma once

class QWidget;

// The help menu's pages: the help guide shipped with the program and the
// home page named by the shortcut file "marquill.url". Both are looked for
// beside the program first, then in the installed data folder, and open in
// the desktop's browser.
namespace HelpMenu {

// Opens the guide's start page (help/index.html). A missing guide, or a
// browser that cannot be started, is reported in a message over parent.
// Returns whether the page was handed to the browser.
bool openGuide(QWidget* parent);

// Opens the web address of "marquill.url". A missing file, or one that names
// no web address, is reported in a message.
bool openHomePage(QWidget* parent);

} // namespace HelpMenu
