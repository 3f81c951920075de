#pragma once

#include <QByteArrayView>

class QsciScintillaBase;

// Reading the control's text where it lies, without copying it. A view is
// valid until the text next changes. The pointers come from the control as
// pointers, never through an integer narrower than one.
namespace ControlText {

// The whole text. The control first gathers it into one piece (moving its
// gap to the end, which costs once after each edit elsewhere).
QByteArrayView whole(const QsciScintillaBase& control);

// The text [start, end), both clamped to the text. The control gathers only
// this range into one piece, so reading near an edit stays cheap.
QByteArrayView range(const QsciScintillaBase& control, qint64 start, qint64 end);

} // namespace ControlText
