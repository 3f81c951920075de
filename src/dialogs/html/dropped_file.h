#pragma once

#include "dialogs/html/image_size.h"

#include <QString>

// The HTML put into a document for a file dropped on it: a GIF or JPEG file
// becomes an image, any other file a link around the selection. The file is
// referred to relative to the document's folder, or by its full path in a
// document that has none yet.
namespace DroppedFile {

// Whether the file is inserted as an image: its name ends in ".gif", ".jpg"
// or ".jpeg", in any case.
bool isImage(const QString& path);

// The reference to the file from a document in documentFolder (empty for an
// untitled document).
QString reference(const QString& path, const QString& documentFolder);

// The image tag: source, the name without its extension as alternative
// text, and the size when the reading has one.
QString imageTag(const QString& path, const QString& documentFolder,
                 const ImageSize::Reading& size);

// The start tag of the link ("</A>" ends it).
QString linkStart(const QString& path, const QString& documentFolder);

} // namespace DroppedFile
