#include "dialogs/html/dropped_file.h"

#include "document/relative_reference.h"

#include <QFileInfo>

namespace DroppedFile {
namespace {

// The length of the image extension the name ends in; 0 for other files.
int imageExtensionLength(const QString& path)
{
    const QString name = QFileInfo(path).fileName().toLower();
    if (name.endsWith(QLatin1String(".gif")) || name.endsWith(QLatin1String(".jpg")))
        return 4;
    if (name.endsWith(QLatin1String(".jpeg")))
        return 5;
    return 0;
}

} // namespace

bool isImage(const QString& path)
{
    return imageExtensionLength(path) > 0;
}

QString reference(const QString& path, const QString& documentFolder)
{
    if (documentFolder.isEmpty())
        return path;
    const QString relative = relativeReference(documentFolder, path);
    return relative.isEmpty() ? path : relative;
}

QString imageTag(const QString& path, const QString& documentFolder, const ImageSize::Reading& size)
{
    const QString name = QFileInfo(path).fileName();
    const QString alt = name.left(name.size() - imageExtensionLength(path));
    QString tag =
        QStringLiteral("<IMG SRC=\"%1\" ALT=\"%2\"").arg(reference(path, documentFolder), alt);
    if (size.hasSize)
        tag += QStringLiteral(" WIDTH=%1 HEIGHT=%2").arg(size.width).arg(size.height);
    return tag + QLatin1Char('>');
}

QString linkStart(const QString& path, const QString& documentFolder)
{
    return QStringLiteral("<A HREF=\"%1\">").arg(reference(path, documentFolder));
}

} // namespace DroppedFile
