#pragma once

#include <QString>

class QFontMetrics;

// The text of a message box made to fit the screen: a file path too wide for
// the given width is cut in the middle ("/home/…/name.htm"), so that its
// start and its file name still show. Other text is left to wrap.
namespace MessageText {

// A path is a run of text without blanks that holds a "/"; each one wider
// than `width` pixels in `metrics` is shortened to that width.
QString fitted(const QString& text, const QFontMetrics& metrics, int width);

} // namespace MessageText
