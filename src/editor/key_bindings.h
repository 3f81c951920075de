#pragma once

class QsciScintilla;

// The control's own key bindings.
namespace KeyBindings {

// QScintilla binds many keys of its own (line cut, duplicate, case changes,
// redo, ...) that would swallow the program's accelerators. Keep only the
// ordinary editing and caret keys, and leave every accelerator to the
// accelerator table.
void keepEditingKeysOnly(QsciScintilla& control);

} // namespace KeyBindings
