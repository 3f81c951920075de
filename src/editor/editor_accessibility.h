#pragma once

// QScintilla's accessibility support counts the characters from the start of
// the document on every change and caret move, whether or not a screen reader
// listens. This installs, once, an accessibility interface for the editor
// that answers from byte positions of the current line instead, so typing
// stays independent of the document's size.
namespace EditorAccessibility {
void install();
}
