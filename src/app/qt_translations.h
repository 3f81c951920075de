#pragma once

// The texts Qt itself puts on screen (the buttons of message boxes, the file
// dialogs, the edit fields' menus) in Japanese, like the rest of the program.
namespace QtTranslations {

// Loads Qt's own Japanese translation into the running application, whatever
// the system's language. Returns false when the translation is not installed
// (Qt's English texts then stay). Call once, after the application object
// exists.
bool install();

} // namespace QtTranslations
