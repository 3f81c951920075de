#pragma once

// Whether the clipboard holds text, answered without asking the clipboard's
// owner each time: the answer is renewed only when the clipboard changes, so
// update handlers may ask as often as they like.
namespace ClipboardText {

bool available();

} // namespace ClipboardText
